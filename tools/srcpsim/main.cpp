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

    SrcpServer server(options.srcp, options.buses);
    QString error;
    if (!server.listen(options.host, options.port, &error)) {
        std::fprintf(stderr, "srcpsim: %s\n", qPrintable(error));
        return 1;
    }
    // The port is the first line on standard output, for scripts and tests
    // that asked for --port 0.
    const unsigned p = server.port();
    std::printf("%u\n", p);
    std::fflush(stdout);
    QByteArray buses;
    for (int bus : options.buses)
        buses += (buses.isEmpty() ? "" : ",") + QByteArray::number(bus);
    const QByteArray host = options.host.toString().toLatin1();
    const bool srcp08 = options.srcp == SrcpVersion::Srcp08;
    if (srcp08)
        SimLog::note("srcpsim", "SRCP 0.8, listening on " + host + " port " + QByteArray::number(p)
                                    + " for command and info sessions; buses " + buses);
    else
        SimLog::note("srcpsim", "SRCP 0.7.3, listening on " + host + ": commands " + QByteArray::number(p)
                                    + ", feedback " + QByteArray::number(p + 1) + ", info "
                                    + QByteArray::number(p + 2) + "; buses of SRCP 0.8 sessions " + buses);

    StdinReader input;
    QObject::connect(&input, &StdinReader::lineRead, &server, [&server, srcp08](const QByteArray &line, bool truncated) {
        SimLog::received("stdin", line);
        QByteArray why;
        if (truncated)
            SimLog::note("stdin", "line longer than 64 KiB: ignored");
        else if (const auto feedback = feedbackFromInput(line, srcp08, &why))
            server.feedback(*feedback);
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
        QObject::connect(train, &DemoTrain::contactChanged, &server, &SrcpServer::setContact);
    }

    const int rc = app.exec();
    SimLog::note("srcpsim", "stopped");
    return rc;
}
