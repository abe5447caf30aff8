#include "formip/TForm3.h"

#include "Velmo/TForm1.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

TForm3::TForm3(TForm1 &form)
    : QDialog(&form)
{
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("SRCP Version"));
    setFixedSize(378, 173);

    RadioGroup1 = new QGroupBox(QStringLiteral("SRCP Protokoll Version"), this);
    RadioGroup1->setGeometry(40, 40, 297, 41);
    auto *spalten = new QHBoxLayout(RadioGroup1);
    spalten->setContentsMargins(8, 0, 8, 0);
    Item073 = new QRadioButton(QStringLiteral("SRCP 0.73"), RadioGroup1);
    Item080 = new QRadioButton(QStringLiteral("SRCP 0.80"), RadioGroup1);
    spalten->addWidget(Item073);
    spalten->addWidget(Item080);

    Button1 = new QPushButton(QStringLiteral("speichern"), this);
    Button1->setGeometry(72, 112, 75, 25);
    Button2 = new QPushButton(QStringLiteral("abbrechen"), this);
    Button2->setGeometry(184, 112, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    SetRadioGroup1Index(form.SrcpVersion == SrcpVersion073 ? 0 : 1);
}

int TForm3::RadioGroup1Index() const
{
    return Item073->isChecked() ? 0 : 1;
}

void TForm3::SetRadioGroup1Index(int index)
{
    (index == 0 ? Item073 : Item080)->setChecked(true);
}
