// makedata: generates the Data/ directory of the program, the element
// catalogue Elemente1.dat and every picture the program loads, drawn here so
// that no binary is kept in the sources.

#include "catalogfile.h"
#include "elementtable.h"
#include "iconpainter.h"
#include "programicon.h"
#include "smallpictures.h"

#include <QDir>
#include <QImage>

#include <cstdio>

namespace {

bool saveBmp(const QImage &image, const QDir &dir, const QString &name)
{
    // A picture without alpha channel in 8-bit colour channels is written
    // as a 24-bit BMP.
    if (image.convertToFormat(QImage::Format_RGB888).save(dir.filePath(name), "BMP"))
        return true;
    std::fprintf(stderr, "makedata: cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makedata <output directory>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "makedata: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const Element &element : elementTable())
        for (int state : {1, 2, 3, 11, 12, 13})
            if (!saveBmp(paintIcon(element, state), dir, iconFileName(element.number, state)))
                return 1;
    for (const SmallPicture &picture : smallPictures())
        if (!saveBmp(picture.image, dir, picture.name))
            return 1;
    const QImage programIcon = paintProgramIcon();
    if (!programIcon.save(dir.filePath(QStringLiteral("velmo.png")), "PNG")
        || !windowIcon(programIcon).save(dir.filePath(QStringLiteral("velmo64.png")), "PNG")) {
        std::fprintf(stderr, "makedata: cannot write velmo.png or velmo64.png\n");
        return 1;
    }
    // The catalogue comes last: the build takes it as the sign that Data/ is
    // complete.
    if (!writeCatalogFile(dir.filePath(QStringLiteral("Elemente1.dat")))) {
        std::fprintf(stderr, "makedata: cannot write Elemente1.dat\n");
        return 1;
    }
    return 0;
}
