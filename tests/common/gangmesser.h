#pragma once

#include <QElapsedTimer>
#include <QTimer>

// Ticks every 5 ms in the event loop of its thread and keeps the longest
// gap between two ticks: the longest time the event loop was not served,
// whatever held it up.
class Gangmesser
{
public:
    Gangmesser();
    // The longest gap in ms since the start or the last neu(), counting
    // the gap still open.
    qint64 laengsteLuecke() const;
    void neu();

private:
    QTimer Takt;
    QElapsedTimer Uhr;
    qint64 Letzter = 0;
    qint64 Laengste = 0;
};
