#include "elemente/Bilder.h"

#include "hilfen/fehler.h"

#include <QFileInfo>
#include <QPainter>

QString IconName(int element, int state)
{
    const int zustand = state < 1 ? 1 : state;
    QString name = QStringLiteral("Icon%1").arg(element, 2, 10, QLatin1Char('0'));
    if ((zustand >= 1 && zustand <= 3) || (zustand >= 11 && zustand <= 13))
        name += QStringLiteral("%1.bmp").arg(zustand, 2, 10, QLatin1Char('0'));
    return name;
}

void LadeBild(const QString &path, QImage &image)
{
    QImage geladen(path);
    if (geladen.isNull())
        throw VelmoFehler(QFileInfo::exists(path)
                              ? QStringLiteral("Ungültiges Bild: %1").arg(path)
                              : QStringLiteral("Bilddatei nicht gefunden: %1").arg(path));
    image = geladen.convertToFormat(QImage::Format_RGB32);
}

void KopiereBlock(QImage &target, QPoint to, const QImage &source, const QRect &from)
{
    if (target.isNull())
        return;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(to, source, from);
}
