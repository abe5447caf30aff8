#include "bahncalc/antworten.h"

#include "hilfen/fehler.h"
#include "hilfen/texte.h"

namespace {

constexpr int KontakteJeModul = 16;

bool IstZiffer(char c)
{
    return c >= '0' && c <= '9';
}

// Moves pos past a run of digits; returns how many there were.
qsizetype Ziffern(const QByteArray &text, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && IstZiffer(text[pos]))
        ++pos;
    return pos - start;
}

// Consumes one blank at pos.
bool Blank(const QByteArray &text, qsizetype &pos)
{
    if (pos < text.size() && text[pos] == ' ') {
        ++pos;
        return true;
    }
    return false;
}

// Returns the word at pos (up to the next blank or the end) and moves past it.
QByteArray Wort(const QByteArray &text, qsizetype &pos)
{
    qsizetype ende = text.indexOf(' ', pos);
    if (ende < 0)
        ende = text.size();
    const QByteArray wort = text.mid(pos, ende - pos);
    pos = ende;
    return wort;
}

// A field that is a decimal integer within 32 bits.
std::optional<int> Ganzzahl(const QByteArray &feld)
{
    bool ok = false;
    const int wert = IstGanzzahlText(QString::fromLatin1(feld)) ? feld.toInt(&ok) : 0;
    return ok ? std::optional<int>(wert) : std::nullopt;
}

} // namespace

Antwort ZerlegeAntwort(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    qsizetype pos = 0;
    Antwort antwort;

    if (Ziffern(text, pos) == 0)
        return antwort;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (Ziffern(text, pos) == 0)
            return antwort;
    }
    if (!Blank(text, pos))
        return antwort;
    const qsizetype codeStart = pos;
    if (Ziffern(text, pos) != 3 || !Blank(text, pos))
        return antwort;
    const QByteArray wort = Wort(text, pos);
    if (wort.isEmpty())
        return antwort;

    antwort.Gueltig = true;
    antwort.Code = text.mid(codeStart, 3).toInt();
    antwort.Text = text.mid(codeStart);
    antwort.Felder = text.mid(codeStart + 4).split(' ');
    antwort.Wort = wort;
    if (wort == "OK" && Blank(text, pos) && Wort(text, pos) == "GO") {
        antwort.IstGo = true;
        if (Blank(text, pos))
            antwort.SessionIdText = text.mid(pos);
    }
    return antwort;
}

std::optional<KontaktWert> Srcp08Rueckmeldung(const QByteArray &line)
{
    const Antwort antwort = ZerlegeAntwort(line);
    if ((antwort.Code != 100 && antwort.Code != 101) || antwort.Felder.size() != 5)
        return std::nullopt;
    const QList<QByteArray> &f = antwort.Felder;
    if (f[0] != "INFO" || f[2] != "FB")
        return std::nullopt;
    const std::optional<int> kontakt = Ganzzahl(f[3]);
    const std::optional<int> wert = Ganzzahl(f[4]);
    const std::optional<int> bus = Ganzzahl(f[1]);
    if (!bus || !kontakt || !wert)
        return std::nullopt;
    return KontaktWert{*kontakt, *wert, *bus};
}

RueckArt RueckmeldungsArt(const QString &line)
{
    if (LeftStr(line, 11) != QLatin1String("INFO FB S88"))
        return RueckArt::Keine;
    return MidStr(line, 13, 1) == QLatin1String("*") ? RueckArt::Alle : RueckArt::Einzel;
}

KontaktWert ZerlegeRueckmeldung(const QString &line)
{
    const QString rest = TrimSteuerzeichen(line.mid(12));
    const qsizetype blank = rest.indexOf(' ');
    const QString kontakt = blank < 0 ? rest : rest.left(blank);
    const QString wert = blank < 0 ? QString() : rest.mid(blank + 1);
    const int nummer = StrToInt(kontakt);
    return {nummer, StrToInt(wert)};
}

QList<KontaktWert> ZerlegeRueckmeldungAlle(const QString &line)
{
    const QString rest = TrimSteuerzeichen(line.mid(14));
    QList<KontaktWert> werte;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] == '0' || rest[i] == '1')
            werte.append({static_cast<int>(i + 1), rest[i] == '1' ? 1 : 0});
    }
    return werte;
}

ModulKontakt KontaktAdresse(int n)
{
    if (n <= 0)
        return {0, 0};
    if (n % KontakteJeModul == 0)
        return {n / KontakteJeModul, KontakteJeModul};
    return {n / KontakteJeModul + 1, n % KontakteJeModul};
}

int KontaktNummer(int modul, int kontakt)
{
    if (modul < 1 || kontakt < 1 || kontakt > KontakteJeModul)
        return 0;
    return KontakteJeModul * (modul - 1) + kontakt;
}
