// Connecting again by itself after the server dropped the connection, and
// bringing the layout back to what the panel shows.
#include "Velmo/TForm1.h"

#include "Velmo/TStatusLeiste.h"
#include "regler/TReglerPanel.h"

#include <QPlainTextEdit>

void TForm1::WiederverbindungGeplant(int versuch, int ms)
{
    Lage.Geplant(versuch, (ms + 999) / 1000, versuch > 1 ? Verbindungsfehler : QString());
    LageZeigen();
}

// A try that fails shows no box: the indicator and the left panel say it,
// and the next try follows.
bool TForm1::WiederVerbinden(int versuch, qint64 ausfallMs)
{
    bool steht = false;
    Verbindungsfehler.clear();
    try {
        steht = Verbinden(versuch);
    } catch (const std::exception &) {
        steht = false;
    }
    if (!steht) {
        if (Verbindungsfehler.isEmpty())
            Verbindungsfehler = Lage.Text();
        if (Neuverbinden->Aktiv() && Command_Socket.connected())
            Trennen();
        return false;
    }
    Abgleichen(ausfallMs);
    return true;
}

// The session is new: the feedback connection opens again (under SRCP 0.8
// its first report lights every occupied contact), the power goes back to
// what the operator chose last, and every locomotive of a throttle is
// announced with its state. After a longer loss nobody knows where the
// trains stand, so they are stopped rather than started again.
void TForm1::Abgleichen(qint64 ausfallMs)
{
    if (AbfrageWiederOeffnen && !PollConnected)
        AbfrageOeffnen(true);
    AbfrageWiederOeffnen = false;
    if (StromWunsch && (SprichtSrcp08(SrcpVersion) || !*StromWunsch))
        Bahn->Power(*StromWunsch);
    const bool anhalten = ausfallMs > KurzerAusfall;
    for (int i = 0; i < TReglerPanel::Anzahl; ++i) {
        if (Lokomotiven[i].Adresse <= 0)
            continue;
        if (anhalten)
            Regler_panel->Anhalten(i);
        Bahn->SendLocoCommand(i);
    }
    const QString text = anhalten ? QStringLiteral("Wieder verbunden nach %1 s, Loks angehalten").arg(ausfallMs / 1000)
                                  : QStringLiteral("Wieder verbunden");
    ProtokollZeile(text);
    StatusBar1->SetzeText(0, text + VerlustZusatz);
}
