#pragma once

#include "lokunit/cLocoInfo.h"

#include <QDialog>
#include <array>
#include <functional>

class Dialoge;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TKlickBild;
class TRadioGruppe;

// "Lokdekoder-Einstellungen": the decoder settings of one locomotive
// record. Symbols for F1 to F4 are picked in the palette and placed into a
// slot through the system clipboard. Confirming stores the fields into the
// record and runs what must follow (the throttle rebuild and the settings
// file); an error there keeps the dialog open.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    // datenDir: the picture directory, with a trailing "/".
    TForm2(QWidget *parent, Dialoge &dialoge, const QString &datenDir);

    // Fills the dialog from lok and shows it modally. version is the SRCP
    // version; bestaetigt runs after the fields are stored.
    void LokDialogOeffnen(cLocoInfo &lok, int version, std::function<void()> bestaetigt);
    // Everything of LokDialogOeffnen but showing the dialog.
    void Fuellen(cLocoInfo &lok, int version, std::function<void()> bestaetigt);

    // The protocol family chosen: true Märklin/Motorola, false DCC/NMRA.
    bool DialogMaerklin = true;
    // The codes placed in F1 to F4.
    std::array<int, 4> DialogFunktionen {};
    // The symbol (1 to 7) picked in the palette and not yet placed; 0 none.
    int DialogSymbol = 0;

    TKlickBild *Image2 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    TRadioGruppe *RadioGroup2 = nullptr;
    TRadioGruppe *RadioGroup1 = nullptr;
    QLineEdit *Adresse_Edit = nullptr;
    QLineEdit *Beschreibung_Edit = nullptr;
    QLineEdit *Vmax_Edit = nullptr;
    QLineEdit *Dekodfn_edit = nullptr;
    QLineEdit *Speed_edit = nullptr;
    QWidget *Panel6 = nullptr;
    std::array<TKlickBild *, 7> Func_image {};
    TKlickBild *Func0 = nullptr;
    // The slots F1 to F8; F5 to F8 are laid out without behaviour.
    std::array<TKlickBild *, 8> Func {};
    QPushButton *OK_Button = nullptr;
    QPushButton *Cancel_Button = nullptr;

    void FormCreate();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    // A press on palette picture n = 1 to 7.
    void Func_imageMouseDown(int n);
    // A press on slot k = 1 to 4.
    void FuncMouseDown(int k, Qt::MouseButton taste);
    void OK_ButtonClick();
    void Cancel_ButtonClick();

private:
    Dialoge &Meldungen;
    QString DatenDir;
    cLocoInfo *Lok = nullptr;
    int Version = 0;
    std::function<void()> Bestaetigt;
    // The slot panels, labels and palette shown or hidden together.
    QList<QWidget *> Funktionssteuerelemente;

    void FunktionenZeigen(bool sichtbar);
    // Shows the variant group of the family and notes the family.
    void FamilieZeigen(bool maerklin);
    QImage Bild(const QString &datei) const;
};
