#include "Velmo/Druckauftrag.h"

#include "hilfen/fehler.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

// A function of the printing module, which is loaded from beside the
// program, else from where the build made it (for the programs of a build
// folder that are not beside it).
template <typename Funktion>
Funktion *Modulfunktion(const char *name)
{
    static QLibrary modul;
    if (!modul.isLoaded()) {
        for (const QString &ort : {QCoreApplication::applicationDirPath() + QStringLiteral("/libvelmo_drucker.so"),
                                   QStringLiteral(VELMO_DRUCKMODUL_BAUORT)}) {
            modul.setFileName(ort);
            if (modul.load())
                break;
        }
    }
    if (auto *funktion = reinterpret_cast<Funktion *>(modul.resolve(name)))
        return funktion;
    throw VelmoFehler(QStringLiteral("Drucken nicht möglich: das Druckmodul libvelmo_drucker.so fehlt oder ist beschädigt (%1)")
                          .arg(modul.errorString()));
}

} // namespace

int Drucken(const Druckauftrag &auftrag)
{
    return Modulfunktion<int(const Druckauftrag &)>("VelmoDrucken")(auftrag);
}

bool Druckdialog(QPrinter &printer, QWidget *parent)
{
    return Modulfunktion<bool(QPrinter &, QWidget *)>("VelmoDruckdialog")(printer, parent);
}
