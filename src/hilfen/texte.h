#pragma once

#include <QByteArray>
#include <QString>

// String helpers that take received lines apart. Positions are 1-based.
QString LeftStr(const QString &s, int n);
QString RightStr(const QString &s, int n);
QString MidStr(const QString &s, int i, int n);

// Removes blanks and control characters from both ends.
QString TrimSteuerzeichen(const QString &s);

// The text with every control character (line breaks, tabs, DEL, …)
// replaced by a blank: a text that goes into one line of a data file never
// breaks it into two. The bytes of UTF-8 and other 8-bit text stay as they
// are.
QByteArray Einzeilig(QByteArray text);

// A text to show: at most maxChars characters, a longer text cut (never
// inside a character) and ended with "…". Laying out a megabyte of text
// would hold the interface for seconds.
QString AnzeigeKuerzen(const QString &text, qsizetype maxChars);
// The most a message box shows of a text.
constexpr qsizetype MeldungZeichen = 2000;
// The most the status bar and the protocol log show of a received line;
// SRCP lines are far shorter, and 5000 logged lines stay a few megabytes.
constexpr qsizetype ZeilenZeichen = 1000;

// The first maxChars characters of UTF-8 text, never splitting a character;
// bytes that are not valid UTF-8 count as one character each, so other 8-bit
// text is kept byte for byte.
QByteArray Utf8Kuerzen(const QByteArray &text, int maxChars);
