#pragma once

#include "Velmo/Dialoge.h"
#include "hilfen/fehler.h"

#include <exception>

// Runs a handler; an error ends it and is shown in a critical message box,
// and the program runs on.
template<class Handler>
void Geschuetzt(Dialoge &dialoge, Handler &&handler)
{
    try {
        handler();
    } catch (const VelmoFehler &fehler) {
        dialoge.Meldung(fehler.Text, QStringLiteral("velmo"), Dialoge::Art::Fehler);
    } catch (const std::exception &fehler) {
        dialoge.Meldung(QString::fromLocal8Bit(fehler.what()), QStringLiteral("velmo"), Dialoge::Art::Fehler);
    }
}
