// The SRCP server simulator, run as its own process and driven over TCP.

#include "testwork.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

namespace {

const QByteArray NoLine = "<no line>";

// srcpsim started with "--port 0 --exit-on-eof"; its first stdout line is
// the base port it chose.
class Simulator
{
public:
    explicit Simulator(const QStringList &extra = {})
    {
        Process.setProgram(builtBinDir() + "/srcpsim");
        Process.setArguments(QStringList{"--port", "0", "--exit-on-eof"} + extra);
        Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process.start();
        if (!Process.waitForStarted(5000))
            return;
        QDeadlineTimer deadline(5000);
        while (!Process.canReadLine() && !deadline.hasExpired())
            Process.waitForReadyRead(int(deadline.remainingTime()));
        const QByteArray first = Process.readLine().trimmed();
        Port = quint16(first.toUInt());
    }
    ~Simulator()
    {
        if (Process.state() != QProcess::NotRunning) {
            Process.kill();
            Process.waitForFinished(3000);
        }
    }
    quint16 port() const { return Port; }
    bool running() const { return Process.state() == QProcess::Running; }
    void type(const QByteArray &text)
    {
        Process.write(text);
        Process.waitForBytesWritten(3000);
    }
    // Closes standard input; returns the exit code, or -1 if it did not stop.
    int stop()
    {
        Process.closeWriteChannel();
        if (!Process.waitForFinished(5000))
            return -1;
        return Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
    }

private:
    QProcess Process;
    quint16 Port = 0;
};

class Client
{
public:
    bool open(quint16 port)
    {
        Socket.connectToHost(QHostAddress::LocalHost, port);
        return Socket.waitForConnected(3000);
    }
    void send(const QByteArray &bytes)
    {
        Socket.write(bytes);
        while (Socket.bytesToWrite() > 0 && Socket.waitForBytesWritten(3000)) {
        }
    }
    // The next line without its line feed, or NoLine after the time-out.
    QByteArray line(int timeoutMs = 3000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!Socket.canReadLine() && !deadline.hasExpired())
            Socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        if (!Socket.canReadLine())
            return NoLine;
        QByteArray l = Socket.readLine();
        l.chop(1);
        return l;
    }
    bool silentFor(int ms)
    {
        Socket.waitForReadyRead(ms);
        return Socket.bytesAvailable() == 0;
    }
    void abort() { Socket.abort(); }

private:
    QTcpSocket Socket;
};

// An SRCP 0.8 line "<seconds>.<millis> <rest>"; returns <rest>, or the
// whole line marked as bad when the time stamp is missing or implausible.
QByteArray afterStamp(const QByteArray &line)
{
    static const QRegularExpression form(R"(^(\d+)\.\d{3} (.*)$)");
    const auto m = form.match(QString::fromLatin1(line));
    if (!m.hasMatch())
        return "<no time stamp> " + line;
    const qint64 seconds = m.captured(1).toLongLong();
    if (qAbs(seconds - QDateTime::currentSecsSinceEpoch()) > 60)
        return "<time stamp is not the current Unix time> " + line;
    return m.captured(2).toLatin1();
}

bool isGreeting(const QByteArray &line, const QByteArray &other = "0.7.3")
{
    const QRegularExpression form(R"(^srcpsim \S+; SRCP 0\.8\.\d+; SRCPOTHER )"
                                  + QRegularExpression::escape(QString::fromLatin1(other)) + '$');
    return form.match(QString::fromLatin1(line)).hasMatch();
}

// Handshake on a fresh connection (COMMAND or INFO); the session id, or -1.
int startSession(Client &cmd, const QByteArray &kind = "COMMAND")
{
    cmd.send("SET CONNECTIONMODE SRCP " + kind + "\r\n");
    if (afterStamp(cmd.line()) != "202 OK CONNECTIONMODE")
        return -1;
    cmd.send("GO\r\n");
    static const QRegularExpression go(R"(^200 OK GO (\d+)$)");
    const auto m = go.match(QString::fromLatin1(afterStamp(cmd.line())));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Reads past other lines to the first one whose text after the time stamp
// starts with `prefix`; that text, or NoLine.
QByteArray skipTo(Client &client, const QByteArray &prefix)
{
    for (QByteArray l = client.line(); l != NoLine; l = client.line())
        if (afterStamp(l).startsWith(prefix))
            return afterStamp(l);
    return NoLine;
}

} // namespace

