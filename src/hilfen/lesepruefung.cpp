#include "hilfen/lesepruefung.h"

#include "hilfen/fehler.h"
#include "hilfen/textdatei.h"

#include <QFileInfo>

void KeinVerzeichnis(const QString &path)
{
    if (QFileInfo(path).isDir())
        throw VelmoFehler(QStringLiteral("E/A-Fehler: Verzeichnis statt Datei (%1)").arg(path));
}

void NichtsDanach(TextLeser &datei, const QString &grund)
{
    // The reader raises its error at the end of the file and on a line that
    // is no number: then no record follows.
    try {
        datei.LiesZahl();
    } catch (const VelmoFehler &) {
        return;
    }
    datei.Fehler(grund);
}
