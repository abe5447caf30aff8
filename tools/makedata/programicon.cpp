#include "programicon.h"

#include "elementtable.h"
#include "iconpainter.h"

#include <QPainter>

#include <unordered_map>

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

// The picture with a colour table of its own colours, pixel for pixel the
// same (Qt's own conversion to 8 bits would approximate them); a picture
// of more than 256 colours stays as it is.
QImage exactlyIndexed(const QImage &picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    std::unordered_map<QRgb, int> indices;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        uchar *target = indexed.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const auto found = indices.try_emplace(row[x], int(indices.size()));
            if (indices.size() > 256)
                return picture;
            target[x] = uchar(found.first->second);
        }
    }
    QList<QRgb> table(indices.size());
    for (const auto &[colour, index] : indices)
        table[index] = colour;
    indexed.setColorTable(table);
    return indexed;
}

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
    painter.end();
    return exactlyIndexed(icon);
}

QImage windowIcon(const QImage &programIcon)
{
    return programIcon.convertToFormat(QImage::Format_ARGB32)
        .scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
