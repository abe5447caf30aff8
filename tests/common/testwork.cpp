#include "testwork.h"

#include <QDir>
#include <QFile>

QString builtDataDir()
{
    return qEnvironmentVariable("VELMO_DATA_DIR");
}

QString builtBinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

TestWorkDir::TestWorkDir(bool withData)
{
    QDir(Dir.path()).mkpath("Data");
    if (!withData)
        return;
    // Only what the build generates is linked: a settings file that using
    // the built program left in Data/ belongs to its user, and a test that
    // writes its settings must write them into its own directory.
    const QDir source(builtDataDir());
    for (const QString &name : source.entryList({"*.dat", "*.bmp"}, QDir::Files))
        if (!name.startsWith("parmc."))
            QFile::link(source.filePath(name), dataPath(name));
}

QString TestWorkDir::path() const
{
    return Dir.path() + '/';
}

QString TestWorkDir::dataPath(const QString &name) const
{
    return path() + "Data/" + name;
}

void TestWorkDir::writeData(const QString &name, const QByteArray &content) const
{
    QFile::remove(dataPath(name));
    DateiSchreiben(dataPath(name), content);
}

QByteArray Dateiinhalt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<fehlt>");
}

void DateiSchreiben(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}
