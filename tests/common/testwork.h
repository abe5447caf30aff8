#pragma once

#include <QString>
#include <QTemporaryDir>

// A private work directory for one test: <dir>/Data/ holds links to the
// generated catalogue and pictures, and never a settings file of the
// build, so tests never share files.
class TestWorkDir
{
public:
    explicit TestWorkDir(bool withData = true);
    // The work directory with a trailing "/".
    QString path() const;
    QString dataPath(const QString &name) const;
    // Replaces a linked data file by a real file with this content.
    void writeData(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir Dir;
};

// The whole content of a file, or "<fehlt>" when it cannot be read.
QByteArray Dateiinhalt(const QString &path);
// Creates or replaces a file with this content.
void DateiSchreiben(const QString &path, const QByteArray &content);

// The generated Data/ directory of the build.
QString builtDataDir();
// The directory of the built executables (velmo, srcpsim).
QString builtBinDir();
