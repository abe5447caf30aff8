// The element catalogue (Elemente1.dat) from arbitrary bytes. A catalogue
// that is read completely has its palette drawn as PaletteZeichnen draws it,
// with one icon in memory standing in for the picture files the records
// name, so the palette spots read reach the block copy.
#include "fuzzhilfe.h"

#include "elemente/Bilder.h"
#include "elemente/Katalog.h"
#include "hilfen/fehler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ElementTabelle elemente;
    try {
        LiesKatalogDatei(FuzzDatei(data, size), elemente);
    } catch (const VelmoFehler &) {
        return 0;
    }
    static QImage palette(PaletteBreiteStandard, PaletteHoeheStandard, QImage::Format_RGB32);
    static const QImage icon = [] {
        QImage bild(IconGroesse, IconGroesse, QImage::Format_RGB32);
        bild.fill(Qt::darkGreen);
        return bild;
    }();
    for (int i = 1; i <= ElementAnzahl; ++i)
        KopiereBlock(palette, QPoint(elemente[i].PaletteX, elemente[i].PaletteY), icon, Rechteck(1, 1, 27, 27));
    return 0;
}
