#include "elemente/Katalog.h"

#include "elemente/Bilder.h"
#include "hilfen/textdatei.h"

#include <QStringList>
#include <algorithm>

int CKatalog::FindePaletteElement(int x, int y) const
{
    for (int i = 1; i <= ElementAnzahl; ++i)
        if (Elemente[i].PaletteX == x && Elemente[i].PaletteY == y)
            return Elemente[i].Nummer;
    return 0;
}

int CKatalog::PaletteElementBei(int x, int y) const
{
    const QPoint spot = PalettenSpot(x, y);
    const int element = FindePaletteElement(spot.x(), spot.y());
    return element >= 1 && element <= ElementAnzahl ? element : 0;
}

QString CKatalog::PalettenTipp(int x, int y) const
{
    const int element = PaletteElementBei(x, y);
    return element ? ElementTipp(Elemente[element]) : QString();
}

QString ElementTipp(const C_Element &e)
{
    const std::array<const QByteArray *, 3> texte {&e.Text1, &e.Text2, &e.Text3};
    QStringList stellungen;
    for (int i = 0; i < std::clamp(e.Zustaende, 0, 3); ++i)
        if (!texte[i]->isEmpty())
            stellungen << QString::fromUtf8(*texte[i]);
    const QString name = QString::fromUtf8(e.Name);
    if (stellungen.isEmpty())
        return name;
    return name + (stellungen.size() == 1 ? QStringLiteral("\nStellung: ") : QStringLiteral("\nStellungen: "))
         + stellungen.join(QStringLiteral(", "));
}

QPoint PalettenSpot(int x, int y)
{
    constexpr int Spot = 28;
    return {x / Spot * Spot + 1, y / Spot * Spot + 1};
}

static void LiesElement(TextLeser &datei, C_Element &e)
{
    e.Nummer = datei.LiesZahl();
    e.Name = datei.LiesText();
    e.PaletteX = datei.LiesZahl();
    e.PaletteY = datei.LiesZahl();
    e.Zustaende = datei.LiesZahl();
    e.Zusatz = datei.LiesZahl();
    e.Bild1 = datei.LiesText();
    e.Bild2 = datei.LiesText();
    e.Bild3 = datei.LiesText();
    e.Text1 = datei.LiesText();
    e.Text2 = datei.LiesText();
    e.Text3 = datei.LiesText();
}

void LiesKatalogDatei(const QString &path, ElementTabelle &elemente)
{
    TextLeser datei(path);
    for (int i = 1; i <= ElementAnzahl; ++i)
        LiesElement(datei, elemente[i]);
}

void LadeKatalog(CKatalog &katalog, const QString &workDir)
{
    katalog.PaletteGezeichnet = false;
    LiesKatalogDatei(workDir + "Data/Elemente1.dat", katalog.Elemente);
    katalog.ElementeGeladen = true;
}

void PaletteZeichnen(CKatalog &katalog, const QString &workDir, QImage &PaletteBitmap)
{
    if (katalog.PaletteGezeichnet)
        return;
    PaletteBitmap.fill(PaletteFarbe);
    if (!katalog.ElementeGeladen)
        return;
    katalog.PaletteGezeichnet = true;
    // The palette shows each icon without its top row and left column: the
    // copy takes (1, 1) to (27, 27) and puts it at the spot's corner.
    QImage icon;
    for (int i = 1; i <= ElementAnzahl; ++i) {
        const C_Element &e = katalog.Elemente[i];
        LadeBild(workDir + "Data/" + QString::fromUtf8(e.Bild1), icon);
        KopiereBlock(PaletteBitmap, QPoint(e.PaletteX, e.PaletteY), icon, Rechteck(1, 1, 27, 27));
    }
}
