#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The simulator srcpsim from `binDir`, started on a free port with the given
// options and --exit-on-eof; the first line it prints is that port. Its log
// (standard error) collects in Log. It ends when its standard input closes,
// or is killed after 3 s.
struct SimProzess
{
    SimProzess(const QString &binDir, const QStringList &optionen);
    ~SimProzess();

    QProcess Prozess;
    QByteArray Log;
    int Port = 0; // 0 when it did not start
};
