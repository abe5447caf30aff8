#include "sockets/schreibwarten.h"

#include <QEventLoop>
#include <QSocketNotifier>

bool warteBisSchreibbar(int fd, QEventLoop &schleife)
{
    QSocketNotifier melder(fd, QSocketNotifier::Write);
    QObject::connect(&melder, &QSocketNotifier::activated, &schleife, &QEventLoop::quit);
    return schleife.exec() >= 0;
}
