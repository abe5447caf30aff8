#pragma once

#include <QObject>
#include <QTimer>

// A train that runs round a loop of feedback contacts 1..N: each step it
// occupies the next contact (k, 1) and then frees the one it left (k-1, 0),
// wrapping from N back to 1. With a single
// contact the train alternately enters and leaves it.
class DemoTrain : public QObject
{
    Q_OBJECT
public:
    DemoTrain(int contacts, int intervalMs, QObject *parent = nullptr);

signals:
    void contactChanged(int contact, int value);

private:
    void step();

    QTimer Timer;
    int Contacts;
    int Current = 0; // occupied contact; 0 before the first step
};
