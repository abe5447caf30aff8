#include "elemente/Bilder.h"

#include "elemente/BildSpeicher.h"

#include <QPainter>

#include <cstdio>
#include <cstring>

QString IconName(int element, int state)
{
    const int zustand = state < 1 ? 1 : state;
    const bool mitEndung = (zustand >= 1 && zustand <= 3) || (zustand >= 11 && zustand <= 13);
    char name[48];
    const int laenge = mitEndung ? std::snprintf(name, sizeof name, "Icon%02d%02d.bmp", element, zustand)
                                 : std::snprintf(name, sizeof name, "Icon%02d", element);
    return QString::fromLatin1(name, laenge);
}

void LadeBild(const QString &path, QImage &image)
{
    image = Bildspeicher().Bild(path);
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
    uchar *zeile = target.bits() + ziel.top() * target.bytesPerLine() + ziel.left() * 4;
    const uchar *von = source.constBits() + start.y() * source.bytesPerLine() + start.x() * 4;
    for (int y = 0; y < ziel.height(); ++y) {
        std::memmove(zeile, von, static_cast<std::size_t>(ziel.width()) * 4);
        zeile += target.bytesPerLine();
        von += source.bytesPerLine();
    }
}
