#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

// "IP-Verbindung": server host, base port and info mode.
class TForm_IP : public QDialog
{
    Q_OBJECT
public:
    explicit TForm_IP(TForm1 &form);

    QLabel *Label_host = nullptr;
    QLineEdit *Host_Edit = nullptr;
    QLabel *Label_port = nullptr;
    QLineEdit *Port_Edit = nullptr;
    QLabel *Label1 = nullptr;
    QCheckBox *Info_CheckBox = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Neuverbinden_CheckBox = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;

    // "speichern": take over host (its control characters made blanks, the
    // blanks around it removed), port, info mode and the automatic
    // reconnect, write the settings file and the side file and close. A
    // port that is not a number or out of range stops it with an error
    // before anything is taken over.
    void Button2Click();
    // "abbrechen": close without a change.
    void Button1Click();

private:
    TForm1 &Form;
};
