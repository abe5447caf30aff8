#include "Velmo/TKlickBild.h"

#include <QMouseEvent>
#include <QPixmap>

TKlickBild::TKlickBild(QWidget *parent, const QString &name, QRect platz)
    : QLabel(parent)
{
    setObjectName(name);
    setGeometry(platz);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TKlickBild::Zeigen(const QImage &bild)
{
    Gezeigt = bild;
    if (bild.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(bild));
}

void TKlickBild::mousePressEvent(QMouseEvent *event)
{
    emit Gedrueckt(event->button());
}

void TKlickBild::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Geklickt();
}
