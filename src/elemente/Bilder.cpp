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
    if (target.isNull() || source.isNull())
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
