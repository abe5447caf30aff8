#include "lokunit/TForm2.h"

#include "Velmo/Geschuetzt.h"
#include "Velmo/TKlickBild.h"
#include "bahncalc/version.h"
#include "bedienung/Lokdialog.h"
#include "elemente/Bilder.h"
#include "lokunit/TRadioGruppe.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template<class W, class... Args>
W *Kind(QWidget *parent, const QString &name, QRect platz, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(platz);
    return widget;
}

QLabel *Beschriftung(QWidget *parent, const QString &name, const QString &text, QPoint platz)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(platz);
    label->adjustSize();
    return label;
}

// A label wider than the room before its edit gets a smaller font, so the
// edit does not cover its end.
void Einpassen(QLabel *label, int breite)
{
    QFont schrift = label->font();
    while (label->sizeHint().width() > breite && schrift.pointSizeF() > 6) {
        schrift.setPointSizeF(schrift.pointSizeF() - 0.5);
        label->setFont(schrift);
    }
    label->adjustSize();
}

QFrame *Rahmen(QWidget *parent, const QString &name, QRect platz)
{
    QFrame *rahmen = Kind<QFrame>(parent, name, platz);
    rahmen->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return rahmen;
}

// The palette's pictures are the symbols in their switched-on look.
constexpr int Einschaltcode = 10;

} // namespace

