#include "fuzzhilfe.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

QString FuzzPfad(const char *name)
{
    static const QTemporaryDir verzeichnis(QDir::tempPath() + QStringLiteral("/velmo-fuzz-XXXXXX"));
    Pruefe(verzeichnis.isValid(), "no scratch directory");
    return verzeichnis.filePath(QString::fromUtf8(name));
}

QString FuzzDatei(const uint8_t *data, size_t size)
{
    const QString pfad = FuzzPfad("eingabe");
    std::FILE *datei = std::fopen(QFile::encodeName(pfad).constData(), "wb");
    Pruefe(datei != nullptr, "scratch file cannot be opened");
    // An empty input may come without a buffer, which fwrite must not get.
    const bool geschrieben = size == 0 || std::fwrite(data, 1, size, datei) == size;
    Pruefe(std::fclose(datei) == 0 && geschrieben, "scratch file cannot be written");
    return pfad;
}

void Pruefe(bool gilt, const char *was)
{
    if (gilt)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", was);
    std::fflush(stderr);
    __builtin_trap();
}
