#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Cuts a byte stream into lines ended by "\n" or "\r\n". A line longer than
// MaxLine bytes (a carriage return before the line feed counts) is handed on
// as its first MaxLine bytes, and the rest of it, up to the next line feed,
// is thrown away, so a peer that never sends a line feed cannot make the
// buffer grow without bound.
class LineSplitter
{
public:
    static constexpr qsizetype MaxLine = 64 * 1024;

    struct Line
    {
        QByteArray text;        // without the line end
        bool truncated = false; // the line was longer than MaxLine
    };

    QList<Line> feed(QByteArrayView data);

private:
    QByteArray Pending;
    bool Skipping = false; // inside the discarded rest of an overlong line
};
