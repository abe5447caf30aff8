#include "Velmo/Dialoge.h"

#include "Velmo/Druckauftrag.h"

#include "hilfen/texte.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

void QtDialoge::Meldung(const QString &text, const QString &caption, Art art)
{
    const QMessageBox::Icon icon = art == Art::Information ? QMessageBox::Information
                                 : art == Art::Warnung     ? QMessageBox::Warning
                                                           : QMessageBox::Critical;
    // A carriage return inside a message starts a new line on screen.
    QString zeilen = AnzeigeKuerzen(text, MeldungZeichen);
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    QMessageBox box(icon, caption, zeilen, QMessageBox::Ok, Parent);
    box.exec();
}

Dialoge::Antwort QtDialoge::Frage(const QString &text, const QString &caption, bool abbrechbar)
{
    QMessageBox box(QMessageBox::Question, caption, AnzeigeKuerzen(text, MeldungZeichen), QMessageBox::NoButton, Parent);
    QAbstractButton *ja = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QAbstractButton *nein = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.setEscapeButton(abbrechbar ? box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole) : nein);
    box.setDefaultButton(static_cast<QPushButton *>(ja));
    box.exec();
    if (box.clickedButton() == ja)
        return Antwort::Ja;
    if (box.clickedButton() == nein || !abbrechbar)
        return Antwort::Nein;
    return Antwort::Abbrechen;
}

// The file dialogs choose plan files.
static const QString Planfilter = QStringLiteral("Gleisbilder (*.pln);;Alle Dateien (*)");

QString QtDialoge::SpeichernUnter(const QString &title, const QString &dir)
{
    return QFileDialog::getSaveFileName(Parent, title, dir, Planfilter);
}

QString QtDialoge::Oeffnen(const QString &title, const QString &dir)
{
    return QFileDialog::getOpenFileName(Parent, title, dir, Planfilter);
}

QString QtDialoge::PdfSpeichernUnter(const QString &title, const QString &pfad)
{
    return QFileDialog::getSaveFileName(Parent, title, pfad, QStringLiteral("PDF-Dokumente (*.pdf);;Alle Dateien (*)"));
}

bool QtDialoge::Drucker(QPrinter &printer)
{
    return Druckdialog(printer, Parent);
}

bool QtDialoge::Eingabe(const QString &caption, const QString &prompt, QString &text)
{
    bool ok = false;
    const QString eingabe = QInputDialog::getText(Parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = eingabe;
    return ok;
}
