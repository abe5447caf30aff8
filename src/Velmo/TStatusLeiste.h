#pragma once

#include "srcpproto/Verbindungslage.h"

#include <QFrame>
#include <array>

class QLabel;
class Ampelanzeige;

// The status bar: three panels of 200, 300 and the remaining width, and at
// its right end the two indicators of the link and of the track power, each
// a coloured dot with its text. A panel's text that does not fit ends in
// "…" and shows whole as the panel's tooltip. In design mode a field before
// the indicators names the cell under the pointer.
class TStatusLeiste : public QFrame
{
    Q_OBJECT
public:
    enum Anzeige { Verbindung = 0, Strom = 1 };

    explicit TStatusLeiste(QWidget *parent);
    void SetzeText(int panel, const QString &text);
    QString Text(int panel) const;
    // What the panel shows of its text.
    QString Gezeigt(int panel) const;

    void Zeigen(Anzeige anzeige, const QString &text, Ampel farbe, const QString &tooltip);
    QString AnzeigeText(Anzeige anzeige) const;
    Ampel AnzeigeFarbe(Anzeige anzeige) const;
    QString AnzeigeTooltip(Anzeige anzeige) const;
    // The cell field shows `name`; an empty name hides it.
    void ZelleZeigen(const QString &name);
    QString Zelle() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Kuerzen(int panel);

    std::array<QLabel *, 3> Panels {};
    std::array<QString, 3> Volltexte;
    QLabel *Zellanzeige = nullptr;
    std::array<Ampelanzeige *, 2> Anzeigen {};
    std::array<QString, 2> Texte;
    std::array<Ampel, 2> Farben {Ampel::Grau, Ampel::Grau};
};
