#include "iconpainter.h"

#include "colours.h"
#include "fittings.h"

#include <QPainter>

#include <algorithm>

namespace {

bool isMomentary(Fitting fitting)
{
    return fitting == Fitting::Uncoupler || fitting == Fitting::SquareButton
        || fitting == Fitting::RoundButton;
}

QPen trackPen(const QColor &colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
}

} // namespace

QImage paintIcon(const Element &element, int state)
{
    const Shape &shape = *element.shape;
    const bool routeMarked = state > 10;
    const int asked = state % 10;
    const int shown = std::min(asked, shape.states());
    const unsigned active = shape.activeTracks[shown - 1];

    QImage icon(IconSize, IconSize, QImage::Format_RGB32);
    icon.fill(Colour::Background);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);

    QList<QPainterPath> through;
    for (qsizetype i = 0; i < shape.tracks.size(); ++i) {
        const QPainterPath path = trackPath(shape.tracks[i].from, shape.tracks[i].to, element.turn);
        if (active & (1u << i))
            through.append(path);
        else
            p.strokePath(path, trackPen(Colour::InactiveTrack, 2));
    }
    // All edges of a route mark first, so that where two marked tracks
    // cross the yellow runs on unbroken.
    if (routeMarked) {
        for (const QPainterPath &path : through)
            p.strokePath(path, trackPen(Colour::RouteEdge, 4));
        for (const QPainterPath &path : through)
            p.strokePath(path, trackPen(Colour::RouteMark, 2));
    } else {
        const QColor &colour = shape.switchesTracks() ? Colour::ActiveTrack : Colour::Track;
        for (const QPainterPath &path : through)
            p.strokePath(path, trackPen(colour, 4));
    }

    p.setTransform(fittingTransform(element.turn));
    drawFitting(p, shape.fitting,
                {shown, isMomentary(shape.fitting) && asked == 2, routeMarked});
    return icon;
}
