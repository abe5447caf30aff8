#pragma once

#include <QColor>

// The colours of the generated pictures.
namespace Colour {

inline const QColor Background(192, 192, 192); // the plan and button face
inline const QColor Track(64, 64, 64);
inline const QColor ActiveTrack(0, 0, 0);
inline const QColor InactiveTrack(128, 128, 128);
inline const QColor RouteMark(255, 215, 0);
inline const QColor RouteEdge(0, 0, 0);
inline const QColor Outline(0, 0, 0);

inline const QColor LampRed(220, 0, 0);
inline const QColor LampGreen(0, 170, 0);
inline const QColor LampYellow(255, 200, 0);

inline const QColor Light(240, 240, 240);  // lit edge of a raised button
inline const QColor Shadow(96, 96, 96);    // shaded edge
inline const QColor Face(176, 176, 176);   // face of a button or box at rest
inline const QColor Pressed(255, 255, 255); // face of a pressed, lit button or box

} // namespace Colour
