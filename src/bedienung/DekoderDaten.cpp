#include "bedienung/DekoderDaten.h"

#include "elemente/Elementrollen.h"
#include "hilfen/fehler.h"
#include "hilfen/texte.h"

int DekoderZeilen(int element, int zustaende)
{
    if (zustaende == 3)
        return 3;
    if (zustaende == 2)
        return IstRueckmeldekontakt(element) ? 1 : 2;
    return 1;
}

DekoderEingaben DekoderTexte(const C_Position &zelle)
{
    DekoderEingaben texte;
    for (int r = 1; r <= 3; ++r) {
        const DekoderZeile zeile = DekoderZeileVon(zelle, r);
        texte.Dekoder[r - 1] = QString::number(zeile.Dekoder);
        texte.Adresse[r - 1] = QString::number(zeile.Adresse);
    }
    texte.Protokoll = QString::fromLatin1(zelle.Protokoll);
    return texte;
}

QString DekoderSpeichern(C_Position &zelle, const DekoderEingaben &eingaben)
{
    const std::array<std::pair<const QString *, int *>, 6> felder = {{
        {&eingaben.Dekoder[0], &zelle.Dekoder1}, {&eingaben.Dekoder[1], &zelle.Dekoder2},
        {&eingaben.Dekoder[2], &zelle.Dekoder3}, {&eingaben.Adresse[0], &zelle.Adresse1},
        {&eingaben.Adresse[1], &zelle.Adresse2}, {&eingaben.Adresse[2], &zelle.Adresse3},
    }};
    for (const auto &[text, feld] : felder)
        if (!text->isEmpty())
            *feld = StrToInt(*text);

    QByteArray protokoll = Einzeilig(eingaben.Protokoll.toLatin1()).trimmed();
    if (protokoll.isEmpty()) {
        zelle.Protokoll = "M";
        return QString();
    }
    if (protokoll == "m")
        protokoll = "M";
    else if (protokoll == "n")
        protokoll = "N";
    zelle.Protokoll = protokoll;
    return QString::fromLatin1(protokoll);
}
