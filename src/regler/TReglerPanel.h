#pragma once

#include "elemente/BildSpeicher.h"
#include "lokunit/cLocoInfo.h"

#include <QFrame>
#include <functional>

class QLabel;
class QScrollBar;
class QToolButton;
class TKlickBild;

// The ten soft throttles. Throttle n (1 to 10) drives record n - 1 of the
// locomotive table: a vertical slider for the speed (bottom = standstill),
// a direction button, pictures for F0 to F4 and a label with the decoder
// address. The controls carry their names ("ScrollBar3", "Func2_pic10",
// "Regler7_Label", ...) and are found by them. Every operation takes the
// record index i = n - 1 and sends the record through Senden after each
// change it makes.
class TReglerPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int Anzahl = 10;

    // datenDir: the picture directory, with a trailing "/".
    TReglerPanel(QWidget *parent, LokTabelle &loks, const QString &datenDir, std::function<void(int)> senden);

    QLabel *Lokname_label = nullptr;
    QLabel *Lokvmax_Label = nullptr;

    QScrollBar *ScrollBar(int i) const;
    QToolButton *SpeedButton(int i) const;
    // F0 for k = 0, F1 to F4 for k = 1 to 4.
    TKlickBild *Funktionsbild(int i, int k) const;
    QLabel *ReglerLabel(int i) const;

    // Builds the throttle from its record: address, slider range and
    // standstill, name, direction picture. Throttles set up together share
    // one pass of the picture store.
    void ReglerEinrichten(int i, const BildSpeicher::Durchgang *durchgang = nullptr);
    void FunktionsbilderZeigen(int i, const BildSpeicher::Durchgang *durchgang = nullptr);
    void RichtungWechseln(int i);
    void ReglerBewegt(int i);
    // Gives slider i the highlight colour and every other one the button colour.
    void ReglerMarkieren(int i);
    void Funktion0Umschalten(int i);
    // The throttle's address shows red while the server refuses its commands.
    void AbgelehntZeigen(int i, bool abgelehnt);
    // Puts the slider at standstill and the record's speed to match, without sending.
    void Anhalten(int i);
    // Toggles F(k + 1), k = 0 to 3.
    void FunktionUmschalten(int i, int k);

signals:
    void SpeedButtonClick(int i);
    void ScrollBarChange(int i);
    void Func_picClick(int i);
    // F(k + 1) pressed, k = 0 to 3.
    void FuncClick(int i, int k);

private:
    LokTabelle &Loks;
    QString DatenDir;
    std::function<void(int)> Senden;

    template<class W>
    W *Steuerelement(const QString &name) const;
    QImage Bild(const QString &datei, const BildSpeicher::Durchgang *durchgang = nullptr) const;
    void ReglerFarbe(int i, QPalette::ColorRole rolle);
    void NameZeigen(int i);
};
