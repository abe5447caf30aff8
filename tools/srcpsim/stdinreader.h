#pragma once

#include "linesplitter.h"

#include <QObject>

class QSocketNotifier;

// Reads standard input inside the event loop, without blocking it, and
// hands on whole lines.
class StdinReader : public QObject
{
    Q_OBJECT
public:
    explicit StdinReader(QObject *parent = nullptr);

signals:
    void lineRead(const QByteArray &line, bool truncated);
    // Standard input was closed or cannot be read; no more lines follow.
    void finished();

private:
    void readAvailable();

    QSocketNotifier *Notifier = nullptr;
    LineSplitter Lines;
};
