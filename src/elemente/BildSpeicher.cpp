#include "elemente/BildSpeicher.h"

#include "hilfen/fehler.h"

#include <QFile>

#include <sys/stat.h>

namespace {

bool Gleich(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

QImage BildSpeicher::Bild(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        Bilder.remove(path);
        throw VelmoFehler(QStringLiteral("Bilddatei nicht gefunden: %1").arg(path));
    }
    const Stand jetzt {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    const auto gefunden = Bilder.constFind(path);
    if (gefunden != Bilder.constEnd()) {
        const Stand &alt = gefunden->Datei;
        if (alt.Geraet == jetzt.Geraet && alt.Knoten == jetzt.Knoten && alt.Groesse == jetzt.Groesse
            && Gleich(alt.Geaendert, jetzt.Geaendert) && Gleich(alt.Status, jetzt.Status))
            return gefunden->Bild;
    }

    ++Dekodiert;
    const QImage geladen(path);
    if (geladen.isNull()) {
        Bilder.remove(path);
        throw VelmoFehler(QStringLiteral("Ungültiges Bild: %1").arg(path));
    }
    if (Bilder.size() >= MaxBilder)
        Bilder.clear();
    const QImage bild = geladen.convertToFormat(QImage::Format_RGB32);
    Bilder.insert(path, {jetzt, bild});
    return bild;
}

BildSpeicher &Bildspeicher()
{
    static BildSpeicher speicher;
    return speicher;
}
