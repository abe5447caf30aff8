#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The 15 x 15 pictures of the locomotive functions (decoder dialog and
// throttle slots: off grey, on coloured) and of the throttle's F0 and
// direction buttons.
struct SmallPicture
{
    QString name;
    QImage image;
};

QList<SmallPicture> smallPictures();
