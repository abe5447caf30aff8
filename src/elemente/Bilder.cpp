#include "elemente/Bilder.h"

#include "hilfen/fehler.h"

#include <QPainter>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// Writes v with at least two digits, as printf's "%02d" does; returns the end.
char *ZweiStellen(char *p, int v)
{
    if (v >= 0 && v < 10) {
        *p++ = '0';
        *p++ = static_cast<char>('0' + v);
        return p;
    }
    return std::to_chars(p, p + 11, v).ptr;
}

} // namespace

// A plan draws thousands of these, so the name is put together by hand.
QString IconName(int element, int state)
{
    const int zustand = state < 1 ? 1 : state;
    const bool mitEndung = (zustand >= 1 && zustand <= 3) || (zustand >= 11 && zustand <= 13);
    char name[32];
    char *ende = ZweiStellen(std::copy_n("Icon", 4, name), element);
    if (mitEndung)
        ende = std::copy_n(".bmp", 4, ZweiStellen(ende, zustand));
    return QString::fromLatin1(name, ende - name);
}

void LadeBild(const QString &path, QImage &image, const BildSpeicher::Durchgang *durchgang)
{
    image = Bildspeicher().Bild(path, durchgang);
}

QImage Zellbilder::Icon(const QString &workDir, int element, int state)
{
    const auto [eintrag, neu] = Icons.try_emplace({element, state});
    Ergebnis &ergebnis = eintrag->second;
    if (neu) {
        try {
            LadeBild(workDir + "Data/" + IconName(element, state), ergebnis.Bild, &Durchgang);
        } catch (const VelmoFehler &fehler) {
            ergebnis.Fehler = fehler.Text;
        }
    }
    if (!ergebnis.Fehler.isEmpty())
        throw VelmoFehler(ergebnis.Fehler);
    return ergebnis.Bild;
}

void KopiereBlock(QImage &target, QPoint to, const QImage &source, const QRect &from)
{
    // A block whose corner lies so far out that it cannot reach the target
    // copies nothing. Leaving first also keeps the rectangle arithmetic below,
    // and Qt's own, which wraps at the ends of int, away from those ends for
    // any corner a plan or catalogue file may hold; at -2147483648 the
    // clipped rectangle would otherwise cover the whole target and the copy
    // read far outside the source.
    if (target.isNull() || source.isNull() || to.x() >= target.width() || to.y() >= target.height()
        || to.x() <= -from.width() || to.y() <= -from.height())
        return;
    // Clip the source to its image and the destination to the target,
    // keeping the two rectangles in step.
    const QRect quelle = from & source.rect();
    const QPoint zielEcke = to + (quelle.topLeft() - from.topLeft());
    const QRect ziel = QRect(zielEcke, quelle.size()) & target.rect();
    if (ziel.isEmpty())
        return;
    const QPoint start = quelle.topLeft() + (ziel.topLeft() - zielEcke);

    if (target.format() != source.format() || target.depth() != 32) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(ziel.topLeft(), source, QRect(start, ziel.size()));
        return;
    }
    // Same 32-bit format: plain row copies, the fast path of every icon.
    const qsizetype zielZeile = target.bytesPerLine();
    const qsizetype quellZeile = source.bytesPerLine();
    const auto bytes = static_cast<std::size_t>(ziel.width()) * 4;
    uchar *zeile = target.bits() + ziel.top() * zielZeile + ziel.left() * 4;
    const uchar *von = source.constBits() + start.y() * quellZeile + start.x() * 4;
    for (int y = 0; y < ziel.height(); ++y, zeile += zielZeile, von += quellZeile)
        std::memmove(zeile, von, bytes);
}
