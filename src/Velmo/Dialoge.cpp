#include "Velmo/Dialoge.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

void QtDialoge::Meldung(const QString &text, const QString &caption, Art art)
{
    const QMessageBox::Icon icon = art == Art::Information ? QMessageBox::Information
                                 : art == Art::Warnung     ? QMessageBox::Warning
                                                           : QMessageBox::Critical;
    // A carriage return inside a message starts a new line on screen.
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    QMessageBox box(icon, caption, zeilen, QMessageBox::Ok, Parent);
    box.exec();
}

QString QtDialoge::SpeichernUnter(const QString &title, const QString &dir)
{
    return QFileDialog::getSaveFileName(Parent, title, dir);
}

QString QtDialoge::Oeffnen(const QString &title, const QString &dir)
{
    return QFileDialog::getOpenFileName(Parent, title, dir);
}

bool QtDialoge::Eingabe(const QString &caption, const QString &prompt, QString &text)
{
    bool ok = false;
    const QString eingabe = QInputDialog::getText(Parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = eingabe;
    return ok;
}
