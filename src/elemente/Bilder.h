#pragma once

#include "elemente/BildSpeicher.h"

#include <QImage>
#include <QRect>
#include <QString>

constexpr int IconGroesse = 27;

// "Icon0701.bmp" for element 7 in state 1: the element number in two digits
// and the state suffix (01 to 03, 11 to 13); states below 1 count as 1, any
// other state gets no suffix (such a name never exists as a file).
QString IconName(int element, int state);

// Loads a picture file into image through the program's picture store, in
// the pass durchgang when one is given; raises VelmoFehler when the file is
// missing or not a readable picture, leaving image untouched.
void LadeBild(const QString &path, QImage &image, const BildSpeicher::Durchgang *durchgang = nullptr);

// Unscaled block copy of source rectangle `from` of `source` with its top
// left corner at `to` of `target`; whatever falls outside is clipped.
void KopiereBlock(QImage &target, QPoint to, const QImage &source, const QRect &from);

// Rectangle from left, top, right and bottom, right and bottom exclusive.
inline QRect Rechteck(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}
