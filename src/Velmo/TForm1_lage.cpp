// What the operator sees of the link: the two indicators, the server's
// refusals on their cells and throttles, and the emergency stop.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TStatusLeiste.h"
#include "bahncalc/servertexte.h"
#include "hilfen/farben.h"
#include "regler/TReglerPanel.h"

#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

void TForm1::LageZeigen()
{
    StatusBar1->Zeigen(TStatusLeiste::Verbindung, Lage.Text(), Lage.Farbe(), Lage.Tooltip());
}

void TForm1::StromZeigen()
{
    StatusBar1->Zeigen(TStatusLeiste::Strom, Strom.Text(), Strom.Farbe(), Strom.Tooltip());
}

void TForm1::Beantwortet(const QByteArray &befehl, const Antwort &antwort)
{
    if (antwort.Fehler()) {
        StatusBar1->SetzeText(1, Ablehnungstext(befehl, antwort));
    } else {
        Strom.Angenommen(befehl);
        StromZeigen();
    }
    if (Abgelehnt.Beantwortet(befehl, antwort.Fehler()))
        MarkenZeigen();
}

void TForm1::MarkenZeigen()
{
    QList<QRect> rahmen;
    const QRect sicht(QPoint(ScrollX, ScrollY), Velmo->BildGroesse());
    for (int i = 1; !Abgelehnt.Leer() && i <= Dokument.Zellen.PosAnzahl; ++i) {
        const C_Position &p = Dokument.Zellen.Positionen[i];
        const QRect zelle(p.X, p.Y, RasterGroesse, RasterGroesse);
        if (!IstLoch(p) && zelle.intersects(sicht) && Abgelehnt.ZelleMarkiert(p, Bahn->Busse()))
            rahmen.append(zelle.translated(-ScrollX, -ScrollY));
    }
    Velmo->RahmenSetzen(rahmen);
    for (int i = 0; i < TReglerPanel::Anzahl; ++i)
        Regler_panel->AbgelehntZeigen(i, Abgelehnt.LokMarkiert(Lokomotiven[i], Bahn->Busse()));
}

void TForm1::NothaltErzeugen()
{
    Nothalt_Button = new QPushButton(QStringLiteral("Nothalt"), menuBar());
    Nothalt_Button->setObjectName("Nothalt_Button");
    Nothalt_Button->setFocusPolicy(Qt::NoFocus);
    Nothalt_Button->setToolTip(QStringLiteral("Fahrstrom sofort aus, auf allen Bussen (Pause oder F12)"));
    // Solid red with white letters: a flat button on its own red background,
    // in the window's font. A style sheet or a bold face would cost every
    // start a tenth of its instructions.
    QPalette rot = Nothalt_Button->palette();
    for (QPalette::ColorRole flaeche : {QPalette::Window, QPalette::Button})
        rot.setColor(flaeche, QColor(Warnrot));
    rot.setColor(QPalette::ButtonText, Qt::white);
    Nothalt_Button->setPalette(rot);
    Nothalt_Button->setFlat(true);
    Nothalt_Button->setAutoFillBackground(true);
    menuBar()->setCornerWidget(Nothalt_Button, Qt::TopRightCorner);
    connect(Nothalt_Button, &QPushButton::clicked, this, [this] { Geschuetzt(*Dialog, [this] { NothaltClick(); }); });
    for (const QKeySequence &taste : {QKeySequence(Qt::Key_Pause), QKeySequence(Qt::Key_F12)}) {
        auto *kurz = new QShortcut(taste, this);
        kurz->setContext(Qt::ApplicationShortcut);
        connect(kurz, &QShortcut::activated, this, [this] { Geschuetzt(*Dialog, [this] { NothaltClick(); }); });
    }
}

void TForm1::NothaltClick()
{
    StromWunsch = false;
    QString text = QStringLiteral("Nothalt: nicht verbunden, nichts gesendet");
    if (Command_Socket.connected()) {
        Bahn->Power(false);
        Strom.Nothalt();
        StromZeigen();
        text = QStringLiteral("Nothalt: Strom aus an alle Busse gesendet");
    }
    ProtokollZeile(text);
    SendehinweisZeigen(text);
}
