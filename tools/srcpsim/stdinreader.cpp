#include "stdinreader.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

StdinReader::StdinReader(QObject *parent)
    : QObject(parent)
{
    if (fcntl(STDIN_FILENO, F_GETFD) < 0) {
        // No standard input at all: report the end once the loop runs.
        QTimer::singleShot(0, this, &StdinReader::finished);
        return;
    }
    Notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &StdinReader::readAvailable);
}

void StdinReader::readAvailable()
{
    char buffer[16384];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        // End of input: a last line without a line feed still counts.
        const auto rest = Lines.feed("\n");
        Notifier->setEnabled(false);
        for (const auto &line : rest)
            if (!line.text.isEmpty())
                emit lineRead(line.text, line.truncated);
        emit finished();
        return;
    }
    for (const auto &line : Lines.feed(QByteArrayView(buffer, n)))
        emit lineRead(line.text, line.truncated);
}