TForm2::TForm2(QWidget *parent, Dialoge &dialoge, const QString &datenDir)
    : QDialog(parent), Meldungen(dialoge), DatenDir(datenDir)
{
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Lokdekoder-Einstellungen"));
    setFixedSize(595, 514);

    Image2 = new TKlickBild(this, "Image2", {4, 4, 17, 17});
    GroupBox1 = Kind<QGroupBox>(this, "GroupBox1", {120, 40, 353, 41}, QStringLiteral("Protokoll"));
    RadioButton3 = Kind<QRadioButton>(GroupBox1, "RadioButton3", {16, 16, 145, 17}, QStringLiteral("Märklin/Motorola"));
    RadioButton4 = Kind<QRadioButton>(GroupBox1, "RadioButton4", {184, 16, 129, 17}, QStringLiteral("DCC/NMRA"));
    RadioGroup2 = new TRadioGruppe(this, "RadioGroup2", QStringLiteral("Märklin-Dekoder"), {"M1", "M2", "M3", "M4", "M5"}, 5);
    RadioGroup1 = new TRadioGruppe(this, "RadioGroup1", QStringLiteral("DCC-Dekoder"), {"NB", "N1", "N2", "N3", "N4"}, 5);
    for (TRadioGruppe *gruppe : {RadioGroup2, RadioGroup1})
        gruppe->setGeometry(120, 104, 353, 49);

    const struct
    {
        QString Label, Text, Edit;
        int Oben, Breite;
        QLineEdit **Feld;
    } felder[] = {
        {"Label1", QStringLiteral("Lokdekoder-Adresse"), "Adresse_Edit", 168, 97, &Adresse_Edit},
        {"Label2", QStringLiteral("Beschreibung"), "Beschreibung_Edit", 208, 233, &Beschreibung_Edit},
        {"Label3", QStringLiteral("Vmax"), "Vmax_Edit", 248, 65, &Vmax_Edit},
        {"Label10", QStringLiteral("Anzahl der Dekoderfunktionen"), "Dekodfn_edit", 280, 73, &Dekodfn_edit},
        {"Label11", QStringLiteral("Anzahl der Geschwindigkeitsstufen"), "Speed_edit", 320, 73, &Speed_edit},
    };
    for (const auto &feld : felder) {
        Einpassen(Beschriftung(this, feld.Label, feld.Text, {128, feld.Oben + 8}), 328 - 128 - 4);
        *feld.Feld = Kind<QLineEdit>(this, feld.Edit, {328, feld.Oben, feld.Breite, 21});
    }

    QLabel *funktionen = Beschriftung(this, "Label4", QStringLiteral("Funktionen"), {128, 376});
    Panel6 = Rahmen(this, "Panel6", {248, 368, 233, 33});
    for (int n = 1; n <= 7; ++n) {
        const int groesse = n == 7 ? 17 : 15;
        TKlickBild *bild = new TKlickBild(Panel6, QStringLiteral("Func_image%1").arg(n), {16 + 24 * (n - 1), 8, 17, 17});
        bild->Zeigen(Bild(SymbolDatei(n + Einschaltcode)).scaled(groesse, groesse));
        connect(bild, &TKlickBild::Gedrueckt, this, [this, n] { Geschuetzt(Meldungen, [&] { Func_imageMouseDown(n); }); });
        Func_image[n - 1] = bild;
    }

    QLabel *func = Beschriftung(this, "Label5", QStringLiteral("Func"), {128, 416});
    QFrame *panel1 = Rahmen(this, "Panel1", {128, 440, 25, 25});
    Func0 = new TKlickBild(panel1, "Func0", {4, 4, 17, 17});
    Func0->Zeigen(Bild(QStringLiteral("Func_on.bmp")));
    Funktionssteuerelemente = {funktionen, Panel6, func, panel1};
    const int labelLinks[] = {168, 192, 224, 256, 288, 320, 352, 384};
    for (int k = 1; k <= 8; ++k) {
        const int links = k <= 4 ? 160 + 32 * (k - 1) : 288 + 32 * (k - 5);
        QLabel *label = Beschriftung(this, QStringLiteral("Label%1").arg(k <= 4 ? k + 5 : k + 7),
                                     QStringLiteral("F%1").arg(k), {labelLinks[k - 1], 416});
        QFrame *panel = Rahmen(this, QStringLiteral("Panel%1").arg(k <= 4 ? k + 1 : k + 2), {links, 440, 25, 25});
        Func[k - 1] = new TKlickBild(panel, QStringLiteral("Func%1").arg(k), {4, 4, 17, 17});
        if (k <= 4) {
            connect(Func[k - 1], &TKlickBild::Gedrueckt, this,
                    [this, k](Qt::MouseButton taste) { Geschuetzt(Meldungen, [&] { FuncMouseDown(k, taste); }); });
            Funktionssteuerelemente << label << panel;
        }
    }

    OK_Button = Kind<QPushButton>(this, "OK_Button", {216, 480, 73, 25}, QStringLiteral("speichern"));
    Cancel_Button = Kind<QPushButton>(this, "Cancel_Button", {304, 480, 73, 25}, QStringLiteral("abbrechen"));
    // A family's click runs when its button becomes checked, by the user
    // or by opening a record of the other family; a press on the checked
    // button changes nothing.
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool an) { if (an) RadioButton3Click(); });
    connect(RadioButton4, &QRadioButton::toggled, this, [this](bool an) { if (an) RadioButton4Click(); });
    connect(RadioGroup1, &TRadioGruppe::Click, this, &TForm2::RadioGroup1Click);
    connect(RadioGroup2, &TRadioGruppe::Click, this, &TForm2::RadioGroup2Click);
    connect(OK_Button, &QPushButton::clicked, this, &TForm2::OK_ButtonClick);
    connect(Cancel_Button, &QPushButton::clicked, this, &TForm2::Cancel_ButtonClick);
    setTabOrder(Adresse_Edit, Beschreibung_Edit);
    FormCreate();
}

// A picture of the palette from the program's picture directory; a
// missing one leaves its place empty.
QImage TForm2::Bild(const QString &datei) const
{
    return QImage(DatenDir + datei);
}

void TForm2::FormCreate()
{
    DialogMaerklin = true;
    RadioButton3->setChecked(true);
    RadioGroup2->show();
    RadioGroup1->hide();
    DialogSymbol = 0;
}

void TForm2::FunktionenZeigen(bool sichtbar)
{
    for (QWidget *widget : Funktionssteuerelemente)
        widget->setVisible(sichtbar);
}

void TForm2::LokDialogOeffnen(cLocoInfo &lok, int version, std::function<void()> bestaetigt)
{
    Fuellen(lok, version, std::move(bestaetigt));
    exec();
}

