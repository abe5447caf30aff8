#pragma once

#include "scripteddialoge.h"
#include "skriptserver.h"
#include "testwork.h"

#include <QByteArrayList>

// Every line answered as an SRCP 0.8 server accepts it.
QByteArray AllesOk(const QByteArray &line);

// A window on a new plan, shown, set up for a scripted server under SRCP
// 0.73 (70) or 0.80 (80) with a pulse of `impuls` ms; Hosttrennen at the end.
struct Anlage
{
    TestWorkDir Work;
    TestFenster F {Work.path()};
    SkriptServer Server;

    explicit Anlage(int version = 70, int impuls = 100);
    ~Anlage();
    // Connects and waits for the server's first line after the handshake.
    bool Verbunden();
    // The lines the server received after the first `seit`, once `anzahl`
    // are there and nothing more came.
    QByteArrayList Zeilen(qsizetype seit, qsizetype anzahl);
};
