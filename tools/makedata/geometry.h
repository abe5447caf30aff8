#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QTransform>

#include <array>

// An icon is a 27 x 27 cell. Track leaves it at eight connection points on
// its border; a buffer stop ends at the centre. The coordinates are those of
// the painter: the horizontal track runs along y = 13.0 and, 4 px wide, fills
// pixel rows 11 to 14 in every cell, so neighbouring cells join without a
// step. The corners are the true cell corners, so diagonal track passes
// through the corner pixels of the diagonal neighbours.
enum class Point { W, NW, N, NE, E, SE, S, SW, Centre };

constexpr int IconSize = 27;

// A turn of the whole drawing, written as the connection point each point
// becomes (in the order W, NW, N, NE, E, SE, S, SW).
struct Turn
{
    std::array<Point, 8> to;
};

constexpr Turn NoTurn{{Point::W, Point::NW, Point::N, Point::NE, Point::E, Point::SE, Point::S, Point::SW}};
constexpr Turn Clockwise90{{Point::N, Point::NE, Point::E, Point::SE, Point::S, Point::SW, Point::W, Point::NW}};
constexpr Turn CounterClockwise45{{Point::SW, Point::W, Point::NW, Point::N, Point::NE, Point::E, Point::SE, Point::S}};
constexpr Turn Clockwise45{{Point::NW, Point::N, Point::NE, Point::E, Point::SE, Point::S, Point::SW, Point::W}};

// The path of a track from one point to another after the turn: straight
// between opposite points and to the centre, otherwise a quadratic bend whose
// control point is where the two tracks would meet if they ran on straight,
// so the bend leaves each point in the direction of the track it joins
// there; a short straight piece at each end keeps the border pixels those of
// a straight track. Both ends run on a little beyond the cell so that flat
// pen caps never show inside it.
QPainterPath trackPath(Point from, Point to, const Turn &turn);

// Maps the unturned frame of the fittings (signals, buffer bars, boxes,
// drawn around the track along y = 13 with the centre at (13, 13)) onto the
// turned track: the rotation follows the relabelling of W, and the centre
// moves to where the turned tracks cross.
QTransform fittingTransform(const Turn &turn);
