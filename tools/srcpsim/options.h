#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// Command-line settings of the simulator.
struct SimOptions
{
    QHostAddress host{QHostAddress::LocalHost};
    // Base port P: commands on P, feedback on P + 1, info on P + 2.
    // 0 lets the simulator pick a free P whose two neighbours are free too.
    int port = 12345;
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
