#include "benchhilfe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>

qint64 jetztNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void DatenVerlinken(const QString &work)
{
    QDir(work).mkpath("Data");
    const QDir daten(QCoreApplication::applicationDirPath() + "/Data");
    for (const QString &name : daten.entryList({"*.dat", "*.bmp"}, QDir::Files))
        if (!name.startsWith("parmc."))
            QFile::link(daten.filePath(name), work + "/Data/" + name);
}

bool allesSenden(int fd, const QByteArray &daten)
{
    for (qsizetype gesendet = 0; gesendet < daten.size();) {
        const ssize_t n = ::send(fd, daten.constData() + gesendet, daten.size() - gesendet, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        gesendet += n;
    }
    return true;
}

QByteArray zeileLesen(int fd)
{
    QByteArray zeile;
    char c;
    while (::recv(fd, &c, 1, 0) == 1 && c != '\n')
        zeile += c;
    return zeile.trimmed();
}

void ausklingen(int fd)
{
    ::shutdown(fd, SHUT_WR);
    char rest[256];
    while (::recv(fd, rest, sizeof rest, 0) > 0) {
    }
}

void ohneVerzoegerung(int fd)
{
    const int ein = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &ein, sizeof ein);
}

Einzelserver::Einzelserver(std::function<void(int fd)> bedienen)
{
    Faden = std::thread([this, bedienen = std::move(bedienen)] {
        const int client = ::accept(Lauscher.Fd, nullptr, nullptr);
        if (client < 0)
            return;
        bedienen(client);
        ::close(client);
    });
}

Einzelserver::~Einzelserver()
{
    Ende();
}

void Einzelserver::Ende()
{
    // Wakes an accept() that no client came for; a client already accepted
    // keeps its connection.
    ::shutdown(Lauscher.Fd, SHUT_RDWR);
    if (Faden.joinable())
        Faden.join();
}

Empfaenger::Empfaenger()
    : Netz([this](int client) { lesen(client); })
{
}

std::size_t Empfaenger::Anzahl() const
{
    std::lock_guard sperre(Sperre);
    return Zeilen.size();
}

std::vector<Empfangen> Empfaenger::Kopie() const
{
    std::lock_guard sperre(Sperre);
    return Zeilen;
}

bool Empfaenger::warten(std::size_t anzahl, const std::function<void()> &bedienen) const
{
    const qint64 ende = jetztNs() + 5'000'000'000;
    while (Anzahl() < anzahl && jetztNs() < ende)
        bedienen();
    return Anzahl() >= anzahl;
}

void Empfaenger::lesen(int client)
{
    ohneVerzoegerung(client);
    char puffer[4096];
    QByteArray offen;
    qint64 anfang = 0;
    for (;;) {
        const ssize_t n = recv(client, puffer, sizeof puffer, 0);
        const qint64 jetzt = jetztNs();
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            if (offen.isEmpty())
                anfang = jetzt;
            if (puffer[i] != '\n') {
                offen += puffer[i];
                continue;
            }
            std::lock_guard sperre(Sperre);
            Zeilen.push_back({anfang, offen.trimmed()});
            offen.clear();
        }
    }
}

int nackterClient(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    ohneVerzoegerung(fd);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = htons(quint16(port));
    if (::connect(fd, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void Ausgeben(const char *schluessel, const std::vector<double> &werte)
{
    for (const double wert : werte)
        std::printf("%s %.1f\n", schluessel, wert);
}

int AnzahlArgument(int argc, char *argv[], int vorgabe, const char *name, const char *was)
{
    const int anzahl = argc > 1 ? std::atoi(argv[1]) : vorgabe;
    if (argc <= 2 && anzahl >= 1)
        return anzahl;
    std::fprintf(stderr, "usage: %s [%s]\n", name, was);
    return 0;
}
