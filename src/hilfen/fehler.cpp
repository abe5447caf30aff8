#include "hilfen/fehler.h"

#include <algorithm>
#include <csignal>

bool IstGanzzahlText(const QString &text)
{
    const qsizetype vorzeichen = !text.isEmpty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > vorzeichen
        && std::all_of(text.begin() + vorzeichen, text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

int StrToInt(const QString &text)
{
    bool ok = false;
    int value = 0;
    if (IstGanzzahlText(text))
        value = text.toInt(&ok, 10);
    if (!ok)
        throw VelmoFehler(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
    return value;
}

void GroessengrenzeAlsFehler()
{
    [[maybe_unused]] static const bool einmal = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
}
