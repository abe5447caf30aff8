#include "hilfen/pause.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Pause(std::uint16_t ms)
{
    QElapsedTimer uhr;
    uhr.start();
    // A loop that cannot run because the application is quitting returns
    // at once with -1; the pause ends then instead of spinning.
    while (uhr.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms - uhr.elapsed()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        if (loop.exec() < 0)
            return;
    }
}
