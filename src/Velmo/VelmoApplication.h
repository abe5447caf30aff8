#pragma once

#include <QApplication>
#include <QTranslator>
#include <functional>
#include <memory>

// The application object. An error that escapes an event handler is caught
// here and reported; it never ends the program.
class VelmoApplication : public QApplication
{
public:
    VelmoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    std::function<void(const QString &)> Fehlerbericht;
};

// Installs Qt's own German texts (file dialogs, the buttons of message boxes
// and input dialogs) from qtbase_de in ordner and returns the translator,
// which holds them while it lives; without that file nothing changes and it
// returns nullptr.
std::unique_ptr<QTranslator> QtTexteDeutsch(const QString &ordner);