class TestSrcpsim : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Simulator> Sim;
    // SRCP 0.8 simulators by their --buses value ("" = the default).
    std::map<QString, std::unique_ptr<Simulator>> Sims08;

    Simulator &sim08(const QString &buses)
    {
        auto &sim = Sims08[buses];
        if (!sim)
            sim = std::make_unique<Simulator>(QStringList{"--srcp", "0.8"}
                                              + (buses.isEmpty() ? QStringList() : QStringList{"--buses", buses}));
        return *sim;
    }

    // A client on base port + offset that has read its greeting.
    bool connectGreeted(Client &client, int offset)
    {
        return client.open(quint16(Sim->port() + offset)) && isGreeting(client.line());
    }

private slots:
    void initTestCase()
    {
        Sim = std::make_unique<Simulator>();
        QVERIFY2(Sim->port() != 0, "srcpsim did not print its base port");
    }

    void cleanupTestCase()
    {
        // Closing standard input ends it normally.
        QCOMPARE(Sim->stop(), 0);
        for (auto &[buses, sim] : Sims08)
            QCOMPARE(sim->stop(), 0);
    }

    void greetsOnAllThreePorts()
    {
        for (int offset = 0; offset < 3; ++offset) {
            Client client;
            QVERIFY(client.open(quint16(Sim->port() + offset)));
            const QByteArray greeting = client.line();
            QVERIFY2(isGreeting(greeting), greeting.constData());
        }
    }

    void srcp073CommandsAreSilentAndReportedInTheirForm()
    {
        Client info, cmd;
        QVERIFY(connectGreeted(info, 2));
        QVERIFY(connectGreeted(cmd, 0));
        cmd.send("SET POWER ON\n"
                 "SET GA M 18 0 1 -1\r\n"
                 "SET GL M2 3 1 12 28 1 2 1 0 \n"
                 // refused: unknown, wrong count, bad protocol, function count mismatch
                 "FOO BAR\n"
                 "SET GA M 18 0 1\n"
                 "SET GA X 18 0 1 -1\n"
                 "SET GL M2 3 1 12 28 1 2 1\n"
                 "SET GA N 5 1 0 -1\n");
        QCOMPARE(info.line(), QByteArray("INFO POWER ON"));
        QCOMPARE(info.line(), QByteArray("INFO GA M 18 0 1"));
        QCOMPARE(info.line(), QByteArray("INFO GL M2 3 1 12 28 1 2 1 0"));
        QCOMPARE(info.line(), QByteArray("INFO GA N 5 1 0"));
        QVERIFY(info.silentFor(100));
        QVERIFY2(cmd.silentFor(200), "an SRCP 0.7.3 client got a reply");
    }

    void handshakeRepliesAndSessionIds()
    {
        Client first, second;
        QVERIFY(connectGreeted(first, 0));
        QVERIFY(connectGreeted(second, 0));

        // GO before the connection mode, and commands between mode and GO, are refused.
        first.send("GO\n");
        QVERIFY(afterStamp(first.line()).startsWith("402 ERROR"));
        first.send("SET CONNECTIONMODE SRCP INFO\n");
        QCOMPARE(afterStamp(first.line()), QByteArray("401 ERROR unsupported connection mode"));
        first.send("SET CONNECTIONMODE SRCP COMMAND\n");
        QCOMPARE(afterStamp(first.line()), QByteArray("202 OK CONNECTIONMODE"));
        first.send("SET 1 POWER ON\n");
        QVERIFY(afterStamp(first.line()).startsWith("402 ERROR"));
        first.send("GO\n");
        const QByteArray go = first.line();
        QVERIFY2(QRegularExpression(R"(^\d+\.\d{3} 200 OK GO \d+$)").match(QString::fromLatin1(go)).hasMatch(),
                 go.constData());
        const int firstId = afterStamp(go).mid(10).toInt();

        QCOMPARE(startSession(second), firstId + 1);
        Client third;
        QVERIFY(connectGreeted(third, 0));
        QCOMPARE(startSession(third), firstId + 2);
    }

    void srcp08AccessoryLocoAndPower()
    {
        Client info, cmd;
        QVERIFY(connectGreeted(info, 2));
        QVERIFY(connectGreeted(cmd, 0));
        QVERIFY(startSession(cmd) > 0);

        // Accessories and locomotives need INIT first.
        cmd.send("SET 2 GA 40 1 1 -1\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("416 ERROR no data"));
        cmd.send("GET 2 GL 7\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("416 ERROR no data"));

        cmd.send("INIT 2 GA 40 N\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        cmd.send("SET 2 GA 40 1 1 -1\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(info.line()), QByteArray("100 INFO 2 GA 40 1 1"));
        // The address is known on bus 2 only.
        cmd.send("SET 1 GA 40 1 1 -1\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("416 ERROR no data"));

        cmd.send("INIT 2 GL 7 N 2 14 4\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        cmd.send("SET 2 GL 7 1 12 28 1 1 \n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(info.line()), QByteArray("100 INFO 2 GL 7 1 12 28 1 1"));

        cmd.send("SET 3 POWER ON\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(info.line()), QByteArray("100 INFO 3 POWER ON"));

        // The state set above is read back.
        cmd.send("GET 2 GA 40 1\nGET 2 GL 7\nGET 3 POWER\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("100 INFO 2 GA 40 1 1"));
        QCOMPARE(afterStamp(cmd.line()), QByteArray("100 INFO 2 GL 7 1 12 28 1 1"));
        QCOMPARE(afterStamp(cmd.line()), QByteArray("100 INFO 3 POWER ON"));

        // After TERM the locomotive is unknown again.
        cmd.send("TERM 2 GL 7\nGET 2 GL 7\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(cmd.line()), QByteArray("416 ERROR no data"));
        QVERIFY(info.silentFor(100));
    }

    void srcp08RefusesWrongLines()
    {
        Client info, cmd;
        QVERIFY(connectGreeted(info, 2));
        QVERIFY(connectGreeted(cmd, 0));
        QVERIFY(startSession(cmd) > 0);
        cmd.send("INIT 1 GA 18 M\nINIT 1 GL 3 M 2 14 4\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));

        const QList<QPair<QByteArray, QByteArray>> cases = {
            {"SET GA M 18 0 1 -1", "422 ERROR unsupported device group"},
            {"SET POWER ON", "422 ERROR unsupported device group"},
            {"SET 1 XYZ 1", "422 ERROR unsupported device group"},
            {"FROBNICATE 1 GA 18", "410 ERROR unknown command"},
            {"", "419 ERROR list too short"},
            {"SET 1 GA 18 0 1", "419 ERROR list too short"},
            {"SET 1 GL 3 1 12 28", "419 ERROR list too short"},
            {"SET 1 GA 18 0 1 -1 5", "418 ERROR list too long"},
            {"INIT 1 GA 18 M 7", "418 ERROR list too long"},
            {"SET 1 GA x 0 1 -1", "412 ERROR wrong value"},
            {"SET 1 GA 18 2 1 -1", "412 ERROR wrong value"},
            {"SET 1 GL 3 1 12 28 7", "412 ERROR wrong value"},
            {"SET 1 POWER MAYBE", "412 ERROR wrong value"},
            {"SET 4 POWER ON", "412 ERROR wrong value"},
            {"SET 0 GA 18 0 1 -1", "412 ERROR wrong value"},
        };
        for (const auto &[line, expected] : cases) {
            cmd.send(line + "\n");
            QCOMPARE(afterStamp(cmd.line()), expected);
        }
        // None of them changed anything; the next accepted command is the first report.
        cmd.send("SET 1 GA 18 0 0 -1\n");
        QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QCOMPARE(afterStamp(info.line()), QByteArray("100 INFO 1 GA 18 0 0"));
    }

    void srcp08OnePortGreetsAndHandshakesBothKinds()
    {
        Simulator &sim = sim08("");
        QVERIFY(sim.port() != 0);
        Client info, cmd;
        QVERIFY(info.open(sim.port()) && cmd.open(sim.port()));
        QVERIFY(isGreeting(info.line(), "0.8.3"));
        QVERIFY(isGreeting(cmd.line(), "0.8.3"));
        // Before the handshake only its own lines are understood.
        info.send("GO\nGET 1 POWER\n");
        QCOMPARE(afterStamp(info.line()), QByteArray("402 ERROR insufficient data"));
        QCOMPARE(afterStamp(info.line()), QByteArray("402 ERROR insufficient data"));
        const int infoId = startSession(info, "INFO");
        QVERIFY(infoId > 0);
        QCOMPARE(startSession(cmd), infoId + 1);
        // The info session hears of the command session, after its own state.
        QCOMPARE(skipTo(info, "101 INFO 0 SESSION"), "101 INFO 0 SESSION " + QByteArray::number(infoId + 1) + " COMMAND");
        // A command session answers; an info session ignores what it is sent.
        cmd.send("GET 1 POWER\n");
        QVERIFY(afterStamp(cmd.line()).startsWith("100 INFO 1 POWER"));
        info.send("SET 1 POWER ON\n");
        QVERIFY(info.silentFor(100));
    }

    void srcp08CommandReplies_data()
    {
        QTest::addColumn<QString>("buses");
        QTest::addColumn<QByteArray>("given"); // lines sent first, their replies skipped
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray busDescription = "DESCRIPTION GA GL FB SM POWER LOCK DESCRIPTION";
        auto row = [](const char *name, const QString &buses, const QByteArray &given, const QByteArray &command,
                      const QByteArray &reply) { QTest::newRow(name) << buses << given << command << reply; };
        row("server description", "", "", "GET 0 DESCRIPTION", "100 INFO 0 DESCRIPTION SESSION SERVER TIME GM");
        row("bus description", "", "", "GET 3 DESCRIPTION", "100 INFO 3 " + busDescription);
        row("description of a missing bus", "1", "", "GET 3 DESCRIPTION", "412 ERROR wrong value");
        row("power of a missing bus", "1", "", "SET 2 POWER ON", "412 ERROR wrong value");
        row("power of bus 7 not listed", "", "", "SET 7 POWER ON", "412 ERROR wrong value");
        row("power of bus 7 listed", "1,7", "", "SET 7 POWER ON", "200 OK");
        row("power without bus", "", "", "SET POWER ON", "422 ERROR unsupported device group");
        row("power never switched", "", "", "GET 3 POWER", "100 INFO 3 POWER OFF AUTO POWER OFF");
        row("power switched off", "", "SET 2 POWER OFF", "GET 2 POWER", "100 INFO 2 POWER OFF");
        row("accessory INIT", "", "", "INIT 1 GA 13 M", "200 OK");
        row("accessory SET without power", "", "INIT 1 GA 13 M", "SET 1 GA 13 1 1 -1", "200 OK");
        row("accessory address beyond the bus", "", "", "SET 1 GA 999 0 1 -1", "412 ERROR wrong value");
        row("accessory port never set", "", "INIT 1 GA 14 M", "GET 1 GA 14 1", "416 ERROR no data");
        row("accessory port set with power", "", "SET 2 POWER ON\nINIT 2 GA 512 N\nSET 2 GA 512 1 1 -1",
            "GET 2 GA 512 1", "100 INFO 2 GA 512 1 1");
        row("accessory switched without INIT once powered", "", "SET 2 POWER OFF\nSET 2 GA 30 0 1 -1\nSET 2 POWER ON",
            "GET 2 GA 30 0", "100 INFO 2 GA 30 0 1");
        row("locomotive after INIT", "", "INIT 1 GL 3 M 2 14 4", "GET 1 GL 3", "100 INFO 1 GL 3 0 0 14 0 0 0 0");
        row("locomotive SET with functions", "", "INIT 1 GL 3 M 2 14 4", "SET 1 GL 3 1 1 0 0 0", "200 OK");
        row("locomotive SET without INIT", "", "", "SET 1 GL 4 1 12 28 1", "200 OK");
        row("locomotive read without INIT", "", "SET 1 GL 5 1 12 28 1", "GET 1 GL 5", "100 INFO 1 GL 5 1 12 28 1");
        row("feedback SET", "", "", "SET 1 FB 3 1", "200 OK");
        row("feedback read", "", "SET 2 FB 6 1", "GET 2 FB 6", "100 INFO 2 FB 6 1");
        row("feedback never set", "", "", "GET 2 FB 7", "100 INFO 2 FB 7 0");
        row("one word", "", "", "FOO", "419 ERROR list too short");
        row("empty line", "", "", "", "419 ERROR list too short");
    }

    void srcp08CommandReplies()
    {
        QFETCH(QString, buses);
        QFETCH(QByteArray, given);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        Simulator &sim = sim08(buses);
        Client cmd;
        QVERIFY(cmd.open(sim.port()) && isGreeting(cmd.line(), "0.8.3"));
        QVERIFY(startSession(cmd) > 0);
        for (const QByteArray &line : given.isEmpty() ? QList<QByteArray>() : given.split('\n')) {
            cmd.send(line + '\n');
            const QByteArray answer = afterStamp(cmd.line());
            QVERIFY2(answer.startsWith("200 OK"), (line + " -> " + answer).constData());
        }
        cmd.send(command + '\n');
        QCOMPARE(afterStamp(cmd.line()), reply);
    }

    void srcp08InfoSessionReportsStateThenChanges()
    {
        Simulator sim({"--srcp", "0.8", "--buses", "2,1"});
        Client cmd, info;
        QVERIFY(cmd.open(sim.port()) && isGreeting(cmd.line(), "0.8.3"));
        QVERIFY(startSession(cmd) > 0);
        cmd.send("INIT 1 GL 3 M 2 14 4\nINIT 1 GA 13 M\nSET 1 FB 3 1\nSET 1 FB 5 1\nSET 1 FB 5 0\nSET 2 POWER ON\n");
        for (int i = 0; i < 6; ++i)
            QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
        QVERIFY(info.open(sim.port()) && isGreeting(info.line(), "0.8.3"));
        QVERIFY(startSession(info, "INFO") > 0);
        // The state: descriptions and power of every bus, INITed devices,
        // contacts that are not 0.
        const QList<QByteArray> state = {
            "100 INFO 0 DESCRIPTION SESSION SERVER TIME GM", "101 INFO 0 TIME 0 0",
            "100 INFO 1 DESCRIPTION GA GL FB SM POWER LOCK DESCRIPTION", "100 INFO 1 POWER OFF AUTO POWER OFF",
            "101 INFO 1 GL 3 M 2 14 4", "100 INFO 1 GL 3 0 0 14 0 0 0 0", "101 INFO 1 GA 13 M", "100 INFO 1 FB 3 1",
            "100 INFO 2 DESCRIPTION GA GL FB SM POWER LOCK DESCRIPTION", "100 INFO 2 POWER ON"};
        for (const QByteArray &expected : state)
            QCOMPARE(afterStamp(info.line()), expected);
        QVERIFY(info.silentFor(100));

        // Then each change as it happens; accessory commands wait for power.
        const QByteArray now = QByteArray::number(QDateTime::currentSecsSinceEpoch());
        const QList<QPair<QByteArray, QList<QByteArray>>> changes = {
            {"SET 1 GA 13 1 1 -1", {}},
            {"INIT 1 GA 14 N", {"101 INFO 1 GA 14 N"}},
            {"SET 1 GA 14 0 1 -1", {}},
            {"SET 1 POWER ON", {"100 INFO 1 POWER ON", "100 INFO 1 GA 13 1 1", "100 INFO 1 GA 14 0 1"}},
            {"SET 1 GA 13 1 0 -1", {"100 INFO 1 GA 13 1 0"}},
            {"SET 1 GA 15 0 1 -1", {"101 INFO 1 GA 15 P", "100 INFO 1 GA 15 0 1"}},
            {"SET 1 GL 3 1 12 28 1", {"100 INFO 1 GL 3 1 12 28 1"}},
            {"SET 1 FB 3 0", {"100 INFO 1 FB 3 0"}},
            {"SET 1 FB 3 0", {}},
            // typed on standard input: contacts of the lowest bus, changes only
            {"stdin 18 1", {"100 INFO 1 FB 18 1"}},
            {"stdin * 0100", {"100 INFO 1 FB 2 1"}},
            {"stdin * 0110", {"100 INFO 1 FB 3 1"}},
            {"stdin " + now + ".250 100 INFO 2 FB 9 1", {"100 INFO 2 FB 9 1"}},
        };
        for (const auto &[line, reports] : changes) {
            if (line.startsWith("stdin ")) {
                sim.type(line.mid(6) + '\n');
            } else {
                cmd.send(line + '\n');
                QCOMPARE(afterStamp(cmd.line()), QByteArray("200 OK"));
            }
            for (const QByteArray &expected : reports)
                QCOMPARE(afterStamp(info.line()), expected);
        }
        QVERIFY(info.silentFor(100));
        QCOMPARE(sim.stop(), 0);
    }

    void typedFeedbackReachesEveryPollClient()
    {
        Client poll1, poll2;
        QVERIFY(connectGreeted(poll1, 1));
        QVERIFY(connectGreeted(poll2, 1));
        Sim->type("18 1\n"
                  "not a contact\n"
                  "* 0100\r\n"
                  "INFO FB S88 5 0\n"
                  "7 0");
        Sim->type("\n");
        for (Client *poll : {&poll1, &poll2}) {
            QCOMPARE(poll->line(), QByteArray("INFO FB S88 18 1"));
            QCOMPARE(poll->line(), QByteArray("INFO FB S88 * 0100"));
            QCOMPARE(poll->line(), QByteArray("INFO FB S88 5 0"));
            QCOMPARE(poll->line(), QByteArray("INFO FB S88 7 0"));
        }
        // Lines from poll clients are ignored.
        poll1.send("SET GA M 1 0 1 -1\n");
        QVERIFY(poll1.silentFor(100));
    }

    void demoTrainRunsRoundTheContacts_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("contact"); // the text of a contact change
        QTest::newRow("SRCP 0.7.3 feedback port") << QStringList() << "INFO FB S88 %1 %2";
        QTest::newRow("SRCP 0.8 info session, lowest bus")
            << QStringList{"--srcp", "0.8", "--buses", "3,2"} << "100 INFO 2 FB %1 %2";
    }

    void demoTrainRunsRoundTheContacts()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, contact);
        Simulator demo(QStringList{"--demo", "3", "--interval", "50"} + mode);
        QVERIFY(demo.port() != 0);
        Client poll;
        QList<QByteArray> received;
        if (mode.isEmpty()) {
            QVERIFY(poll.open(quint16(demo.port() + 1)));
            QVERIFY(isGreeting(poll.line()));
        } else {
            // The changes follow the state report, which ends with the power
            // of the last bus and perhaps the contact occupied by then.
            QVERIFY(poll.open(demo.port()) && isGreeting(poll.line(), "0.8.3"));
            QVERIFY(startSession(poll, "INFO") > 0);
            QVERIFY(skipTo(poll, "100 INFO 3 POWER") != NoLine);
        }
        while (received.size() < 14) {
            const QByteArray l = poll.line();
            QVERIFY2(l != NoLine, "the demo train stopped reporting");
            received.append(mode.isEmpty() ? l : afterStamp(l));
        }
        // Each step occupies the next contact, then frees the one before:
        // 1 on; 2 on, 1 off; 3 on, 2 off; 1 on, 3 off; ...
        auto change = [&](int c, int value) { return contact.arg(c).arg(value).toLatin1() + '\n'; };
        QByteArray expected = '\n' + change(1, 1);
        for (int step = 1, previous = 1; step < 40; ++step) {
            const int next = previous % 3 + 1;
            expected += change(next, 1) + change(previous, 0);
            previous = next;
        }
        const QByteArray got = '\n' + received.join('\n') + '\n';
        QVERIFY2(expected.contains(got), got.constData());
        QCOMPARE(demo.stop(), 0);
    }

    void survivesGarbageLongLinesAndVanishingClients()
    {
        // In an SRCP 0.8 session a 100000-byte line gets one reply, for its
        // first 64 KiB, as soon as those have arrived; the rest of it is
        // discarded, also when it comes in a later read, and is not taken
        // for a new line.
        Client cmd;
        QVERIFY(connectGreeted(cmd, 0));
        QVERIFY(startSession(cmd) > 0);
        cmd.send("FOO " + QByteArray(70000, 'x'));
        QCOMPARE(afterStamp(cmd.line()), QByteArray("410 ERROR unknown command"));
        cmd.send(QByteArray(30000, 'x') + "\nGET 1 POWER\n");
        QVERIFY(afterStamp(cmd.line()).startsWith("100 INFO 1 POWER "));

        // Binary garbage on every port, then the clients vanish mid-line.
        QRandomGenerator random(7);
        QByteArray garbage(100000, '\0');
        for (char &c : garbage)
            c = char(random.bounded(256));
        for (int offset = 0; offset < 3; ++offset) {
            Client rude;
            QVERIFY(rude.open(quint16(Sim->port() + offset)));
            rude.send(garbage);
            rude.abort();
        }
        Client rude;
        QVERIFY(rude.open(Sim->port()));
        rude.abort();

        // Still serving: greetings, and an SRCP 0.7.3 command is still reported.
        Client info, legacy;
        QVERIFY(connectGreeted(info, 2));
        QVERIFY(connectGreeted(legacy, 0));
        legacy.send(garbage + "\nSET POWER OFF\n");
        QCOMPARE(info.line(), QByteArray("INFO POWER OFF"));
        QVERIFY(Sim->running());
    }
};

QTEST_GUILESS_MAIN(TestSrcpsim)
#include "test_srcpsim.moc"
