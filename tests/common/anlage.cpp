#include "anlage.h"

#include <QtTest>

QByteArray AllesOk(const QByteArray &line)
{
    const QByteArray t = "1796773747.108 ";
    if (line.startsWith("SET CONNECTIONMODE"))
        return t + "202 OK CONNECTIONMODE\n";
    if (line == "GO")
        return t + "200 OK GO 1\n";
    return t + "200 OK\n";
}

Anlage::Anlage(int version, int impuls)
{
    F->ServerHost = "127.0.0.1";
    F->SrcpVersion = version;
    F->ServerPort = Server.port();
    F->VerbindungenEinstellen();
    F->Bahn->Schaltimpuls = impuls;
    if (version == 80)
        Server.Antwort = AllesOk;
    F->show();
    F.Dialogs->FileAnswers = {Work.path() + "bahnhof.pln"};
    F->Neu1Click();
    F.Dialogs->Meldungen.clear();
}

Anlage::~Anlage()
{
    F->Hosttrennen1Click();
}

bool Anlage::Verbunden()
{
    F->Hostverbinden1Click();
    const QByteArray erste = F->SrcpVersion == 70 ? "SET POWER ON" : "GET 3 DESCRIPTION";
    return F->CommandConnected && QTest::qWaitFor([&] { return Server.Zeilen.contains(erste); });
}

QByteArrayList Anlage::Zeilen(qsizetype seit, qsizetype anzahl)
{
    if (!QTest::qWaitFor([&] { return Server.Zeilen.size() >= seit + anzahl; }, 3000))
        qWarning("the server received only %lld lines", qlonglong(Server.Zeilen.size() - seit));
    QTest::qWait(50);
    return Server.Zeilen.mid(seit);
}
