#include "Velmo/TBildFlaeche.h"

#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>

TBildFlaeche::TBildFlaeche(QWidget *parent, const QString &name)
    : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBildFlaeche::Zeigen(const QRect &r)
{
    if (Ausstehend.isEmpty())
        QMetaObject::invokeMethod(this, [this] {
            update(Ausstehend);
            Ausstehend = QRect();
        }, Qt::QueuedConnection);
    Ausstehend |= r;
}

void TBildFlaeche::RahmenSetzen(const QList<QRect> &rahmen)
{
    if (rahmen == Markiert)
        return;
    for (const QRect &r : Markiert + rahmen)
        update(r);
    Markiert = rahmen;
}

// Qt asks again while the pointer moves over the box, so the tooltip
// follows what is under it and goes where there is none.
bool TBildFlaeche::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !Tipp)
        return QWidget::event(event);
    const auto *hilfe = static_cast<QHelpEvent *>(event);
    const QString text = Tipp(hilfe->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(hilfe->globalPos(), text, this);
    }
    return true;
}

void TBildFlaeche::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), Bild, event->rect());
    painter.setPen(QPen(QColor(210, 30, 30), 2));
    for (const QRect &r : Markiert)
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    if (!Gemalt) {
        Gemalt = true;
        emit ErstesMalGezeigt();
    }
}

void TBildFlaeche::resizeEvent(QResizeEvent *)
{
    Bild = QImage(size(), QImage::Format_RGB32);
    Bild.fill(palette().window().color());
    if (NeuZeichnen)
        NeuZeichnen();
    update();
}

void TBildFlaeche::mousePressEvent(QMouseEvent *event)
{
    emit MausGedrueckt(event);
}

void TBildFlaeche::mouseMoveEvent(QMouseEvent *event)
{
    emit MausBewegt(event);
}

void TBildFlaeche::mouseReleaseEvent(QMouseEvent *event)
{
    emit MausLosgelassen(event);
}
