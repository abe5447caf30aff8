#include "hilfen/textdatei.h"

#include "hilfen/fehler.h"

#include <QFile>
#include <QSaveFile>

TextLeser::TextLeser(const QString &path)
    : Pfad(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Datei nicht gefunden (%1)").arg(path));
    Inhalt = file.readAll();
}

int TextLeser::LiesZahl()
{
    while (Pos < Inhalt.size() && (Inhalt[Pos] == ' ' || Inhalt[Pos] == '\t' || Inhalt[Pos] == '\n' || Inhalt[Pos] == '\r'))
        ++Pos;
    if (Pos >= Inhalt.size())
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Lesen über Dateiende hinaus (%1)").arg(Pfad));
    qsizetype ende = Pos;
    if (Inhalt[ende] == '-' || Inhalt[ende] == '+')
        ++ende;
    const qsizetype ziffern = ende;
    while (ende < Inhalt.size() && Inhalt[ende] >= '0' && Inhalt[ende] <= '9')
        ++ende;
    bool ok = ende > ziffern;
    const int value = ok ? Inhalt.mid(Pos, ende - Pos).toInt(&ok) : 0;
    if (!ok)
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Ungültige numerische Eingabe (%1)").arg(Pfad));
    const qsizetype zeilenende = Inhalt.indexOf('\n', ende);
    Pos = zeilenende < 0 ? Inhalt.size() : zeilenende + 1;
    return value;
}

QByteArray TextLeser::LiesText()
{
    const qsizetype zeilenende = Inhalt.indexOf('\n', Pos);
    const qsizetype ende = zeilenende < 0 ? Inhalt.size() : zeilenende;
    QByteArray line = Inhalt.mid(Pos, ende - Pos);
    Pos = zeilenende < 0 ? Inhalt.size() : zeilenende + 1;
    return line;
}

TextSchreiber::TextSchreiber(const QString &path)
    : Pfad(path)
{
}

void TextSchreiber::Zahl(int value)
{
    Inhalt += QByteArray::number(value);
    Inhalt += '\n';
}

void TextSchreiber::Text(const QByteArray &text)
{
    Inhalt += text;
    Inhalt += '\n';
}

void TextSchreiber::Fertig()
{
    QSaveFile file(Pfad);
    if (!file.open(QIODevice::WriteOnly) || file.write(Inhalt) != Inhalt.size() || !file.commit())
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Datei kann nicht geschrieben werden (%1): %2")
                              .arg(Pfad, file.errorString()));
}
