#include "formip/TForm_IP.h"

#include "Velmo/TForm1.h"
#include "hilfen/fehler.h"
#include "hilfen/texte.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

TForm_IP::TForm_IP(TForm1 &form)
    : QDialog(&form), Form(form)
{
    setObjectName("Form_IP");
    setWindowTitle(QStringLiteral("IP-Verbindung"));
    setFixedSize(369, 234);

    Label_host = new QLabel(QStringLiteral("Hostname (IP-Adresse)"), this);
    Label_host->move(8, 56);
    Host_Edit = new QLineEdit(this);
    Host_Edit->setGeometry(176, 48, 169, 24);
    Label_port = new QLabel(QStringLiteral("Port"), this);
    Label_port->move(112, 104);
    Port_Edit = new QLineEdit(this);
    Port_Edit->setGeometry(176, 96, 65, 24);
    Label1 = new QLabel(QStringLiteral("Info-Modus"), this);
    Label1->move(72, 152);
    Info_CheckBox = new QCheckBox(this);
    Info_CheckBox->move(176, 144);
    Label2 = new QLabel(QStringLiteral("Automatisch neu verbinden"), this);
    Label2->move(8, 172);
    Neuverbinden_CheckBox = new QCheckBox(this);
    Neuverbinden_CheckBox->setObjectName("Neuverbinden_CheckBox");
    Neuverbinden_CheckBox->move(176, 168);
    Button2 = new QPushButton(QStringLiteral("speichern"), this);
    Button2->setGeometry(152, 192, 73, 25);
    Button2->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("abbrechen"), this);
    Button1->setGeometry(240, 192, 73, 25);
    Button1->setAutoDefault(false);
    Button1->setFocus();

    connect(Button2, &QPushButton::clicked, this, [this] { Geschuetzt(*Form.Dialog, [this] { Button2Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Host_Edit->setText(QString::fromUtf8(Form.ServerHost));
    Port_Edit->setText(QString::number(Form.ServerPort));
    Info_CheckBox->setChecked(Form.InfoMode > 0);
    Neuverbinden_CheckBox->setChecked(Form.Seite.AutomatischNeuVerbinden);
}

// Both fields are checked before anything is taken over, so a port that
// is refused leaves the host as it was as well.
void TForm_IP::Button2Click()
{
    PortPruefen(Port_Edit->text());
    const QByteArray host = Einzeilig(Host_Edit->text().toUtf8()).trimmed();
    const std::optional<int> port = Port_Edit->text().isEmpty() ? std::nullopt : std::optional(StrToInt(Port_Edit->text()));
    Host_Edit->setText(QString::fromUtf8(host));
    if (!host.isEmpty())
        Form.ServerHost = host;
    if (port)
        Form.ServerPort = *port;
    Form.VerbindungenEinstellen();
    Form.InfoMode = Info_CheckBox->isChecked() ? 1 : 0;
    Form.Seite.AutomatischNeuVerbinden = Neuverbinden_CheckBox->isChecked();
    Form.Bahn->SaveParameters();
    accept();
}

void TForm_IP::Button1Click()
{
    reject();
}
