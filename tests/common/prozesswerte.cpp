#include "prozesswerte.h"

#include <QByteArray>
#include <QFile>

long Prozesswert(const char *feld)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray anfang = QByteArray(feld) + ':';
    for (QByteArray zeile; !(zeile = status.readLine()).isEmpty();)
        if (zeile.startsWith(anfang))
            return zeile.mid(anfang.size()).trimmed().split(' ').first().toLong();
    return -1;
}
