#include "ansicht.h"

#include <QCoreApplication>
#include <QDir>
#include <QScreen>
#include <QWidget>

QImage AufDemSchirm(QWidget *w)
{
    const QPoint lage = w->mapTo(w->window(), QPoint());
    return w->screen()->grabWindow(w->window()->winId(), lage.x(), lage.y(), w->width(), w->height()).toImage();
}

bool WieGespeichert(const QImage &bild, const QString &name)
{
    const QString gespeichert = QStringLiteral(VELMO_TESTDATA "/ansichten/%1.png").arg(name);
    const QImage ist = bild.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIntValue("VELMO_ANSICHTEN_SCHREIBEN") == 1)
        return ist.save(gespeichert);
    if (ist == QImage(gespeichert).convertToFormat(QImage::Format_RGB32))
        return true;
    const QString abweichend = QDir(QCoreApplication::applicationDirPath()).filePath(name + "-ist.png");
    ist.save(abweichend);
    qWarning("%s differs from %s", qPrintable(abweichend), qPrintable(gespeichert));
    return false;
}
