#include "bahncalc/servertexte.h"

#include "bahncalc/version.h"

#include <QHash>
#include <QRegularExpression>

QString SrcpFehlertext(int code)
{
    static const QHash<int, QString> texte {
        {400, QStringLiteral("Protokoll nicht unterstützt")},
        {401, QStringLiteral("Verbindungsmodus nicht unterstützt")},
        {402, QStringLiteral("Angaben unvollständig")},
        {410, QStringLiteral("unbekannter Befehl")},
        {411, QStringLiteral("unbekannter Wert")},
        {412, QStringLiteral("falscher Wert")},
        {413, QStringLiteral("zur Zeit nicht erlaubt")},
        {414, QStringLiteral("Gerät gesperrt")},
        {415, QStringLiteral("verboten")},
        {416, QStringLiteral("keine Daten")},
        {417, QStringLiteral("Zeitüberschreitung")},
        {418, QStringLiteral("zu viele Werte")},
        {419, QStringLiteral("zu wenige Werte")},
        {420, QStringLiteral("Geräteprotokoll nicht unterstützt")},
        {421, QStringLiteral("Gerät nicht unterstützt")},
        {422, QStringLiteral("Gerätegruppe nicht unterstützt")},
        {423, QStringLiteral("Vorgang nicht unterstützt")},
        {424, QStringLiteral("Gerät neu initialisiert")},
        {425, QStringLiteral("nicht unterstützt")},
        {499, QStringLiteral("unbestimmter Fehler")},
        {500, QStringLiteral("Server ohne freie Mittel")},
    };
    return texte.value(code);
}

QString Ablehnungstext(const QByteArray &befehl, const Antwort &antwort)
{
    QString grund = SrcpFehlertext(antwort.Code);
    if (grund.isEmpty())
        grund = QString::fromUtf8(antwort.Felder.mid(1).join(' '));
    return QStringLiteral("Server lehnt ab: %1 – %2 %3")
        .arg(QString::fromUtf8(befehl.trimmed()), QString::number(antwort.Code), grund);
}

namespace {

// The versions a greeting offers: every "SRCP x.y…" and "SRCPOTHER x.y…".
QStringList AngeboteneVersionen(const QByteArray &gruss)
{
    static const QRegularExpression muster(QStringLiteral("\\bSRCP(?:OTHER)? (\\d+\\.\\d+(?:\\.\\d+)*)"));
    QStringList versionen;
    for (const QRegularExpressionMatch &m : muster.globalMatch(QString::fromUtf8(gruss)))
        versionen.append(m.captured(1));
    return versionen;
}

} // namespace

bool IstGruss(const QByteArray &line)
{
    return !ZerlegeAntwort(line).Gueltig && !AngeboteneVersionen(line).isEmpty();
}

QString VersionsHinweis(const QByteArray &gruss, int srcpVersion)
{
    const QStringList angeboten = AngeboteneVersionen(gruss);
    const QString gewaehlt = SprichtSrcp08(srcpVersion) ? QStringLiteral("0.8") : QStringLiteral("0.7");
    const bool passt = std::any_of(angeboten.begin(), angeboten.end(),
                                   [&](const QString &v) { return v == gewaehlt || v.startsWith(gewaehlt + '.'); });
    if (angeboten.isEmpty() || passt)
        return {};
    return QStringLiteral("Der Server spricht SRCP %1, eingestellt ist %2: bitte Einstellungen > SRCP Version ändern")
        .arg(angeboten.first(), SprichtSrcp08(srcpVersion) ? QStringLiteral("SRCP 0.80") : QStringLiteral("SRCP 0.73"));
}
