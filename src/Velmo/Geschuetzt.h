#pragma once

#include "Velmo/Dialoge.h"
#include "hilfen/fehler.h"

#include <exception>

// The critical message box that reports an error which ended a handler.
inline void FehlerMelden(Dialoge &dialoge, const QString &text)
{
    dialoge.Meldung(text, QStringLiteral("velmo"), Dialoge::Art::Fehler);
}

// Runs a handler; an error ends it and is shown in a critical message box,
// and the program runs on.
template<class Handler>
void Geschuetzt(Dialoge &dialoge, Handler &&handler)
{
    try {
        handler();
    } catch (const VelmoFehler &fehler) {
        FehlerMelden(dialoge, fehler.Text);
    } catch (const std::exception &fehler) {
        FehlerMelden(dialoge, QString::fromLocal8Bit(fehler.what()));
    }
}
