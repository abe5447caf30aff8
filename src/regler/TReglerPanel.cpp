#include "regler/TReglerPanel.h"

#include "Velmo/TKlickBild.h"
#include "bedienung/Lokregler.h"
#include "elemente/Bilder.h"
#include "hilfen/farben.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

int Links(int i)
{
    return 24 + 40 * i;
}

QString FunktionsbildName(int i, int k)
{
    return k == 0 ? QStringLiteral("Func_pic%1").arg(i + 1) : QStringLiteral("Func%1_pic%2").arg(k).arg(i + 1);
}

// The direction button's picture until its throttle is built: a red arrow
// pointing right.
QImage RoterPfeil()
{
    QImage bild(15, 15, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.setPen(Qt::NoPen);
    maler.setBrush(Qt::red);
    maler.drawRect(2, 6, 6, 3);
    maler.drawPolygon(QPolygon({{8, 2}, {13, 7}, {8, 12}}));
    return bild;
}

} // namespace

TReglerPanel::TReglerPanel(QWidget *parent, LokTabelle &loks, const QString &datenDir, std::function<void(int)> senden)
    : QFrame(parent), Loks(loks), DatenDir(datenDir), Senden(std::move(senden))
{
    for (int i = 0; i < Anzahl; ++i) {
        const int x = Links(i);
        auto *knopf = new QToolButton(this);
        knopf->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        knopf->setGeometry(x, 80, 17, 17);
        knopf->setIconSize({15, 15});
        knopf->setIcon(QPixmap::fromImage(RoterPfeil()));
        knopf->setToolTip(QStringLiteral("Fahrtrichtung wechseln (im Stillstand)\n"
                                         "Im Modus Lokregler: Lokdekoder einstellen"));
        connect(knopf, &QToolButton::clicked, this, [this, i] { emit SpeedButtonClick(i); });

        auto *regler = new QScrollBar(Qt::Vertical, this);
        regler->setObjectName(QStringLiteral("ScrollBar%1").arg(i + 1));
        regler->setGeometry(i == 0 ? 24 : 25 + 40 * i, 0, i == 0 ? 17 : 16, 80);
        regler->setRange(0, 100);
        regler->setValue(100);
        regler->setAutoFillBackground(true);
        regler->setToolTip(QStringLiteral("Geschwindigkeit: nach oben schneller, ganz unten Halt"));
        connect(regler, &QScrollBar::valueChanged, this, [this, i] { emit ScrollBarChange(i); });
        ReglerFarbe(i, i == 0 ? QPalette::Highlight : QPalette::Button);

        for (int k = 0; k <= 4; ++k) {
            auto *bild = new TKlickBild(this, FunktionsbildName(i, k), {x + 21, 8 + 16 * k, 15, 15});
            bild->setToolTip(k == 0 ? QStringLiteral("Licht (F0) ein- und ausschalten")
                                    : QStringLiteral("Funktion F%1 ein- und ausschalten").arg(k));
            if (k == 0)
                connect(bild, &TKlickBild::Geklickt, this, [this, i] { emit Func_picClick(i); });
            else
                connect(bild, &TKlickBild::Geklickt, this, [this, i, k] { emit FuncClick(i, k - 1); });
        }

        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Regler%1_Label").arg(i + 1));
        label->move(x, 96);
        label->setToolTip(QStringLiteral("Dekoderadresse der Lok"));
    }
    Lokname_label = new QLabel(this);
    Lokname_label->setObjectName("Lokname_label");
    Lokname_label->move(432, 72);
    Lokname_label->setToolTip(QStringLiteral("Name der zuletzt bedienten Lok"));
    Lokvmax_Label = new QLabel(this);
    Lokvmax_Label->setObjectName("Lokvmax_Label");
    Lokvmax_Label->move(432, 88);
}

template<class W>
W *TReglerPanel::Steuerelement(const QString &name) const
{
    W *widget = findChild<W *>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT(widget);
    return widget;
}

QScrollBar *TReglerPanel::ScrollBar(int i) const
{
    return Steuerelement<QScrollBar>(QStringLiteral("ScrollBar%1").arg(i + 1));
}

QToolButton *TReglerPanel::SpeedButton(int i) const
{
    return Steuerelement<QToolButton>(QStringLiteral("SpeedButton%1").arg(i + 1));
}

TKlickBild *TReglerPanel::Funktionsbild(int i, int k) const
{
    return Steuerelement<TKlickBild>(FunktionsbildName(i, k));
}

QLabel *TReglerPanel::ReglerLabel(int i) const
{
    return Steuerelement<QLabel>(QStringLiteral("Regler%1_Label").arg(i + 1));
}

