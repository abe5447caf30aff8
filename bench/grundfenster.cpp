// The baseline of Velmo's start: a bare Qt main window with Velmo's menu
// bar (the same menus and entries, checkable where Velmo's are, without
// handlers), a status bar of three panels (200, 300 and the rest, as
// Velmo's) and a silver 980 x 680 view as central widget that reports its
// first paint as bench_startzeit does (bench/startlauf.h).
//
//   messlauf bench_grundfenster [SECONDS]
#include "startlauf.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>

#include <cstdio>
#include <initializer_list>

namespace {

// The menus of Velmo's menu bar: caption, then its entries; an entry
// starting with '*' is checkable.
const std::initializer_list<std::initializer_list<const char *>> Menues = {
    {"&Datei", "&Neu", "Ö&ffnen", "&Speichern", "Speichern &als", "Host &verbinden", "Host &trennen", "E&xit"},
    {"&Optionen", "*&Gleisbild entwerfen", "*&Dekoderadressen", "*&Betrieb", "&Fahrstrassen",
     "*Fahrstrassen b&earbeiten", "*&Lokregler"},
    {"&Einstellungen", "&IP-Adresse Host", "&SRCP Version"},
    {"&Rückmeldung", "Abfrage &starten", "Abfrage &beenden", "Rese&t"},
    {"&Befehle", "Power o&n", "Power o&ff", "Dekoder &Programmierung", "freie &Befehle"},
    {"Bild&schirm", "*&automatisch", "*&640x480", "*&800x600", "*&1024x768"},
};

class Ansicht : public QWidget
{
public:
    explicit Ansicht(Startlauf &lauf) : Lauf(lauf)
    {
        setFixedSize(980, 680);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor(192, 192, 192));
        Lauf.Gemalt();
    }

private:
    Startlauf &Lauf;
};

} // namespace

int main(int argc, char *argv[])
{
    const int sekunden = argc > 2 ? -1 : Ruhesekunden(argc, argv, 1);
    if (sekunden < 0) {
        std::fprintf(stderr, "usage: bench_grundfenster [SECONDS]\n");
        return 2;
    }
    QApplication app(argc, argv);
    Startlauf lauf(sekunden);
    QMainWindow fenster;
    for (const auto &menue : Menues) {
        QMenu *eintraege = fenster.menuBar()->addMenu(QString::fromUtf8(*menue.begin()));
        for (auto eintrag = menue.begin() + 1; eintrag != menue.end(); ++eintrag) {
            const bool ankreuzbar = **eintrag == '*';
            eintraege->addAction(QString::fromUtf8(*eintrag + ankreuzbar))->setCheckable(ankreuzbar);
        }
    }
    for (int breite : {200, 300, 0}) {
        auto *panel = new QLabel;
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (breite > 0)
            panel->setFixedWidth(breite);
        fenster.statusBar()->addWidget(panel, breite > 0 ? 0 : 1);
    }
    fenster.setCentralWidget(new Ansicht(lauf));
    fenster.show();
    return app.exec();
}
