#include "demotrain.h"

namespace {

QByteArray contactLine(int contact, int value)
{
    return "INFO FB S88 " + QByteArray::number(contact) + ' ' + QByteArray::number(value);
}

} // namespace

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
        emit feedbackLine(contactLine(Current, 0));
        Current = 0;
        return;
    }
    emit feedbackLine(contactLine(next, 1));
    if (Current != 0)
        emit feedbackLine(contactLine(Current, 0));
    Current = next;
}
