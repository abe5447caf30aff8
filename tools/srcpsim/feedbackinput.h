#pragma once

#include <QByteArray>
#include <optional>

// Turns a line typed on standard input into the line sent to the feedback
// clients:
//   "18 1"            -> "INFO FB S88 18 1"   (contact, value)
//   "* 0100"          -> "INFO FB S88 * 0100" (one digit per contact from 1)
//   "INFO ..."        -> sent as typed
// Anything else gives nullopt and `why` says what was wrong; an empty line
// gives nullopt with an empty `why`.
std::optional<QByteArray> feedbackLineFromInput(const QByteArray &typed, QByteArray *why);
