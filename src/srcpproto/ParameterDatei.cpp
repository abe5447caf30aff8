#include "srcpproto/BahnZustand.h"

#include "hilfen/fehler.h"
#include "hilfen/textdatei.h"
#include "hilfen/texte.h"

void LiesParameterDatei(const QString &path, BahnZustand &zustand)
{
    TextLeser datei(path);
    const int port = datei.LiesZahl();
    if (!PortGueltig(port))
        datei.Fehler(QStringLiteral("Ungültiger Port"));
    zustand.ServerPort = port;
    zustand.ServerHost = datei.LiesText();
    zustand.SrcpVersion = datei.LiesZahl();
    zustand.InfoMode = datei.LiesZahl();
    for (int i = 0; i < GespeicherteLoks; ++i) {
        cLocoInfo &lok = zustand.Lokomotiven[i];
        lok.Protokoll = Utf8Kuerzen(datei.LiesText(), ProtokollLaenge);
        lok.Lokname = Utf8Kuerzen(datei.LiesText(), LoknameLaenge);
        lok.Adresse = datei.LiesZahl();
        lok.Richtung = datei.LiesZahl();
        lok.Geschwindigkeit = datei.LiesZahl();
        lok.Vmax = datei.LiesZahl();
        lok.Funktion0 = datei.LiesZahl();
        lok.Funktionsanzahl = datei.LiesZahl();
        for (int &funktion : lok.Funktionen)
            funktion = datei.LiesZahl();
    }
}

void PortPruefen(const QString &text)
{
    bool ok = false;
    const qlonglong port = text.toLongLong(&ok, 10);
    if (IstGanzzahlText(text) && !(ok && PortGueltig(port)))
        throw VelmoFehler(QStringLiteral("Ungültiger Port: %1 (%2 bis %3)").arg(text).arg(KleinsterPort).arg(GroessterPort));
}

void SchreibeParameterDatei(const QString &path, const BahnZustand &zustand)
{
    TextSchreiber datei(path);
    datei.Zahl(zustand.ServerPort);
    datei.Text(zustand.ServerHost);
    datei.Zahl(zustand.SrcpVersion);
    datei.Zahl(zustand.InfoMode);
    for (int i = 0; i < GespeicherteLoks; ++i) {
        const cLocoInfo &lok = zustand.Lokomotiven[i];
        datei.Text(lok.Protokoll);
        datei.Text(lok.Lokname);
        for (int wert : {lok.Adresse, lok.Richtung, lok.Geschwindigkeit, lok.Vmax, lok.Funktion0, lok.Funktionsanzahl})
            datei.Zahl(wert);
        for (int funktion : lok.Funktionen)
            datei.Zahl(funktion);
    }
    datei.Fertig();
}
