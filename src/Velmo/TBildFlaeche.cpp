#include "Velmo/TBildFlaeche.h"

#include "bedienung/Planansicht.h"
#include "hilfen/farben.h"

#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>

TBildFlaeche::TBildFlaeche(QWidget *parent, const QString &name)
    : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBildFlaeche::QuelleSetzen(const QImage *quelle, const QColor &grund)
{
    Quelle = quelle;
    Grund = grund;
    update();
}

void TBildFlaeche::UrsprungSetzen(QPoint ursprung)
{
    if (ursprung == Ursprung)
        return;
    Ursprung = ursprung;
    update();
}

void TBildFlaeche::Zeigen(const QRect &r)
{
    if (Ausstehend.isEmpty())
        QMetaObject::invokeMethod(this, [this] {
            update(BildschirmRechteck(Ausstehend, Vergroesserung));
            Ausstehend = QRect();
        }, Qt::QueuedConnection);
    Ausstehend |= r;
}

void TBildFlaeche::RahmenSetzen(const QList<QRect> &rahmen)
{
    if (rahmen == Markiert)
        return;
    for (const QRect &r : Markiert + rahmen)
        update(BildschirmRechteck(r, Vergroesserung));
    Markiert = rahmen;
}

void TBildFlaeche::LinienSetzen(const QList<QLine> &linien)
{
    if (linien == Gitter)
        return;
    Gitter = linien;
    update();
}

void TBildFlaeche::FaktorSetzen(int f)
{
    if (f == Vergroesserung)
        return;
    Vergroesserung = f;
    Geaendert();
}

QSize TBildFlaeche::BildGroesse() const
{
    return ::BildGroesse(size(), Vergroesserung);
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
    // Without smooth transformation an enlarged copy repeats each pixel.
    QPainter painter(this);
    const QRect teil = BildRechteck(event->rect(), Vergroesserung);
    const QRect vorhanden = Quelle ? teil & Quelle->rect().translated(-Ursprung) : QRect();
    if (vorhanden != teil)
        painter.fillRect(BildschirmRechteck(teil, Vergroesserung), Quelle ? Grund : palette().window().color());
    if (!vorhanden.isEmpty())
        painter.drawImage(BildschirmRechteck(vorhanden, Vergroesserung), *Quelle, vorhanden.translated(Ursprung));
    painter.setPen(QColor(128, 128, 128));
    painter.drawLines(Gitter);
    painter.setPen(QPen(QColor(Warnrot), 2));
    for (const QRect &r : Markiert)
        painter.drawRect(BildschirmRechteck(r, Vergroesserung).adjusted(1, 1, -1, -1));
    if (!Gemalt) {
        Gemalt = true;
        emit ErstesMalGezeigt();
    }
}

void TBildFlaeche::resizeEvent(QResizeEvent *)
{
    Geaendert();
}

void TBildFlaeche::Geaendert()
{
    if (NeuZeichnen)
        NeuZeichnen();
    update();
}

QMouseEvent TBildFlaeche::ImBild(const QMouseEvent &event) const
{
    return QMouseEvent(event.type(), QPointF(BildPunkt(event.position().toPoint(), Vergroesserung)),
                       event.scenePosition(), event.globalPosition(), event.button(), event.buttons(),
                       event.modifiers(), event.pointingDevice());
}

void TBildFlaeche::mousePressEvent(QMouseEvent *event)
{
    QMouseEvent bild = ImBild(*event);
    emit MausGedrueckt(&bild);
}

void TBildFlaeche::mouseMoveEvent(QMouseEvent *event)
{
    QMouseEvent bild = ImBild(*event);
    emit MausBewegt(&bild);
}

void TBildFlaeche::mouseReleaseEvent(QMouseEvent *event)
{
    QMouseEvent bild = ImBild(*event);
    emit MausLosgelassen(&bild);
}

void TBildFlaeche::leaveEvent(QEvent *)
{
    emit MausVerlassen();
}
