#include "hilfen/fehler.h"

#include <algorithm>

int StrToInt(const QString &text)
{
    bool ok = false;
    int value = 0;
    const bool wellFormed = !text.isEmpty()
        && std::all_of(text.begin() + ((text[0] == '-' || text[0] == '+') ? 1 : 0), text.end(),
                       [](QChar c) { return c >= '0' && c <= '9'; })
        && text != "-" && text != "+";
    if (wellFormed)
        value = text.toInt(&ok, 10);
    if (!ok)
        throw VelmoFehler(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
    return value;
}
