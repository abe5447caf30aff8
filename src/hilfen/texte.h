#pragma once

#include <QByteArray>
#include <QString>

// String helpers that take received lines apart. Positions are 1-based.
QString LeftStr(const QString &s, int n);
QString RightStr(const QString &s, int n);
QString MidStr(const QString &s, int i, int n);

// Removes blanks and control characters from both ends.
QString TrimSteuerzeichen(const QString &s);

// A text for a message box: at most maxChars characters, a longer text cut
// (never inside a character) and ended with "…". Laying out a box of a
// megabyte of text would hold the interface for seconds.
QString MeldungKuerzen(const QString &text, qsizetype maxChars = 2000);

// The first maxChars characters of UTF-8 text, never splitting a character;
// bytes that are not valid UTF-8 count as one character each, so other 8-bit
// text is kept byte for byte.
QByteArray Utf8Kuerzen(const QByteArray &text, int maxChars);
