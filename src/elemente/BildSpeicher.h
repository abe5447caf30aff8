#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <sys/types.h>
#include <ctime>

// The picture store: every picture file is decoded once and reused for as
// long as the file is unchanged on disk. A use checks the file with one
// stat call (device, inode, size, modification and change time; the change
// time also moves when the file's permissions change), so the program shows
// exactly what it would show if it read the file at that moment: a picture
// replaced on disk is decoded afresh at its next use, and a missing or
// unreadable file raises its error every time it is asked for.
//
// An operation that draws many cells (a plan loaded, a press redrawing its
// cells) holds a pass, a Durchgang, and hands it to every use: a use with
// a pass checks a file only the first time the pass asks for it and takes
// it as it was then for every further cell, errors included. So a file
// changed on disk is seen at its first use in the next operation, and a
// use without a pass checks every time.
class BildSpeicher
{
public:
    class Durchgang;

    // The picture in 32-bit RGB; raises VelmoFehler naming the path when the
    // file is missing or no readable picture.
    QImage Bild(const QString &path, const Durchgang *durchgang = nullptr);
    // How many times a file has been decoded so far.
    int Dekodierungen() const { return Dekodiert; }
    // How many times a file has been checked on disk so far.
    int Pruefungen() const { return Geprueft; }

    // One pass of the store; each one is new.
    class Durchgang
    {
    public:
        explicit Durchgang(BildSpeicher &speicher);
        Durchgang();
        Durchgang(const Durchgang &) = delete;
        Durchgang &operator=(const Durchgang &) = delete;

    private:
        friend class BildSpeicher;
        quint64 Nummer;
    };

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
        bool operator==(const Stand &) const;
    };
    struct Eintrag
    {
        Stand Datei;
        QImage Bild;
        // The error a use in the pass raised; such an entry counts only
        // within its pass.
        QString Fehler;
        // The number of the pass that checked the file last; 0: none.
        quint64 GeprueftIn = 0;
    };

    const Eintrag &Merken(const QString &path, Eintrag eintrag);

    QHash<QString, Eintrag> Bilder;
    int Dekodiert = 0;
    int Geprueft = 0;
    // The number of the last pass opened.
    quint64 Durchgaenge = 0;
};

// The one store of the program; every picture it shows comes from here.
BildSpeicher &Bildspeicher();
