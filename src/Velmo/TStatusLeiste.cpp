#include "Velmo/TStatusLeiste.h"

#include "hilfen/farben.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

// An indicator: a dot in the colour of the state, then its text, in a
// sunken frame. Painted by hand: a rich-text label costs a text document
// and its layout for two characters of colour.
class Ampelanzeige : public QFrame
{
public:
    explicit Ampelanzeige(QWidget *parent) : QFrame(parent) { setFrameStyle(QFrame::Panel | QFrame::Sunken); }

    void Setzen(const QColor &farbe, const QString &text)
    {
        Farbe = farbe;
        Text = text;
        updateGeometry();
        update();
    }

    QSize sizeHint() const override
    {
        const QFontMetrics fm = fontMetrics();
        const int rand = 2 * frameWidth();
        return {fm.horizontalAdvance(Punkt + Text) + fm.horizontalAdvance(' ') + rand, fm.height() + rand};
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter maler(this);
        QRect feld = contentsRect();
        maler.setPen(Farbe);
        maler.drawText(feld, Qt::AlignLeft | Qt::AlignVCenter, Punkt);
        feld.setLeft(feld.left() + fontMetrics().horizontalAdvance(Punkt));
        maler.setPen(palette().color(QPalette::WindowText));
        maler.drawText(feld, Qt::AlignLeft | Qt::AlignVCenter, Text);
    }

private:
    const QString Punkt = QStringLiteral("\u25cf\u00a0");
    QColor Farbe;
    QString Text;
};

TStatusLeiste::TStatusLeiste(QWidget *parent)
    : QFrame(parent)
{
    setObjectName("StatusBar1");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const std::array<int, 3> breiten {200, 300, 0};
    for (int i = 0; i < 3; ++i) {
        Panels[i] = new QLabel(this);
        Panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Panels[i]->setTextInteractionFlags(Qt::NoTextInteraction);
        // The last panel takes the width left over, whatever its text.
        if (breiten[i] > 0)
            Panels[i]->setFixedWidth(breiten[i]);
        else
            Panels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(Panels[i], breiten[i] > 0 ? 0 : 1);
    }
    Zellanzeige = new QLabel(this);
    Zellanzeige->setObjectName("Zellanzeige");
    Zellanzeige->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // As wide as the longest name, so the panels beside it keep still.
    Zellanzeige->setMinimumWidth(Zellanzeige->fontMetrics().horizontalAdvance(QStringLiteral(" Spalte 37, Zeile 26 ")));
    Zellanzeige->hide();
    layout->addWidget(Zellanzeige);
    const std::array<const char *, 2> namen {"Verbindungsanzeige", "Stromanzeige"};
    for (int i = 0; i < 2; ++i) {
        Anzeigen[i] = new Ampelanzeige(this);
        Anzeigen[i]->setObjectName(namen[i]);
        layout->addWidget(Anzeigen[i]);
    }
    Zeigen(Verbindung, QStringLiteral("getrennt"), Ampel::Grau, QStringLiteral("Keine Verbindung zum Server"));
    Zeigen(Strom, QStringLiteral("Strom ?"), Ampel::Grau, QStringLiteral("Fahrstrom unbekannt"));
}

namespace {

QColor Punktfarbe(Ampel farbe)
{
    switch (farbe) {
    case Ampel::Grau:
        return {0x8c, 0x8c, 0x8c};
    case Ampel::Gelb:
        return {0xe8, 0xa0, 0x00};
    case Ampel::Gruen:
        return {0x1e, 0xa0, 0x1e};
    case Ampel::Rot:
        return Warnrot;
    }
    return {};
}

} // namespace

void TStatusLeiste::Zeigen(Anzeige anzeige, const QString &text, Ampel farbe, const QString &tooltip)
{
    Texte[anzeige] = text;
    Farben[anzeige] = farbe;
    Anzeigen[anzeige]->Setzen(Punktfarbe(farbe), text);
    Anzeigen[anzeige]->setToolTip(tooltip);
}

QString TStatusLeiste::AnzeigeText(Anzeige anzeige) const
{
    return Texte[anzeige];
}

Ampel TStatusLeiste::AnzeigeFarbe(Anzeige anzeige) const
{
    return Farben[anzeige];
}

QString TStatusLeiste::AnzeigeTooltip(Anzeige anzeige) const
{
    return Anzeigen[anzeige]->toolTip();
}

void TStatusLeiste::ZelleZeigen(const QString &name)
{
    Zellanzeige->setText(name);
    Zellanzeige->setVisible(!name.isEmpty());
}

QString TStatusLeiste::Zelle() const
{
    return Zellanzeige->isVisibleTo(this) ? Zellanzeige->text() : QString();
}

void TStatusLeiste::SetzeText(int panel, const QString &text)
{
    Volltexte.at(panel) = text;
    Kuerzen(panel);
}

QString TStatusLeiste::Text(int panel) const
{
    return Volltexte.at(panel);
}

QString TStatusLeiste::Gezeigt(int panel) const
{
    return Panels.at(panel)->text();
}

void TStatusLeiste::Kuerzen(int panel)
{
    QLabel *label = Panels[panel];
    const QString &text = Volltexte[panel];
    const int breite = label->contentsRect().width() - 2 * label->margin() - label->fontMetrics().horizontalAdvance(' ');
    const QString gezeigt = label->fontMetrics().elidedText(text, Qt::ElideRight, breite);
    label->setText(gezeigt);
    label->setToolTip(gezeigt == text ? QString() : text);
}

void TStatusLeiste::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    for (int i = 0; i < 3; ++i)
        Kuerzen(i);
}
