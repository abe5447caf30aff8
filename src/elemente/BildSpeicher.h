#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <sys/types.h>
#include <ctime>

// The picture store: every picture file is decoded once and reused for as
// long as the file is unchanged on disk. Each use checks the file with one
// stat call (device, inode, size, modification and change time; the change
// time also moves when the file's permissions change), so the program shows
// exactly what it would show if it read the file at that moment: a picture
// replaced on disk is decoded afresh at its next use, and a missing or
// unreadable file raises its error every time it is asked for.
class BildSpeicher
{
public:
    // The picture in 32-bit RGB; raises VelmoFehler naming the path when the
    // file is missing or no readable picture.
    QImage Bild(const QString &path);
    // How many times a file has been decoded so far.
    int Dekodierungen() const { return Dekodiert; }

    // The store never holds more pictures than this; when it is full it
    // starts afresh.
    static constexpr int MaxBilder = 4096;

private:
    struct Stand
    {
        dev_t Geraet;
        ino_t Knoten;
        off_t Groesse;
        timespec Geaendert;
        timespec Status;
    };
    struct Eintrag
    {
        Stand Datei;
        QImage Bild;
    };

    QHash<QString, Eintrag> Bilder;
    int Dekodiert = 0;
};

// The one store of the program; every picture it shows comes from here.
BildSpeicher &Bildspeicher();
