#pragma once

#include "elemente/BildSpeicher.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <map>
#include <utility>

constexpr int IconGroesse = 27;

// "Icon0701.bmp" for element 7 in state 1: the element number in two digits
// and the state suffix (01 to 03, 11 to 13); states below 1 count as 1, any
// other state gets no suffix (such a name never exists as a file).
QString IconName(int element, int state);

// Loads a picture file into image through the program's picture store, in
// the pass durchgang when one is given; raises VelmoFehler when the file is
// missing or not a readable picture, leaving image untouched.
void LadeBild(const QString &path, QImage &image, const BildSpeicher::Durchgang *durchgang = nullptr);

// The cell icons of one operation that draws many cells (a plan loaded, a
// press redrawing its cells): one pass of the picture store, in which each
// element and state is named and looked up once. Every further cell showing
// it gets the same picture, or raises the same error, as the pass gives it.
class Zellbilder
{
public:
    // The picture IconName(element, state) in workDir's Data/, as LadeBild
    // gives it in the pass.
    QImage Icon(const QString &workDir, int element, int state);

private:
    struct Ergebnis
    {
        QImage Bild;
        QString Fehler;
    };
    BildSpeicher::Durchgang Durchgang;
    std::map<std::pair<int, int>, Ergebnis> Icons;
};

// Unscaled block copy of source rectangle `from` of `source` with its top
// left corner at `to` of `target`; whatever falls outside is clipped.
void KopiereBlock(QImage &target, QPoint to, const QImage &source, const QRect &from);

// Rectangle from left, top, right and bottom, right and bottom exclusive.
inline QRect Rechteck(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}
