#include "catalogfile.h"

#include "elementtable.h"

#include <QFile>

namespace {

// The palette is a grid of 28-pixel spots with a one-pixel border.
constexpr int PaletteSpot = 28;

} // namespace

bool writeCatalogFile(const QString &path)
{
    QByteArray text;
    const auto line = [&text](const QByteArray &value) { text += value + '\n'; };
    for (const Element &e : elementTable()) {
        const int column = (e.number - 1) % PaletteColumns;
        const int row = (e.number - 1) / PaletteColumns;
        line(QByteArray::number(e.number));
        line(e.shape->name);
        line(QByteArray::number(PaletteSpot * column + 1));
        line(QByteArray::number(PaletteSpot * row + 1));
        line(QByteArray::number(e.shape->states()));
        line("0");
        for (int state = 1; state <= 3; ++state)
            line(iconFileName(e.number, state).toLatin1());
        for (const QByteArray &name : e.shape->stateNames)
            line(name);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size()
        && file.flush();
}
