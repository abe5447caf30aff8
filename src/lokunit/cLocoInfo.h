#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// One locomotive: decoder set-up and current driving state.
class cLocoInfo
{
public:
    QByteArray Protokoll = "M1"; // at most 3 characters
    QByteArray Lokname = "Lok";  // at most 20 characters
    int Adresse = 0;             // 0 or less: not configured
    int Richtung = -1;           // 1 forward, 0 reverse
    int Geschwindigkeit = 0;
    int Vmax = 0;
    int Funktion0 = 0;
    int Funktionsanzahl = 0;
    std::array<int, 8> Funktionen {}; // symbol 1..7, +10 when on, 0 empty
    // What the server made of the locomotive's announcement (INIT).
    enum Anmeldung { Unbekannt = 0, Angemeldet = 1, Abgelehnt = 2 };
    int Initialisiert = Unbekannt;
    int InitFunktionsanzahl = 0;
    int Fahrstufen = 0;

    bool operator==(const cLocoInfo &) const = default;
};

constexpr int LokAnzahl = 40;
// Records 0 to 9, the locomotives of the ten throttles, are kept between runs.
constexpr int GespeicherteLoks = 10;
constexpr int ProtokollLaenge = 3;
constexpr int LoknameLaenge = 20;

using LokTabelle = std::array<cLocoInfo, LokAnzahl>;

// The picture file (without directory) of a function code; an empty text
// for a code that has no picture, so the caller keeps its previous picture.
QString SymbolDatei(int code);
