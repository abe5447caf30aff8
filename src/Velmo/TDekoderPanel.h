#pragma once

#include "bedienung/DekoderDaten.h"

#include <QFrame>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The decoder panel: for each of up to three positions of a placed element
// its icon, the decoder and the output that set it, and the accessory
// protocol. It shows and returns texts; storing them is the main window's.
class TDekoderPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TDekoderPanel(QWidget *parent);

    QLabel *Index_label = nullptr;
    QLabel *Decod_Label = nullptr;
    QLabel *Daten_label = nullptr;
    QLabel *Protokoll_Label = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QLineEdit *Decod_edit1 = nullptr;
    QLineEdit *Decod_edit2 = nullptr;
    QLineEdit *Decod_edit3 = nullptr;
    QLineEdit *Daten_Edit1 = nullptr;
    QLineEdit *Daten_Edit2 = nullptr;
    QLineEdit *Daten_Edit3 = nullptr;
    QLineEdit *Protokoll_Edit = nullptr;
    QPushButton *Speichern_Button = nullptr;

    // Shows rows 1 to anzahl (icon box and both edits) and hides the others.
    void ZeilenZeigen(int anzahl);
    // Index_label shows index; the edits show the texts.
    void TexteZeigen(int index, const DekoderEingaben &texte);
    // The icon box of row 1 to 3 shows the picture.
    void BildZeigen(int zeile, const QImage &bild);
    DekoderEingaben Eingaben() const;

private:
    // The controls of rows 1 to 3.
    std::array<QLabel *, 3> Bilder {};
    std::array<QLineEdit *, 3> Dekoder {};
    std::array<QLineEdit *, 3> Adressen {};
};
