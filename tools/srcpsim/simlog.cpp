#include "simlog.h"

#include <QTime>

#include <cstdio>

namespace {

bool Quiet = false;
constexpr qsizetype ShownBytes = 300;

void write(QByteArrayView who, char kind, QByteArrayView text)
{
    QByteArray out = QTime::currentTime().toString("HH:mm:ss.zzz").toLatin1();
    out += ' ';
    out += who;
    out += ' ';
    out += kind;
    out += ' ';
    out += text;
    out += '\n';
    // One write per line keeps lines whole when stderr is shared.
    std::fwrite(out.constData(), 1, size_t(out.size()), stderr);
    std::fflush(stderr);
}

} // namespace

namespace SimLog {

void setQuiet(bool quiet)
{
    Quiet = quiet;
}

QByteArray printable(QByteArrayView line)
{
    QByteArray out;
    const qsizetype shown = qMin(line.size(), ShownBytes);
    out.reserve(shown + 32);
    for (qsizetype i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c == 0x7f) {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    if (shown < line.size())
        out += "... [" + QByteArray::number(line.size()) + " bytes]";
    return out;
}

void received(QByteArrayView who, QByteArrayView line)
{
    write(who, '<', printable(line));
}

void sent(QByteArrayView who, QByteArrayView line)
{
    if (!Quiet)
        write(who, '>', printable(line));
}

void note(QByteArrayView who, QByteArrayView text)
{
    write(who, '*', text);
}

} // namespace SimLog
