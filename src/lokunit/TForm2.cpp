#include "lokunit/TForm2.h"

TForm2::TForm2(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Lokdekoder-Einstellungen"));
    setFixedSize(595, 514);
}
