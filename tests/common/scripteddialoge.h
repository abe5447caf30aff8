#pragma once

#include "Velmo/Dialoge.h"
#include "Velmo/TForm1.h"

#include <QList>
#include <QStringList>
#include <memory>

// Records every dialog the program shows and answers from queues.
class ScriptedDialoge : public Dialoge
{
public:
    struct Shown
    {
        QString Text;
        QString Caption;
        Art Kind;
    };
    QList<Shown> Meldungen;
    QStringList Fragen;             // "caption|text" of every question
    QList<Antwort> FrageAntworten;  // next answers; none left = the box closed
    QStringList DateiDialoge;       // "title|initial directory" of every file dialog
    QStringList FileAnswers;   // next file dialog results; empty text = cancelled
    // The print dialog answers from FileAnswers too: a PDF file to print to.
    QList<std::pair<bool, QString>> InputAnswers;
    QStringList InputPrompts;  // "caption|prompt" of every input dialog

    void Meldung(const QString &text, const QString &caption, Art art) override;
    Antwort Frage(const QString &text, const QString &caption, bool abbrechbar) override;
    QString SpeichernUnter(const QString &title, const QString &dir) override;
    QString Oeffnen(const QString &title, const QString &dir) override;
    QString PdfSpeichernUnter(const QString &title, const QString &pfad) override;
    bool Drucker(QPrinter &printer) override;
    bool Eingabe(const QString &caption, const QString &prompt, QString &text) override;
};

// A main window over workDir with scripted dialogs, created as the program
// start does; Dialogs stays valid for the window's life.
struct TestFenster
{
    explicit TestFenster(const QString &workDir);
    ScriptedDialoge *Dialogs = nullptr;
    std::unique_ptr<TForm1> Form;
    TForm1 *operator->() const { return Form.get(); }
};
