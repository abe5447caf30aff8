#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <optional>

// Feedback typed on standard input or made by the demo train.
struct FeedbackInput
{
    // Not empty: a line to send to the clients exactly as typed.
    QByteArray asTyped;
    // (contact, value) pairs, in order.
    QList<QPair<int, int>> contacts;
    // The contacts came from "* <digits>", one digit per contact from 1.
    bool allFromFirst = false;
};

// Reads a line typed on standard input:
//   "18 1"            contact 18, value 1
//   "* 0100"          contacts 1 to 4 (allFromFirst)
//   "INFO ..."        as typed
//   "<t> ..."         as typed, when stampedAsTyped (for SRCP 0.8 info
//                     sessions): a first word of digits, a dot and digits
// Anything else gives nullopt and `why` says what was wrong; an empty line
// gives nullopt with an empty `why`.
std::optional<FeedbackInput> feedbackFromInput(const QByteArray &typed, bool stampedAsTyped, QByteArray *why);

// The SRCP 0.7.3 feedback port line: "INFO FB S88 18 1", "INFO FB S88 * 0100",
// or the line as typed.
QByteArray s88Line(const FeedbackInput &input);
