#include "fittings.h"

#include "colours.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A lamp on a short mast beside the track, on the right-hand side of an
// eastbound train: the foot stands back from the lamp, which faces the train.
void drawSignal(QPainter &p, int aspect)
{
    const QColor lamp = aspect == 1 ? Colour::LampRed : aspect == 2 ? Colour::LampGreen : Colour::LampYellow;
    p.setPen(QPen(Colour::Outline, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(6.75, 17), QPointF(6.75, 24));
    p.drawLine(QPointF(6.75, 20.5), QPointF(15, 20.5));
    p.setPen(QPen(Colour::Outline, 1));
    p.setBrush(lamp);
    p.drawEllipse(QPointF(18.5, 20.5), 3, 3);
}

// A heavy bar across the end of a track coming from W.
void drawBufferStop(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::Outline);
    p.drawRect(QRectF(13, 5, 3, 16));
}

// The magnet of an uncoupler: a box across the track between the rails.
void drawUncoupler(QPainter &p, bool pressed)
{
    p.setPen(QPen(Colour::Outline, 1));
    p.setBrush(pressed ? Colour::Pressed : Colour::Face);
    p.drawRect(QRectF(9.5, 7.5, 7, 11));
    p.setPen(QPen(pressed ? Colour::LampRed : Colour::Shadow, 1));
    for (double y : {10.5, 13.0, 15.5})
        p.drawLine(QPointF(11, y), QPointF(15, y));
}

// A contact block lying on the track.
void drawFeedbackContact(QPainter &p, bool occupied)
{
    p.setPen(QPen(Colour::Outline, 1));
    p.setBrush(occupied ? Colour::LampRed : Colour::Face);
    p.drawRoundedRect(QRectF(6.5, 9.5, 13, 7), 2, 2);
}

void strokeRouteMark(QPainter &p, const QPainterPath &path)
{
    p.setBrush(Qt::NoBrush);
    p.strokePath(path, QPen(Colour::RouteEdge, 4));
    p.strokePath(path, QPen(Colour::RouteMark, 2));
}

// A raised push button with bevelled edges; pressed it is sunk and lit.
void drawSquareButton(QPainter &p, const FittingLook &look)
{
    if (look.routeMarked) {
        QPainterPath frame;
        frame.addRect(QRectF(2, 2, 23, 23));
        strokeRouteMark(p, frame);
    }
    const QColor &upperLeft = look.pressed ? Colour::Shadow : Colour::Light;
    const QColor &lowerRight = look.pressed ? Colour::Light : Colour::Shadow;
    p.fillRect(QRect(4, 4, 19, 19), Colour::Outline);
    p.fillRect(QRect(5, 5, 17, 17), lowerRight);
    p.fillRect(QRect(5, 5, 15, 15), upperLeft);
    p.fillRect(QRect(7, 7, 13, 13), look.pressed ? Colour::Pressed : Colour::Face);
}

void drawRoundButton(QPainter &p, const FittingLook &look)
{
    const QPointF centre(13.5, 13.5);
    if (look.routeMarked) {
        QPainterPath ring;
        ring.addEllipse(centre, 11.5, 11.5);
        strokeRouteMark(p, ring);
    }
    const QColor &upperLeft = look.pressed ? Colour::Shadow : Colour::Light;
    const QColor &lowerRight = look.pressed ? Colour::Light : Colour::Shadow;
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::Outline);
    p.drawEllipse(centre, 9.5, 9.5);
    const QRectF bevel(centre - QPointF(8.5, 8.5), QSizeF(17, 17));
    p.setBrush(upperLeft);
    p.drawPie(bevel, 45 * 16, 180 * 16);
    p.setBrush(lowerRight);
    p.drawPie(bevel, 225 * 16, 180 * 16);
    p.setBrush(look.pressed ? Colour::Pressed : Colour::Face);
    p.drawEllipse(centre, 6.5, 6.5);
}

// Turns a fitting drawn for the W-E direction round to face E-W.
QTransform halfTurn()
{
    return QTransform().translate(13, 13).rotate(180).translate(-13, -13);
}

} // namespace

void drawFitting(QPainter &painter, Fitting fitting, const FittingLook &look)
{
    switch (fitting) {
    case Fitting::None:
        break;
    case Fitting::SignalEastbound:
        drawSignal(painter, look.state);
        break;
    case Fitting::SignalWestbound:
        painter.setTransform(halfTurn(), true);
        drawSignal(painter, look.state);
        break;
    case Fitting::BufferStopFromWest:
        drawBufferStop(painter);
        break;
    case Fitting::BufferStopFromEast:
        painter.setTransform(halfTurn(), true);
        drawBufferStop(painter);
        break;
    case Fitting::Uncoupler:
        drawUncoupler(painter, look.pressed);
        break;
    case Fitting::FeedbackContact:
        drawFeedbackContact(painter, look.state == 2);
        break;
    case Fitting::SquareButton:
        drawSquareButton(painter, look);
        break;
    case Fitting::RoundButton:
        drawRoundButton(painter, look);
        break;
    }
}
