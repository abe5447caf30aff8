#pragma once

#include <QByteArray>
#include <QString>

// The colour of a status dot: grey = nothing, amber = on the way or only
// partly, green = in order, red = failed or off.
enum class Ampel { Grau, Gelb, Gruen, Rot };

// What the link indicator of the status bar shows about the command
// connection: the stage, its text and dot, and the server's greeting with
// the version hint as its tooltip.
class Verbindungslage
{
public:
    enum class Stufe { Getrennt, Verbinde, Verbunden, SitzungAbgelehnt, Verloren, VerbindeErneut };

    // "Host verbinden" was chosen, or a reconnect try (counted from 1) begins.
    void Verbinde(int versuch = 0);
    // The command connection is open under version code `srcpVersion`;
    // under SRCP 0.8 the stage waits for the session.
    void Verbunden(int srcpVersion);
    // The SRCP 0.8 session has begun (id above 0) or was refused (id 0).
    void Sitzung(int sessionId);
    // A connect that failed (`fehler`: the system's text) or "Host trennen".
    void Getrennt(const QString &fehler = {});
    // The server ended or broke the connection.
    void Verloren();
    // A reconnect try (from 1) follows in `sekunden`; `fehler` is why the
    // one before it failed.
    void Geplant(int versuch, int sekunden, const QString &fehler);
    // The greeting line of the server and the hint that it speaks another
    // version; both stay until the next connect.
    void Gruss(const QByteArray &gruss, const QString &versionsHinweis);

    Stufe Jetzt() const { return S; }
    QString Text() const;
    Ampel Farbe() const;
    QString Tooltip() const;

private:
    Stufe S = Stufe::Getrennt;
    bool Srcp08 = false;
    int SitzungsId = 0;
    int Versuch = 0;
    QString Fehler;
    QString GrussText;
    QString Hinweis;
    QString Plan;
};
