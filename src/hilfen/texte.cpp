#include "hilfen/texte.h"

QString LeftStr(const QString &s, int n)
{
    return n <= 0 ? QString() : s.left(n);
}

QString RightStr(const QString &s, int n)
{
    return n <= 0 ? QString() : s.right(n);
}

QString MidStr(const QString &s, int i, int n)
{
    if (i < 1 || n <= 0 || i > s.size())
        return QString();
    return s.mid(i - 1, n);
}

QString TrimSteuerzeichen(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s[first].unicode() <= ' ')
        ++first;
    while (last > first && s[last - 1].unicode() <= ' ')
        --last;
    return s.mid(first, last - first);
}

QByteArray Einzeilig(QByteArray text)
{
    // Read through the const side: a shared text is copied only when it
    // holds a control character, not for each of a plan's ten thousand.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (const uchar c = text.at(i); c < 0x20 || c == 0x7F)
            text[i] = ' ';
    return text;
}

// Length of the UTF-8 sequence starting at text[i], or 1 when the bytes there
// do not form a valid sequence.
static int sequenzLaenge(const QByteArray &text, qsizetype i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int len = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        len = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    if (i + len > text.size())
        return 1;
    for (int k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return len;
}

QString AnzeigeKuerzen(const QString &text, qsizetype maxChars)
{
    if (text.size() <= maxChars)
        return text;
    qsizetype ende = maxChars;
    if (text[ende - 1].isHighSurrogate())
        --ende;
    return text.left(ende) + QChar(0x2026);
}

QByteArray Utf8Kuerzen(const QByteArray &text, int maxChars)
{
    qsizetype i = 0;
    for (int chars = 0; chars < maxChars && i < text.size(); ++chars)
        i += sequenzLaenge(text, i);
    return text.left(i);
}
