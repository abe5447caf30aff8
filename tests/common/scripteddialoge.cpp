#include "scripteddialoge.h"

#include <QPrinter>

void ScriptedDialoge::Meldung(const QString &text, const QString &caption, Art art)
{
    Meldungen.append({text, caption, art});
}

Dialoge::Antwort ScriptedDialoge::Frage(const QString &text, const QString &caption, bool abbrechbar)
{
    Fragen.append(caption + '|' + text);
    if (FrageAntworten.isEmpty())
        return abbrechbar ? Antwort::Abbrechen : Antwort::Nein;
    const Antwort antwort = FrageAntworten.takeFirst();
    return antwort == Antwort::Abbrechen && !abbrechbar ? Antwort::Nein : antwort;
}

QString ScriptedDialoge::SpeichernUnter(const QString &title, const QString &dir)
{
    DateiDialoge.append(title + '|' + dir);
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

QString ScriptedDialoge::Oeffnen(const QString &title, const QString &dir)
{
    DateiDialoge.append(title + '|' + dir);
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

QString ScriptedDialoge::PdfSpeichernUnter(const QString &title, const QString &pfad)
{
    return SpeichernUnter(title, pfad);
}

bool ScriptedDialoge::Drucker(QPrinter &printer)
{
    // A file name ending in ".pdf" makes the printer write a PDF file.
    const QString datei = SpeichernUnter(QStringLiteral("Drucken"), printer.docName());
    printer.setOutputFileName(datei);
    return !datei.isEmpty();
}

bool ScriptedDialoge::Eingabe(const QString &caption, const QString &prompt, QString &text)
{
    InputPrompts.append(caption + '|' + prompt);
    if (InputAnswers.isEmpty())
        return false;
    const auto [ok, answer] = InputAnswers.takeFirst();
    if (ok)
        text = answer;
    return ok;
}

TestFenster::TestFenster(const QString &workDir)
{
    auto dialoge = std::make_unique<ScriptedDialoge>();
    Dialogs = dialoge.get();
    Form = std::make_unique<TForm1>(workDir, std::move(dialoge));
}
