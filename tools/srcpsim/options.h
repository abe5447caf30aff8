#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

// Which SRCP arrangement the simulator serves.
enum class SrcpVersion {
    // Three ports: commands on P, feedback on P + 1, info on P + 2. A command
    // connection may still switch itself to an SRCP 0.8 command session.
    Srcp073,
    // One port P; every connection chooses a command or an info session by
    // the SRCP 0.8 handshake.
    Srcp08,
};

// Command-line settings of the simulator.
struct SimOptions
{
    QHostAddress host{QHostAddress::LocalHost};
    SrcpVersion srcp = SrcpVersion::Srcp073;
    // Port P (see SrcpVersion). 0 lets the simulator pick a free P, in SRCP
    // 0.7.3 mode one whose two neighbours are free too.
    int port = 12345;
    // The buses of SRCP 0.8 command sessions, ascending, each 1 to 9.
    QList<int> buses{1, 2, 3};
    // Number of contacts the demo train runs over; 0 = no demo train.
    int demoContacts = 0;
    int intervalMs = 1000;
    bool exitOnEof = false;
    // Leaves out the log lines of what is sent; received lines are always logged.
    bool quiet = false;
};

struct OptionsResult
{
    SimOptions options;
    bool showHelp = false;
    QString error; // empty when the arguments were usable
};

// Parses the arguments without the program name.
OptionsResult parseOptions(const QStringList &arguments);
QString usageText();
