#include "srcpdprozess.h"

#include "skriptserver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QByteArray xml(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray loopbackBus(int nummer)
{
    return "  <bus number=\"" + QByteArray::number(nummer) + "\">\n"
           "    <loopback>\n"
           "      <number_fb>16</number_fb>\n"
           "      <number_ga>256</number_ga>\n"
           "      <number_gl>80</number_gl>\n"
           "    </loopback>\n"
           "    <use_watchdog>no</use_watchdog>\n"
           "    <verbosity>3</verbosity>\n"
           "    <auto_power_on>no</auto_power_on>\n"
           "  </bus>\n";
}

} // namespace

QByteArray SrcpdProzess::Konfiguration(int port, const QString &pidDatei, const QByteArray &benutzer,
                                       const QByteArray &gruppe)
{
    // Run as root, srcpd changes to this user and group before it binds its
    // port; an unknown group name would make it fall back to group id 0, so
    // names that cannot be looked up are left out (it then keeps its ids).
    QByteArray server = "      <tcp-port>" + QByteArray::number(port) + "</tcp-port>\n"
                        "      <pid-file>" + xml(pidDatei) + "</pid-file>\n";
    if (!benutzer.isEmpty())
        server += "      <username>" + xml(QString::fromUtf8(benutzer)) + "</username>\n";
    if (!gruppe.isEmpty())
        server += "      <groupname>" + xml(QString::fromUtf8(gruppe)) + "</groupname>\n";
    return "<?xml version=\"1.0\"?>\n"
           "<srcpd version=\"2.0\">\n"
           "  <bus number=\"0\">\n"
           "    <server>\n" + server + "    </server>\n"
           "    <verbosity>3</verbosity>\n"
           "  </bus>\n" + loopbackBus(1) + loopbackBus(2) + "</srcpd>\n";
}

SrcpdProzess::SrcpdProzess()
{
    const QString pfad = qEnvironmentVariable("VELMO_SRCPD");
    if (pfad.isEmpty()) {
        Grund = "VELMO_SRCPD is not set";
        return;
    }
    if (!QFileInfo(pfad).isExecutable()) {
        Grund = "no srcpd at " + pfad + " (scripts/srcpd.sh builds it)";
        return;
    }
    Programm = pfad;
    Prozess.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&Prozess, &QProcess::readyReadStandardOutput, [this] { Log += Prozess.readAllStandardOutput(); });
    // A test that crashes must not leave a server behind.
    Prozess.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    // A port found free can be taken by someone else before srcpd binds it;
    // srcpd then ends at once, and another port is tried.
    for (int versuch = 0; versuch < 3 && !Port; ++versuch)
        if (starten(freierPort(), 5000))
            Grund.clear();
}

bool SrcpdProzess::starten(int port, int fristMs)
{
    const passwd *pw = getpwuid(geteuid());
    const group *gr = getgrgid(getegid());
    const QString konfiguration = Verzeichnis.filePath("srcpd.conf");
    QFile datei(konfiguration);
    if (!datei.open(QIODevice::WriteOnly)
        || datei.write(Konfiguration(port, Verzeichnis.filePath("srcpd.pid"), pw ? pw->pw_name : "",
                                     gr ? gr->gr_name : "")) < 0) {
        Grund = "cannot write " + konfiguration;
        return false;
    }
    datei.close();

    Prozess.start(Programm, {"-n", "-f", konfiguration});
    if (!Prozess.waitForStarted(fristMs)) {
        Grund = "cannot start " + Programm + ": " + Prozess.errorString();
        return false;
    }
    static const QRegularExpression gruss(R"(^srcpd V\S+; SRCP 0\.8\.\d+;)");
    const QDeadlineTimer frist(fristMs);
    while (!frist.hasExpired() && Prozess.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(port));
        if (!probe.waitForConnected(int(qMax<qint64>(1, frist.remainingTime())))) {
            QThread::msleep(20);
            continue;
        }
        while (!probe.canReadLine() && probe.waitForReadyRead(int(qMax<qint64>(1, frist.remainingTime())))) {
        }
        const QByteArray zeile = probe.readLine().trimmed();
        if (gruss.match(QString::fromLatin1(zeile)).hasMatch()) {
            Gruss = zeile;
            Port = port;
            return true;
        }
        Grund = "port " + QString::number(port) + " greets with \"" + QString::fromLatin1(zeile) + "\"";
        break;
    }
    if (Prozess.state() == QProcess::Running) {
        Prozess.kill();
        Prozess.waitForFinished(3000);
        if (Grund.isEmpty())
            Grund = "srcpd did not accept connections on port " + QString::number(port) + " within "
                    + QString::number(fristMs) + " ms";
    } else {
        Prozess.waitForFinished(3000);
        Grund = "srcpd ended at start on port " + QString::number(port) + " with exit code "
                + QString::number(Prozess.exitCode());
    }
    Log += Prozess.readAllStandardOutput();
    if (!Log.isEmpty())
        Grund += "; it printed: " + QString::fromUtf8(Log);
    return false;
}

SrcpdProzess::~SrcpdProzess()
{
    // On SIGTERM srcpd reports "SERVER TERMINATING" and waits two seconds
    // before it closes; a test that wants to see that sends it itself.
    if (Prozess.state() == QProcess::NotRunning)
        return;
    Prozess.kill();
    Prozess.waitForFinished(3000);
}
