#include "simprozess.h"

SimProzess::SimProzess(const QString &binDir, const QStringList &optionen)
{
    QObject::connect(&Prozess, &QProcess::readyReadStandardError, [this] { Log += Prozess.readAllStandardError(); });
    Prozess.start(binDir + "/srcpsim", optionen + QStringList {"--port", "0", "--exit-on-eof"});
    if (Prozess.waitForStarted() && Prozess.waitForReadyRead())
        Port = Prozess.readLine().trimmed().toInt();
}

SimProzess::~SimProzess()
{
    Prozess.closeWriteChannel();
    if (!Prozess.waitForFinished(3000))
        Prozess.kill();
}
