// The baseline of opening a plan: a plain program that reads the plan file
// Velmo reads (a count line, then 13 lines per cell: number, element, x, y,
// position, three decoders, three outputs, route and protocol) line by line
// and draws each cell's picture ("Icon<element><position>.bmp", both in two
// digits) into a 980 x 680 plan image with QPainter::drawImage. Every
// distinct picture of the plan is decoded once before the timing.
//
//   bench_planleser FILE DATA_DIR
//
//   zellen <cells>
//   dekodieren_ms <ms>       decoding the distinct pictures
//   lesen_zeichnen_ms <ms>   reading the file and drawing every cell (Messteil)
//   mit_dekodieren_ms <ms>   both
#include "messteil.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct Zelle
{
    int Element, X, Y, Stellung;
};

// Stands for a picture: element and position.
int Schluessel(const Zelle &z)
{
    return z.Element * 100 + z.Stellung;
}

class Zeilenleser
{
public:
    explicit Zeilenleser(const std::string &pfad) : Datei(pfad)
    {
        if (!Datei)
            throw std::runtime_error("cannot open " + pfad);
    }
    std::string Zeile()
    {
        ++Nummer;
        if (!std::getline(Datei, Text))
            throw std::runtime_error("the file ends at line " + std::to_string(Nummer));
        return Text;
    }
    int Zahl()
    {
        const std::string text = Zeile();
        int wert = 0;
        const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
        if (fehler != std::errc() || ende != text.data() + text.size())
            throw std::runtime_error("line " + std::to_string(Nummer) + " is no number");
        return wert;
    }

private:
    std::ifstream Datei;
    std::string Text;
    int Nummer = 0;
};

// The cells of the file whose element has a picture (1 to 88), position 1
// for a position below 1.
std::vector<Zelle> Lesen(const std::string &pfad)
{
    Zeilenleser datei(pfad);
    const int anzahl = datei.Zahl();
    std::vector<Zelle> zellen;
    zellen.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        datei.Zahl(); // number
        Zelle z {};
        z.Element = datei.Zahl();
        z.X = datei.Zahl();
        z.Y = datei.Zahl();
        z.Stellung = std::max(1, datei.Zahl());
        for (int feld = 0; feld < 7; ++feld) // decoders, outputs, route
            datei.Zahl();
        datei.Zeile(); // protocol
        if (z.Element >= 1 && z.Element <= 88)
            zellen.push_back(z);
    }
    return zellen;
}

int laufen(const std::string &pfad, const QString &daten)
{
    std::unordered_map<int, QImage> bilder;
    QElapsedTimer uhr;
    uhr.start();
    for (const Zelle &z : Lesen(pfad)) {
        QImage &bild = bilder[Schluessel(z)];
        if (!bild.isNull())
            continue;
        const QString name = QString::asprintf("Icon%02d%02d.bmp", z.Element, z.Stellung);
        bild = QImage(daten + '/' + name);
        if (bild.isNull())
            throw std::runtime_error("cannot decode " + name.toStdString());
    }
    const double dekodieren = uhr.nsecsElapsed() / 1e6;

    QImage plan(980, 680, QImage::Format_RGB32);
    plan.fill(QColor(192, 192, 192));
    std::size_t gezeichnet = 0;
    const double zeichnen = Messteil([&] {
        QPainter maler(&plan);
        for (const Zelle &z : Lesen(pfad)) {
            maler.drawImage(QPoint(z.X, z.Y), bilder.at(Schluessel(z)));
            ++gezeichnet;
        }
    });
    std::printf("zellen %zu\ndekodieren_ms %.2f\nlesen_zeichnen_ms %.2f\nmit_dekodieren_ms %.2f\n", gezeichnet,
                dekodieren, zeichnen, dekodieren + zeichnen);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_planleser FILE DATA_DIR\n");
        return 2;
    }
    try {
        return laufen(argv[1], QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception &fehler) {
        std::fprintf(stderr, "bench_planleser: %s\n", fehler.what());
        return 1;
    }
}
