#pragma once

#include <QString>

class QPrinter;
class QWidget;

// Every message box, file dialog and input dialog of the program goes through
// this interface, so tests can script the answers and read what was shown.
class Dialoge
{
public:
    enum class Art { Information, Warnung, Fehler };
    enum class Antwort { Ja, Nein, Abbrechen };

    virtual ~Dialoge() = default;
    // A message box with one OK button.
    virtual void Meldung(const QString &text, const QString &caption, Art art) = 0;
    // A question with the buttons "Ja", "Nein" and, when abbrechbar,
    // "Abbrechen"; closing the box counts as "Abbrechen" (else "Nein").
    virtual Antwort Frage(const QString &text, const QString &caption, bool abbrechbar) = 0;
    // The chosen file, or an empty text when the dialog was cancelled.
    virtual QString SpeichernUnter(const QString &title, const QString &dir) = 0;
    virtual QString Oeffnen(const QString &title, const QString &dir) = 0;
    // A save dialog for a PDF file, starting at pfad (folder and proposed
    // name); the chosen file, or an empty text when cancelled.
    virtual QString PdfSpeichernUnter(const QString &title, const QString &pfad) = 0;
    // The print dialog: sets up the printer, false when cancelled.
    virtual bool Drucker(QPrinter &printer) = 0;
    // A one-line input; false on Cancel.
    virtual bool Eingabe(const QString &caption, const QString &prompt, QString &text) = 0;
};

// The real dialogs of the toolkit.
class QtDialoge : public Dialoge
{
public:
    explicit QtDialoge(QWidget *parent) : Parent(parent) {}
    void Meldung(const QString &text, const QString &caption, Art art) override;
    Antwort Frage(const QString &text, const QString &caption, bool abbrechbar) override;
    QString SpeichernUnter(const QString &title, const QString &dir) override;
    QString Oeffnen(const QString &title, const QString &dir) override;
    QString PdfSpeichernUnter(const QString &title, const QString &pfad) override;
    bool Drucker(QPrinter &printer) override;
    bool Eingabe(const QString &caption, const QString &prompt, QString &text) override;

private:
    QWidget *Parent;
};
