#include "geometry.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Mid = 13.0;
constexpr double Edge = IconSize;
// How far a track runs on beyond its connection point.
constexpr double Overrun = 3.0;
// A bend starts this far inside the cell, so that at the border every track
// fills exactly the pixels a straight one fills there.
constexpr double Lead = 3.0;

struct Connection
{
    QPointF at;
    QPointF outward; // unit direction leaving the cell
};

Connection connection(Point p)
{
    const double d = std::numbers::sqrt2 / 2;
    switch (p) {
    case Point::W: return {{0, Mid}, {-1, 0}};
    case Point::NW: return {{0, 0}, {-d, -d}};
    case Point::N: return {{Mid, 0}, {0, -1}};
    case Point::NE: return {{Edge, 0}, {d, -d}};
    case Point::E: return {{Edge, Mid}, {1, 0}};
    case Point::SE: return {{Edge, Edge}, {d, d}};
    case Point::S: return {{Mid, Edge}, {0, 1}};
    case Point::SW: return {{0, Edge}, {-d, d}};
    case Point::Centre: break;
    }
    // The centre is no border point: it has no way out of the cell.
    return {{Mid, Mid}, {0, 0}};
}

Point relabel(const Turn &turn, Point p)
{
    return p == Point::Centre ? p : turn.to[static_cast<std::size_t>(p)];
}

double cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

// Where the straight continuations of two tracks entering at a and b meet;
// the caller makes sure they are not parallel.
QPointF meeting(const Connection &a, const Connection &b)
{
    const double t = cross(b.at - a.at, b.outward) / cross(a.outward, b.outward);
    return a.at + t * a.outward;
}

// The centre of the turned cell: where the turned W-E and N-S tracks cross.
QPointF turnedCentre(const Turn &turn)
{
    return meeting(connection(relabel(turn, Point::W)), connection(relabel(turn, Point::N)));
}

} // namespace

QPainterPath trackPath(Point from, Point to, const Turn &turn)
{
    const Connection a = connection(relabel(turn, from));
    QPainterPath path(a.at + Overrun * a.outward);
    path.lineTo(a.at);
    if (to == Point::Centre) {
        path.lineTo(turnedCentre(turn));
        return path;
    }
    const Connection b = connection(relabel(turn, to));
    if (std::abs(cross(a.outward, b.outward)) < 1e-9) {
        path.lineTo(b.at);
    } else {
        path.lineTo(a.at - Lead * a.outward);
        path.quadTo(meeting(a, b), b.at - Lead * b.outward);
        path.lineTo(b.at);
    }
    path.lineTo(b.at + Overrun * b.outward);
    return path;
}

QTransform fittingTransform(const Turn &turn)
{
    const QPointF centre = turnedCentre(turn);
    const QPointF west = connection(relabel(turn, Point::W)).at - centre;
    // The unturned W lies straight to the left of the centre, at 180 degrees.
    const double degrees = std::atan2(west.y(), west.x()) * 180 / std::numbers::pi - 180;
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(std::round(degrees / 45) * 45);
    t.translate(-Mid, -Mid);
    return t;
}
