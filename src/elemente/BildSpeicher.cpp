#include "elemente/BildSpeicher.h"

#include "elemente/BmpLeser.h"
#include "hilfen/fehler.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Gleich(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The bytes of a file small enough to be a shipped picture; empty when it
// is larger or cannot be read.
QByteArray KleineDatei(const QByteArray &name, off_t groesse)
{
    constexpr off_t Grenze = 1 << 20;
    QByteArray inhalt;
    if (groesse <= 0 || groesse > Grenze)
        return inhalt;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return inhalt;
    inhalt.resize(groesse);
    qsizetype gelesen = 0;
    while (gelesen < inhalt.size()) {
        const ssize_t n = ::read(fd, inhalt.data() + gelesen, inhalt.size() - gelesen);
        if (n <= 0)
            break;
        gelesen += n;
    }
    ::close(fd);
    inhalt.truncate(gelesen);
    return inhalt;
}

// The shipped bitmaps are read directly; anything else goes through Qt,
// from the bytes already read when the file was small enough.
QImage Dekodieren(const QString &path, const QByteArray &name, off_t groesse)
{
    const QByteArray inhalt = KleineDatei(name, groesse);
    if (const QImage einfach = LiesEinfacheBmp(inhalt); !einfach.isNull())
        return einfach;
    const QImage geladen = inhalt.isEmpty() ? QImage(path) : QImage::fromData(inhalt);
    return geladen.isNull() ? geladen : geladen.convertToFormat(QImage::Format_RGB32);
}

} // namespace

bool BildSpeicher::Stand::operator==(const Stand &b) const
{
    return Geraet == b.Geraet && Knoten == b.Knoten && Groesse == b.Groesse && Gleich(Geaendert, b.Geaendert)
        && Gleich(Status, b.Status);
}

BildSpeicher::Durchgang::Durchgang(BildSpeicher &speicher)
    : Nummer(++speicher.Durchgaenge)
{
}

BildSpeicher::Durchgang::Durchgang()
    : Durchgang(Bildspeicher())
{
}

const BildSpeicher::Eintrag &BildSpeicher::Merken(const QString &path, Eintrag eintrag)
{
    if (Bilder.size() >= MaxBilder && !Bilder.contains(path))
        Bilder.clear();
    return *Bilder.insert(path, std::move(eintrag));
}

QImage BildSpeicher::Bild(const QString &path, const Durchgang *durchgang)
{
    const quint64 pass = durchgang ? durchgang->Nummer : 0;
    const auto gefunden = Bilder.find(path);
    const Eintrag *eintrag = nullptr;
    if (gefunden != Bilder.end() && pass != 0 && gefunden->GeprueftIn == pass) {
        eintrag = &*gefunden;
    } else {
        ++Geprueft;
        const QByteArray name = QFile::encodeName(path);
        struct stat info {};
        if (::stat(name.constData(), &info) != 0) {
            eintrag = &Merken(path, {{}, {}, QStringLiteral("Bilddatei nicht gefunden: %1").arg(path), pass});
        } else if (const Stand jetzt {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
                   gefunden != Bilder.end() && gefunden->Fehler.isEmpty() && gefunden->Datei == jetzt) {
            gefunden->GeprueftIn = pass;
            eintrag = &*gefunden;
        } else {
            ++Dekodiert;
            const QImage bild = Dekodieren(path, name, info.st_size);
            const QString fehler = bild.isNull() ? QStringLiteral("Ungültiges Bild: %1").arg(path) : QString();
            eintrag = &Merken(path, {jetzt, bild, fehler, pass});
        }
    }
    if (!eintrag->Fehler.isEmpty())
        throw VelmoFehler(eintrag->Fehler);
    return eintrag->Bild;
}

BildSpeicher &Bildspeicher()
{
    static BildSpeicher speicher;
    return speicher;
}
