#include "elemente/BmpLeser.h"

#include <cstdint>

namespace {

constexpr qsizetype KopfGroesse = 54;
// Larger pictures are left to Qt, which knows its own limits.
constexpr std::int32_t MaxSeite = 4096;

std::uint32_t Wort(const uchar *p, int bytes)
{
    std::uint32_t wert = 0;
    for (int i = bytes - 1; i >= 0; --i)
        wert = wert << 8 | p[i];
    return wert;
}

std::int32_t Zahl(const uchar *p)
{
    return static_cast<std::int32_t>(Wort(p, 4));
}

} // namespace

QImage LiesEinfacheBmp(QByteArrayView daten)
{
    if (daten.size() < KopfGroesse)
        return {};
    const auto *kopf = reinterpret_cast<const uchar *>(daten.data());
    const std::int32_t breite = Zahl(kopf + 18);
    const std::int32_t hoehe = Zahl(kopf + 22);
    // "BM", pixels right after the 40-byte info header, one plane, 24 bits,
    // no compression, bottom-up rows.
    if (kopf[0] != 'B' || kopf[1] != 'M' || Wort(kopf + 10, 4) != KopfGroesse || Wort(kopf + 14, 4) != 40
        || Wort(kopf + 26, 2) != 1 || Wort(kopf + 28, 2) != 24 || Wort(kopf + 30, 4) != 0 || breite <= 0
        || breite > MaxSeite || hoehe <= 0 || hoehe > MaxSeite)
        return {};
    const qsizetype zeilenBytes = (qsizetype(breite) * 3 + 3) / 4 * 4;
    if (daten.size() < KopfGroesse + zeilenBytes * hoehe)
        return {};

    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.setDotsPerMeterX(Zahl(kopf + 38));
    bild.setDotsPerMeterY(Zahl(kopf + 42));
    const uchar *zeile = kopf + KopfGroesse;
    for (int y = hoehe - 1; y >= 0; --y, zeile += zeilenBytes) {
        auto *ziel = reinterpret_cast<QRgb *>(bild.scanLine(y));
        const uchar *b = zeile;
        for (int x = 0; x < breite; ++x, b += 3)
            ziel[x] = qRgb(b[2], b[1], b[0]);
    }
    return bild;
}
