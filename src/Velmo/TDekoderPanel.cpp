#include "Velmo/TDekoderPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

template<class W>
W *Kind(QWidget *parent, const QString &name, QPoint platz)
{
    auto *widget = new W(parent);
    widget->setObjectName(name);
    widget->move(platz);
    return widget;
}

} // namespace

TDekoderPanel::TDekoderPanel(QWidget *parent)
    : QFrame(parent)
{
    auto beschriftung = [this](const QString &name, const QString &text, QPoint platz) {
        QLabel *label = Kind<QLabel>(this, name, platz);
        label->setText(text);
        return label;
    };
    auto bild = [this](const QString &name, QPoint platz) {
        QLabel *label = Kind<QLabel>(this, name, platz);
        // A 27-pixel icon in a 25-pixel box shows its top left corner.
        label->setFixedSize(25, 25);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    };
    auto feld = [this](const QString &name, QPoint platz) {
        QLineEdit *edit = Kind<QLineEdit>(this, name, platz);
        edit->setFixedWidth(90);
        return edit;
    };
    Decod_Label = beschriftung("Decod_Label", QStringLiteral("Dekoder"), {150, 5});
    Daten_label = beschriftung("Daten_label", QStringLiteral("Adresse"), {250, 5});
    Index_label = beschriftung("Index_label", QString(), {30, 24});
    Image1 = bild("Image1", {90, 24});
    Image2 = bild("Image2", {90, 52});
    Image3 = bild("Image3", {90, 80});
    Decod_edit1 = feld("Decod_edit1", {150, 24});
    Decod_edit2 = feld("Decod_edit2", {150, 52});
    Decod_edit3 = feld("Decod_edit3", {150, 80});
    Daten_Edit1 = feld("Daten_Edit1", {250, 24});
    Daten_Edit2 = feld("Daten_Edit2", {250, 52});
    Daten_Edit3 = feld("Daten_Edit3", {250, 80});
    Protokoll_Label = beschriftung("Protokoll_Label", QStringLiteral("Protokoll"), {350, 5});
    Protokoll_Edit = feld("Protokoll_Edit", {350, 24});
    Speichern_Button = Kind<QPushButton>(this, "Speichern_Button", {350, 87});
    Speichern_Button->setText(QStringLiteral("Speichern"));
    Bilder = {Image1, Image2, Image3};
    Dekoder = {Decod_edit1, Decod_edit2, Decod_edit3};
    Adressen = {Daten_Edit1, Daten_Edit2, Daten_Edit3};
}

void TDekoderPanel::ZeilenZeigen(int anzahl)
{
    for (int r = 0; r < 3; ++r)
        for (QWidget *widget : std::array<QWidget *, 3> {Bilder[r], Dekoder[r], Adressen[r]})
            widget->setVisible(r < anzahl);
}

void TDekoderPanel::TexteZeigen(int index, const DekoderEingaben &texte)
{
    Index_label->setText(QString::number(index));
    Index_label->adjustSize();
    for (int r = 0; r < 3; ++r) {
        Dekoder[r]->setText(texte.Dekoder[r]);
        Adressen[r]->setText(texte.Adresse[r]);
    }
    Protokoll_Edit->setText(texte.Protokoll);
}

void TDekoderPanel::BildZeigen(int zeile, const QImage &bild)
{
    Bilder.at(zeile - 1)->setPixmap(QPixmap::fromImage(bild));
}

DekoderEingaben TDekoderPanel::Eingaben() const
{
    DekoderEingaben texte;
    for (int r = 0; r < 3; ++r) {
        texte.Dekoder[r] = Dekoder[r]->text();
        texte.Adresse[r] = Adressen[r]->text();
    }
    texte.Protokoll = Protokoll_Edit->text();
    return texte;
}
