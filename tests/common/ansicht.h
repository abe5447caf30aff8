#pragma once

#include <QImage>
#include <QString>

class QWidget;

// What the screen shows of a shown widget as it stands, read from its
// window's backing store without painting it afresh: a change for which
// no repaint was asked does not show in it.
QImage AufDemSchirm(QWidget *w);

// Whether the picture is pixel for pixel tests/data/ansichten/NAME.png. A
// differing picture is saved beside the test program as NAME-ist.png for a
// look; with VELMO_ANSICHTEN_SCHREIBEN=1 the stored one is written anew.
bool WieGespeichert(const QImage &bild, const QString &name);
