#include "programicon.h"

#include "elementtable.h"
#include "iconpainter.h"

#include <QPainter>

namespace {

constexpr int ProgramIconSize = 256;
constexpr int Zoom = 3;
constexpr int Cell = IconSize;

// Element numbers by row; 0 leaves the cell empty: a siding leaving the
// main track at a turnout behind its signal, and a track with a contact.
constexpr int Diagram[3][3] = {
    {1, 3, 0},
    {1, 15, 8},
    {1, 65, 1},
};

} // namespace

QImage paintProgramIcon()
{
    // Premultiplied, the painter's own format: painting on plain ARGB32 converts
    // the picture in place on worker threads and back.
    QImage icon(ProgramIconSize, ProgramIconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(64, 64, 64), 6));
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRoundedRect(QRectF(3, 3, ProgramIconSize - 6, ProgramIconSize - 6), 28, 28);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int rand = (ProgramIconSize - 3 * Cell * Zoom) / 2;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int number = Diagram[row][column];
            if (number == 0)
                continue;
            const QImage cell = paintIcon(elementTable()[number - 1], 1);
            // Pixels stay pixels: the icon shows what the plan shows.
            painter.drawImage(QRect(rand + column * Cell * Zoom, rand + row * Cell * Zoom, Cell * Zoom, Cell * Zoom),
                              cell.copy(0, 0, Cell, Cell));
        }
    return icon;
}
