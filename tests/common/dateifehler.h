#pragma once

// Disk faults for tests, without root and without a full disk.
#include "hilfen/fehler.h"

#include <QString>

#include <optional>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, no file of this process may grow beyond `bytes`. The
// signal keeps the disposition the process gave it: a writer that did not
// ask for SIGXFSZ to be ignored ends the test as it would end the program.
class Dateigrenze
{
public:
    explicit Dateigrenze(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &Alt);
        rlimit neu = Alt;
        neu.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &neu);
    }
    ~Dateigrenze()
    {
        ::setrlimit(RLIMIT_FSIZE, &Alt);
    }

private:
    rlimit Alt {};
};

// While it lives, the file or directory has the given mode and the calling
// thread is held to it. Root ignores file modes, so the thread also lays
// down its right to override them (the capability stays permitted and is
// taken up again at the end); then the old mode comes back.
class Zugriffsrechte
{
public:
    Zugriffsrechte(const QString &path, mode_t mode)
        : Pfad(path.toLocal8Bit())
    {
        struct stat info {};
        ::stat(Pfad.constData(), &info);
        AlterModus = info.st_mode & 07777;
        ::chmod(Pfad.constData(), mode);
        Rechte(false);
    }
    ~Zugriffsrechte()
    {
        Rechte(true);
        ::chmod(Pfad.constData(), AlterModus);
    }

private:
    static void Rechte(bool an)
    {
        __user_cap_header_struct kopf {_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct daten[2] {};
        if (::syscall(SYS_capget, &kopf, daten) != 0)
            return;
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            if (an)
                daten[cap / 32].effective |= daten[cap / 32].permitted & (1u << (cap % 32));
            else
                daten[cap / 32].effective &= ~(1u << (cap % 32));
        }
        ::syscall(SYS_capset, &kopf, daten);
    }

    QByteArray Pfad;
    mode_t AlterModus = 0755;
};

// A directory nobody may write into, not even root.
struct Schreibschutz : Zugriffsrechte
{
    explicit Schreibschutz(const QString &dir) : Zugriffsrechte(dir, 0555) {}
};

// Runs `schreiben` under one disk fault: "grenze" a file-size limit of
// `bytes`, "schreibschutz" a read-only `dir`, anything else none. Returns
// the text of the VelmoFehler it raised, or an empty text.
template<class Schreiben>
QString Schreibfehler(const QString &fall, const QString &dir, rlim_t bytes, Schreiben &&schreiben)
{
    std::optional<Dateigrenze> grenze;
    std::optional<Schreibschutz> schutz;
    if (fall == "grenze")
        grenze.emplace(bytes);
    else if (fall == "schreibschutz")
        schutz.emplace(dir);
    try {
        schreiben();
    } catch (const VelmoFehler &fehler) {
        return fehler.Text;
    }
    return {};
}
