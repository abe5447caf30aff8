// srcpsim: a simulated SRCP server for demos and tests (see README.md).

#include "demotrain.h"
#include "feedbackinput.h"
#include "options.h"
#include "server.h"
#include "simlog.h"
#include "stdinreader.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the program shuts down normally.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return; // the default actions still stop the program
    auto *notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        SimLog::note("srcpsim", "signal received, stopping");
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    // A client that vanishes must give a write error, never end the program.
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    const OptionsResult parsed = parseOptions(app.arguments().mid(1));
    if (parsed.showHelp) {
        std::fputs(qPrintable(usageText()), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "srcpsim: %s\n\n%s", qPrintable(parsed.error), qPrintable(usageText()));
        return 2;
    }
    const SimOptions &options = parsed.options;
    SimLog::setQuiet(options.quiet);
    quitOnSignals(app);

    SrcpServer server;
    QString error;
    if (!server.listen(options.host, options.port, &error)) {
        std::fprintf(stderr, "srcpsim: %s\n", qPrintable(error));
        return 1;
    }
    // The base port is the first line on standard output, for scripts and
    // tests that asked for --port 0.
    std::printf("%u\n", unsigned(server.basePort()));
    std::fflush(stdout);
    const unsigned p = server.basePort();
    SimLog::note("srcpsim", QStringLiteral("listening on %1: commands %2, feedback %3, info %4")
                                .arg(options.host.toString())
                                .arg(p)
                                .arg(p + 1)
                                .arg(p + 2)
                                .toLatin1());

    StdinReader input;
    QObject::connect(&input, &StdinReader::lineRead, &server, [&server](const QByteArray &line, bool truncated) {
        SimLog::received("stdin", line);
        QByteArray why;
        if (truncated)
            SimLog::note("stdin", "line longer than 64 KiB: ignored");
        else if (const auto feedback = feedbackLineFromInput(line, &why))
            server.sendFeedback(*feedback);
        else if (!why.isEmpty())
            SimLog::note("stdin", "ignored: " + why);
    });
    QObject::connect(&input, &StdinReader::finished, &app, [&options] {
        SimLog::note("stdin", "end of input");
        if (options.exitOnEof)
            QCoreApplication::quit();
    });

    if (options.demoContacts > 0) {
        auto *train = new DemoTrain(options.demoContacts, options.intervalMs, &app);
        QObject::connect(train, &DemoTrain::feedbackLine, &server, &SrcpServer::sendFeedback);
    }

    const int rc = app.exec();
    SimLog::note("srcpsim", "stopped");
    return rc;
}