// A picture file named by the throttle rules; a file that cannot be read
// raises its error. An empty name is an empty picture.
QImage TReglerPanel::Bild(const QString &datei, const BildSpeicher::Durchgang *durchgang) const
{
    QImage bild;
    if (!datei.isEmpty())
        LadeBild(DatenDir + datei, bild, durchgang);
    return bild;
}

// A slider keeps a palette that already has the colour: a drag marks its
// throttle at every step.
void TReglerPanel::ReglerFarbe(int i, QPalette::ColorRole rolle)
{
    QScrollBar *regler = ScrollBar(i);
    QPalette farben = regler->palette();
    const QColor farbe = palette().color(rolle);
    if (farben.color(QPalette::Window) == farbe && farben.color(QPalette::Button) == farbe)
        return;
    farben.setColor(QPalette::Window, farbe);
    farben.setColor(QPalette::Button, farbe);
    regler->setPalette(farben);
}

void TReglerPanel::NameZeigen(int i)
{
    const QString name = QString::fromUtf8(Loks[i].Lokname);
    if (Lokname_label->text() == name)
        return;
    Lokname_label->setText(name);
    Lokname_label->adjustSize();
}

// Setting the range and the position fires the slider's change handling
// for every change of its position, as a user move would.
void TReglerPanel::ReglerEinrichten(int i, const BildSpeicher::Durchgang *durchgang)
{
    const cLocoInfo &lok = Loks[i];
    QLabel *label = ReglerLabel(i);
    label->setText(QString::number(lok.Adresse));
    label->adjustSize();
    ReglerFarbe(i, QPalette::Highlight);
    QScrollBar *regler = ScrollBar(i);
    regler->setMaximum(ReglerMaximum(lok));
    regler->setValue(ReglerMaximum(lok));
    NameZeigen(i);
    SpeedButton(i)->setIcon(QPixmap::fromImage(Bild(RichtungsbildEinrichten(lok), durchgang)));
}

void TReglerPanel::FunktionsbilderZeigen(int i, const BildSpeicher::Durchgang *durchgang)
{
    const cLocoInfo &lok = Loks[i];
    Funktionsbild(i, 0)->Zeigen(Bild(Funktion0Bild(lok.Funktion0), durchgang));
    const auto bilder = Funktionsbilder(lok);
    for (int k = 0; k < 4; ++k)
        if (bilder[k])
            Funktionsbild(i, k + 1)->Zeigen(Bild(*bilder[k], durchgang));
}

void TReglerPanel::RichtungWechseln(int i)
{
    cLocoInfo &lok = Loks[i];
    if (lok.Adresse <= 0)
        return;
    NameZeigen(i);
    FunktionsbilderZeigen(i);
    const QScrollBar *regler = ScrollBar(i);
    const QString pfeil = RichtungsDruck(lok, regler->value() == regler->maximum());
    if (!pfeil.isEmpty())
        SpeedButton(i)->setIcon(QPixmap::fromImage(Bild(pfeil)));
    Senden(i);
}

void TReglerPanel::ReglerBewegt(int i)
{
    cLocoInfo &lok = Loks[i];
    if (lok.Adresse <= 0)
        return;
    NameZeigen(i);
    lok.Geschwindigkeit = ReglerGeschwindigkeit(lok, ScrollBar(i)->value());
    Senden(i);
}

// Only the sliders whose colour changes get a new palette: every new
// palette makes the style draw and cache the slider's pictures afresh.
void TReglerPanel::ReglerMarkieren(int i)
{
    for (int j = 0; j < Anzahl; ++j)
        ReglerFarbe(j, j == i ? QPalette::Highlight : QPalette::Button);
}

void TReglerPanel::AbgelehntZeigen(int i, bool abgelehnt)
{
    QLabel *label = ReglerLabel(i);
    label->setStyleSheet(abgelehnt ? QStringLiteral("color: %1; font-weight: bold;").arg(QColor(Warnrot).name()) : QString());
}

void TReglerPanel::Anhalten(int i)
{
    QScrollBar *regler = ScrollBar(i);
    const QSignalBlocker still(regler);
    regler->setValue(regler->maximum());
    Loks[i].Geschwindigkeit = ReglerGeschwindigkeit(Loks[i], regler->value());
}

void TReglerPanel::Funktion0Umschalten(int i)
{
    cLocoInfo &lok = Loks[i];
    lok.Funktion0 = lok.Funktion0 == 0 ? 1 : 0;
    Funktionsbild(i, 0)->Zeigen(Bild(Funktion0Bild(lok.Funktion0)));
    Senden(i);
}

void TReglerPanel::FunktionUmschalten(int i, int k)
{
    int &code = Loks[i].Funktionen[k];
    if (code > 0) {
        code = FunktionGeschaltet(code);
        Funktionsbild(i, k + 1)->Zeigen(Bild(SymbolDatei(code)));
    }
    Senden(i);
}
