#include "srcpproto/Verbindungslage.h"

#include "bahncalc/version.h"

#include <QStringList>

void Verbindungslage::Verbinde(int versuch)
{
    S = versuch > 0 ? Stufe::VerbindeErneut : Stufe::Verbinde;
    Versuch = versuch;
    Fehler.clear();
    Plan.clear();
    GrussText.clear();
    Hinweis.clear();
}

void Verbindungslage::Verbunden(int srcpVersion)
{
    Srcp08 = SprichtSrcp08(srcpVersion);
    SitzungsId = 0;
    if (!Srcp08)
        S = Stufe::Verbunden;
}

void Verbindungslage::Sitzung(int sessionId)
{
    SitzungsId = sessionId;
    S = sessionId > 0 ? Stufe::Verbunden : Stufe::SitzungAbgelehnt;
}

void Verbindungslage::Getrennt(const QString &fehler)
{
    S = Stufe::Getrennt;
    Fehler = fehler;
}

void Verbindungslage::Verloren()
{
    S = Stufe::Verloren;
    Plan.clear();
}

void Verbindungslage::Geplant(int versuch, int sekunden, const QString &fehler)
{
    S = Stufe::Verloren;
    Fehler = fehler;
    Plan = QStringLiteral("Neuer Versuch %1 in %2 s").arg(versuch).arg(sekunden);
}

void Verbindungslage::Gruss(const QByteArray &gruss, const QString &versionsHinweis)
{
    GrussText = QString::fromUtf8(gruss.trimmed());
    Hinweis = versionsHinweis;
}

QString Verbindungslage::Text() const
{
    switch (S) {
    case Stufe::Getrennt:
        return QStringLiteral("getrennt");
    case Stufe::Verbinde:
        return QStringLiteral("verbinde …");
    case Stufe::Verbunden:
        return Srcp08 ? QStringLiteral("SRCP 0.8, Sitzung %1").arg(SitzungsId) : QStringLiteral("SRCP 0.73 verbunden");
    case Stufe::SitzungAbgelehnt:
        return QStringLiteral("SRCP 0.8, keine Sitzung");
    case Stufe::Verloren:
        return QStringLiteral("Verbindung verloren");
    case Stufe::VerbindeErneut:
        return QStringLiteral("verbinde erneut (Versuch %1) …").arg(Versuch);
    }
    return {};
}

Ampel Verbindungslage::Farbe() const
{
    switch (S) {
    case Stufe::Getrennt:
        return Ampel::Grau;
    case Stufe::Verbinde:
    case Stufe::VerbindeErneut:
        return Ampel::Gelb;
    case Stufe::Verbunden:
        return Hinweis.isEmpty() ? Ampel::Gruen : Ampel::Gelb;
    case Stufe::SitzungAbgelehnt:
    case Stufe::Verloren:
        return Ampel::Rot;
    }
    return Ampel::Grau;
}

QString Verbindungslage::Tooltip() const
{
    QStringList zeilen;
    if (!GrussText.isEmpty())
        zeilen.append(QStringLiteral("Server: %1").arg(GrussText));
    if (!Hinweis.isEmpty())
        zeilen.append(Hinweis);
    if (!Fehler.isEmpty())
        zeilen.append(Fehler);
    if (!Plan.isEmpty())
        zeilen.append(Plan);
    if (zeilen.isEmpty())
        zeilen.append(S == Stufe::Getrennt ? QStringLiteral("Keine Verbindung zum Server") : Text());
    return zeilen.join('\n');
}
