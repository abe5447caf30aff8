#include "demotrain.h"

DemoTrain::DemoTrain(int contacts, int intervalMs, QObject *parent)
    : QObject(parent)
    , Contacts(contacts)
{
    connect(&Timer, &QTimer::timeout, this, &DemoTrain::step);
    Timer.start(intervalMs);
}

void DemoTrain::step()
{
    const int next = Current % Contacts + 1;
    if (next == Current) {
        // A single contact: leave it now, enter it again next step.
        emit contactChanged(Current, 0);
        Current = 0;
        return;
    }
    emit contactChanged(next, 1);
    if (Current != 0)
        emit contactChanged(Current, 0);
    Current = next;
}
