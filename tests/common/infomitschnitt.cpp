#include "infomitschnitt.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTimer>

SrcpZeile SrcpZeileLesen(const QByteArray &text, qint64 ankunft)
{
    // srcpd writes "%lu.%.3lu ": seconds, a dot, always three digits of milliseconds.
    static const QRegularExpression form(R"(^(\d+)\.(\d{3}) (.*)$)");
    SrcpZeile z {text, text, -1, ankunft};
    const auto m = form.match(QString::fromLatin1(text));
    if (m.hasMatch()) {
        z.Serverzeit = m.captured(1).toLongLong() * 1000 + m.captured(2).toLongLong();
        z.Rest = m.captured(3).toLatin1();
    }
    return z;
}

bool WarteBis(const std::function<bool()> &fertig, int fristMs)
{
    const QDeadlineTimer frist(fristMs);
    // Wakes the blocking wait below at the deadline at the latest; a precise
    // timer, as a coarse one may fire before the deadline and leave the
    // wait blocked for good.
    QTimer wecker;
    wecker.setSingleShot(true);
    wecker.setTimerType(Qt::PreciseTimer);
    while (!fertig()) {
        if (frist.hasExpired())
            return false;
        wecker.start(int(std::max<qint64>(1, frist.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

SrcpSitzung::SrcpSitzung(int port, const QByteArray &modus, int fristMs)
{
    QObject::connect(&Socket, &QTcpSocket::readyRead, [this] { lesen(); });
    Bereit = handshake(port, modus, fristMs);
}

void SrcpSitzung::lesen()
{
    const qint64 jetzt = QDateTime::currentMSecsSinceEpoch();
    while (Socket.canReadLine()) {
        QByteArray zeile = Socket.readLine();
        zeile.chop(1);
        if (zeile.endsWith('\r'))
            zeile.chop(1);
        Zeilen.append(SrcpZeileLesen(zeile, jetzt));
    }
}

bool SrcpSitzung::handshake(int port, const QByteArray &modus, int fristMs)
{
    const QDeadlineTimer frist(fristMs);
    const auto rest = [&] { return int(qMax<qint64>(1, frist.remainingTime())); };
    // The next handshake line (index n), or nothing once the connection is gone or the time is up.
    const auto zeile = [&](int n) -> const SrcpZeile * {
        WarteBis([&] { return Zeilen.size() > n || Socket.state() == QAbstractSocket::UnconnectedState; }, rest());
        return Zeilen.size() > n ? &Zeilen[n] : nullptr;
    };
    Socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    const SrcpZeile *gruss = zeile(0);
    if (!gruss) {
        Fehler = "no greeting from port " + QByteArray::number(port) + ": " + Socket.errorString().toUtf8();
        return false;
    }
    Gruss = gruss->Text;
    senden("SET CONNECTIONMODE SRCP " + modus);
    const SrcpZeile *modusAntwort = zeile(1);
    if (!modusAntwort || !modusAntwort->Rest.startsWith("202")) {
        Fehler = "CONNECTIONMODE " + modus + ": " + (modusAntwort ? modusAntwort->Text : "<no reply>");
        return false;
    }
    senden("GO");
    static const QRegularExpression go(R"(^200 OK GO (\d+)$)");
    const SrcpZeile *goAntwort = zeile(2);
    const auto m = go.match(QString::fromLatin1(goAntwort ? goAntwort->Rest : QByteArray()));
    if (!m.hasMatch()) {
        Fehler = "GO: " + (goAntwort ? goAntwort->Text : "<no reply>");
        return false;
    }
    Sitzung = m.captured(1).toInt();
    Zeilen.remove(0, 3);
    return true;
}

int SrcpSitzung::warteAuf(const std::function<bool(const SrcpZeile &)> &passt, int fristMs, int ab)
{
    int gefunden = -1;
    int geprueft = qMax(0, ab);
    WarteBis([&] {
        for (; gefunden < 0 && geprueft < Zeilen.size(); ++geprueft)
            if (passt(Zeilen[geprueft]))
                gefunden = geprueft;
        return gefunden >= 0;
    }, fristMs);
    return gefunden;
}

int SrcpSitzung::warteAuf(const QByteArray &rest, int fristMs, int ab)
{
    return warteAuf([&](const SrcpZeile &z) { return z.Rest == rest; }, fristMs, ab);
}

void SrcpSitzung::senden(const QByteArray &zeile)
{
    Socket.write(zeile + "\r\n");
    Socket.flush();
}

SrcpZeile BefehlSitzung::befehl(const QByteArray &zeile, int fristMs)
{
    if (!Bereit)
        return SrcpZeileLesen("<no session: " + Fehler + ">");
    const int n = int(Zeilen.size());
    senden(zeile);
    const int antwort = warteAuf([](const SrcpZeile &) { return true; }, fristMs, n);
    return antwort >= 0 ? Zeilen[antwort] : SrcpZeileLesen("<no reply>");
}

QByteArrayList Befehl(int port, const QByteArrayList &zeilen, int fristMs)
{
    BefehlSitzung sitzung(port, fristMs);
    QByteArrayList antworten;
    for (const QByteArray &zeile : zeilen)
        antworten.append(sitzung.befehl(zeile, fristMs).Rest);
    return antworten;
}
