#include "hilfen/pause.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Pause(std::uint16_t ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (uhr.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms - uhr.elapsed()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
