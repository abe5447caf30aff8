#include "hilfen/textdatei.h"

#include "hilfen/fehler.h"
#include "hilfen/texte.h"

#include <QFile>
#include <QSaveFile>

#include <charconv>
#include <cerrno>
#include <climits>
#include <cstring>

TextLeser::TextLeser(const QString &path)
    : Pfad(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Datei nicht gefunden (%1)").arg(path));
    Inhalt = file.readAll();
    // A byte-order mark, as some editors write it, is no part of the first value.
    if (Inhalt.startsWith("\xEF\xBB\xBF"))
        Pos = 3;
}

void TextLeser::Fehler(const QString &grund) const
{
    throw VelmoFehler(QStringLiteral("E/A-Fehler: %1 in Zeile %2 (%3)").arg(grund).arg(WertZeile).arg(Pfad));
}

bool TextLeser::AmEnde() const
{
    return Pos >= Inhalt.size();
}

// Moves past the line end at `ende` (or to the end of the file).
void TextLeser::ZeileBeenden(qsizetype ende)
{
    // A number's line usually ends right after it.
    const qsizetype zeilenende = ende < Inhalt.size() && Inhalt.constData()[ende] == '\n' ? ende : Inhalt.indexOf('\n', ende);
    Pos = zeilenende < 0 ? Inhalt.size() : zeilenende + 1;
    if (zeilenende >= 0)
        ++AktuelleZeile;
}

int TextLeser::LiesZahl()
{
    // Read through a plain pointer: a plan file holds a hundred thousand
    // numbers.
    const char *const text = Inhalt.constData();
    const qsizetype groesse = Inhalt.size();
    for (; Pos < groesse; ++Pos) {
        const char c = text[Pos];
        if (c == '\n')
            ++AktuelleZeile;
        else if (c != ' ' && c != '\t' && c != '\r')
            break;
    }
    WertZeile = AktuelleZeile;
    if (AmEnde())
        Fehler(QStringLiteral("Lesen über Dateiende hinaus"));
    // Digits are summed up as they come, without a copy of the line; more
    // than fits into 32 bits is no valid number.
    auto istZiffer = [](char c) { return c >= '0' && c <= '9'; };
    qsizetype ende = Pos;
    const bool negativ = text[ende] == '-';
    if (negativ || text[ende] == '+')
        ++ende;
    const qsizetype ziffern = ende;
    qint64 betrag = 0;
    while (ende < groesse && istZiffer(text[ende]) && betrag <= qint64(INT_MAX) + 1)
        betrag = betrag * 10 + (text[ende++] - '0');
    const bool ziffernEnde = ende >= groesse || !istZiffer(text[ende]);
    const qint64 value = negativ ? -betrag : betrag;
    if (ende == ziffern || !ziffernEnde || value < INT_MIN || value > INT_MAX)
        Fehler(QStringLiteral("Ungültige numerische Eingabe"));
    ZeileBeenden(ende);
    return static_cast<int>(value);
}

QByteArray TextLeser::LiesText()
{
    WertZeile = AktuelleZeile;
    const qsizetype zeilenende = Inhalt.indexOf('\n', Pos);
    const qsizetype ende = zeilenende < 0 ? Inhalt.size() : zeilenende;
    // A CR LF line end counts as LF; a CR elsewhere is read as a blank.
    const qsizetype textende = zeilenende > Pos && Inhalt[zeilenende - 1] == '\r' ? zeilenende - 1 : ende;
    // A plan names the same protocol in cell after cell: a text equal to
    // the last one read shares it instead of taking a copy of its own.
    if (const QByteArrayView text(Inhalt.constData() + Pos, textende - Pos); text != LetzterText)
        LetzterText = Einzeilig(text.toByteArray());
    ZeileBeenden(ende);
    return LetzterText;
}

QByteArray TextLeser::LiesPflichtText()
{
    if (AmEnde()) {
        WertZeile = AktuelleZeile;
        Fehler(QStringLiteral("Lesen über Dateiende hinaus"));
    }
    return LiesText();
}

TextSchreiber::TextSchreiber(const QString &path)
    : Pfad(path)
{
}

void TextSchreiber::Zahl(int value)
{
    char ziffern[16];
    char *ende = std::to_chars(ziffern, ziffern + sizeof ziffern - 1, value).ptr;
    *ende++ = '\n';
    Inhalt.append(ziffern, ende - ziffern);
}

void TextSchreiber::Text(const QByteArray &text)
{
    const QByteArray zeile = Einzeilig(text);
    Inhalt.append(zeile.constData(), zeile.size());
    Inhalt.push_back('\n');
}

void TextSchreiber::Fertig()
{
    DateiErsetzen(Pfad, QByteArray::fromRawData(Inhalt.data(), qsizetype(Inhalt.size())));
}

void DateiErsetzen(const QString &path, const QByteArray &inhalt)
{
    // QSaveFile::commit() would rename the temporary file over the old one
    // even when its own last flush failed, so the flush is checked first.
    // A failed flush leaves no text of its own in the file object; the
    // system's errno says what went wrong.
    GroessengrenzeAlsFehler();
    QSaveFile file(path);
    QString grund;
    if (!file.open(QIODevice::WriteOnly)) {
        grund = file.errorString();
    } else {
        errno = 0;
        if (file.write(inhalt) != inhalt.size() || !file.flush())
            grund = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        else if (!file.commit())
            grund = file.errorString();
    }
    if (!grund.isEmpty())
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Datei kann nicht geschrieben werden (%1): %2").arg(path, grund));
}

void DateiKopieren(const QString &quelle, const QString &ziel)
{
    QFile file(quelle);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Datei kann nicht gelesen werden (%1): %2").arg(quelle, file.errorString()));
    DateiErsetzen(ziel, file.readAll());
}
