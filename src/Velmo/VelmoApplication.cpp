#include "Velmo/VelmoApplication.h"

#include "hilfen/fehler.h"

VelmoApplication::VelmoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("velmo"));
}

bool VelmoApplication::notify(QObject *receiver, QEvent *event)
{
    QString text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const VelmoFehler &fehler) {
        text = fehler.Text;
    } catch (const std::exception &fehler) {
        text = QString::fromLocal8Bit(fehler.what());
    }
    if (Fehlerbericht)
        Fehlerbericht(text);
    return false;
}

std::unique_ptr<QTranslator> QtTexteDeutsch(const QString &ordner)
{
    auto uebersetzung = std::make_unique<QTranslator>();
    if (!uebersetzung->load(QStringLiteral("qtbase_de"), ordner))
        return nullptr;
    QCoreApplication::installTranslator(uebersetzung.get());
    return uebersetzung;
}
