#include "sockets/schreibwarten.h"

#include <QEventLoop>
#include <QSocketNotifier>

void warteBisSchreibbar(int fd, QEventLoop &schleife)
{
    QSocketNotifier melder(fd, QSocketNotifier::Write);
    QObject::connect(&melder, &QSocketNotifier::activated, &schleife, &QEventLoop::quit);
    schleife.exec();
}
