#pragma once

class QEventLoop;

// Runs schleife until the descriptor fd can be written to or someone else
// quits the loop. Window events, timers and the hand-overs of the reader
// threads are served meanwhile; the CPU stays idle.
void warteBisSchreibbar(int fd, QEventLoop &schleife);
