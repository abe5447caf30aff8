#pragma once

class QEventLoop;

// Runs schleife until the descriptor fd can be written to or someone else
// quits the loop. Window events, timers and the hand-overs of the reader
// threads are served meanwhile; the CPU stays idle. False when the loop could
// not run because the application is quitting: the caller must give up
// instead of waiting again, or it would spin.
bool warteBisSchreibbar(int fd, QEventLoop &schleife);
