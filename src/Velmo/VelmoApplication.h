#pragma once

#include <QApplication>
#include <functional>

// The application object. An error that escapes an event handler is caught
// here and reported; it never ends the program.
class VelmoApplication : public QApplication
{
public:
    VelmoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    std::function<void(const QString &)> Fehlerbericht;
};