void TForm2::Fuellen(cLocoInfo &lok, int version, std::function<void()> bestaetigt)
{
    const LokdialogInhalt inhalt = LokdialogFuellen(lok);
    Lok = &lok;
    Version = version;
    Bestaetigt = std::move(bestaetigt);
    Adresse_Edit->setText(inhalt.Adresse);
    if (inhalt.Maerklin) {
        // The variant is chosen after the family's button is checked, so
        // that button's click cannot reset it.
        (*inhalt.Maerklin ? RadioButton3 : RadioButton4)->setChecked(true);
        FamilieZeigen(*inhalt.Maerklin);
        (*inhalt.Maerklin ? RadioGroup2 : RadioGroup1)->SetzeItemIndex(inhalt.Variante);
    }
    FunktionenZeigen(inhalt.Funktionen);
    Beschreibung_Edit->setText(inhalt.Beschreibung);
    Vmax_Edit->setText(inhalt.Vmax);
    Dekodfn_edit->setText(inhalt.Funktionsanzahl);
    Speed_edit->setText(inhalt.Fahrstufen);
    DialogFunktionen = inhalt.Codes;
    for (int k = 0; k < 4; ++k) {
        QImage bild;
        if (!inhalt.Bilder[k].isEmpty())
            LadeBild(DatenDir + inhalt.Bilder[k], bild);
        Func[k]->Zeigen(bild);
    }
    for (QLineEdit *feld : {Dekodfn_edit, Speed_edit})
        feld->setEnabled(version != SrcpVersion073);
    Adresse_Edit->setFocus();
}

// The function controls follow the variant selected in the group shown.
void TForm2::FamilieZeigen(bool maerklin)
{
    DialogMaerklin = maerklin;
    RadioGroup2->setVisible(maerklin);
    RadioGroup1->setVisible(!maerklin);
    FunktionenZeigen(FunktionenSichtbar((maerklin ? RadioGroup2 : RadioGroup1)->ItemIndex()));
}

void TForm2::RadioButton3Click()
{
    FamilieZeigen(true);
}

void TForm2::RadioButton4Click()
{
    RadioGroup2->SetzeItemIndex(0);
    RadioGroup1->SetzeItemIndex(0);
    FamilieZeigen(false);
}

void TForm2::RadioGroup1Click()
{
    FunktionenZeigen(FunktionenSichtbar(RadioGroup1->ItemIndex()));
}

void TForm2::RadioGroup2Click()
{
    FunktionenZeigen(FunktionenSichtbar(RadioGroup2->ItemIndex()));
}

void TForm2::Func_imageMouseDown(int n)
{
    QGuiApplication::clipboard()->setImage(Func_image[n - 1]->Bild());
    DialogSymbol = n;
}

// A left press places what the clipboard holds: the symbol picked last
// with its off code, or some other picture with code 0. A right press
// empties the slot; the record changes only when the dialog is confirmed.
void TForm2::FuncMouseDown(int k, Qt::MouseButton taste)
{
    QClipboard *ablage = QGuiApplication::clipboard();
    if (taste == Qt::LeftButton) {
        const QImage bild = ablage->image();
        if (bild.isNull())
            return;
        Func[k - 1]->Zeigen(bild);
        ablage->clear();
        DialogFunktionen[k - 1] = DialogSymbol;
        DialogSymbol = 0;
    } else if (taste == Qt::RightButton) {
        Func[k - 1]->Zeigen({});
        DialogFunktionen[k - 1] = 0;
    }
}

void TForm2::OK_ButtonClick()
{
    Geschuetzt(Meldungen, [this] {
        const LokdialogEingaben eingaben {Adresse_Edit->text(), Beschreibung_Edit->text(), Vmax_Edit->text(),
                                          Dekodfn_edit->text(), Speed_edit->text(), DialogMaerklin,
                                          (DialogMaerklin ? RadioGroup2 : RadioGroup1)->ItemIndex(), DialogFunktionen};
        LokdialogSpeichern(*Lok, eingaben, Version);
        Bestaetigt();
        accept();
    });
}

void TForm2::Cancel_ButtonClick()
{
    reject();
}
