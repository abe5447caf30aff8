#include "srcpproto/Seitendatei.h"

#include "hilfen/fehler.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cstdio>

namespace {

const QString NeuVerbinden = QStringLiteral("Verbindung/AutomatischNeuVerbinden");
const QString Zoom = QStringLiteral("Ansicht/Zoom");
const QString Gitter = QStringLiteral("Ansicht/Raster");

QString FahrstufenSchluessel(int lok)
{
    return QStringLiteral("Lok%1/Fahrstufen").arg(lok + 1);
}

QString Beschaedigt(const QString &path)
{
    return QStringLiteral("Die Datei %1 ist beschädigt; es gelten die Voreinstellungen.")
        .arg(QDir::toNativeSeparators(path));
}

// An INI file is text: no control character but tab and line ends.
bool IstText(const QString &path)
{
    QFile datei(path);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = datei.readAll();
    return std::none_of(bytes.begin(), bytes.end(),
                        [](char c) { return uchar(c) < 0x20 && c != '\t' && c != '\r' && c != '\n'; });
}

// A switch is "true" or "false"; false when the file holds anything else.
bool LiesSchalter(const QSettings &datei, const QString &schluessel, bool &schalter)
{
    const QString wert = datei.value(schluessel, schalter ? QStringLiteral("true") : QStringLiteral("false")).toString();
    if (wert != QLatin1String("true") && wert != QLatin1String("false"))
        return false;
    schalter = wert == QLatin1String("true");
    return true;
}

bool LiesZoom(const QSettings &datei, int &zoom)
{
    const QString wert = datei.value(Zoom, QString::number(zoom)).toString();
    if (wert != QLatin1String("100") && wert != QLatin1String("200") && wert != QLatin1String("300"))
        return false;
    zoom = wert.toInt();
    return true;
}

} // namespace

QString LiesSeitendatei(const QString &path, Seiteneinstellungen &e, LokTabelle &loks)
{
    e = Seiteneinstellungen();
    for (int i = 0; i < GespeicherteLoks; ++i)
        loks[i].Fahrstufen = 0;
    if (!QFileInfo::exists(path))
        return {};
    QSettings datei(path, QSettings::IniFormat);
    if (datei.status() != QSettings::NoError || !IstText(path))
        return Beschaedigt(path);
    bool heil = LiesSchalter(datei, NeuVerbinden, e.AutomatischNeuVerbinden);
    heil = LiesZoom(datei, e.Zoom) && heil;
    heil = LiesSchalter(datei, Gitter, e.Gitter) && heil;
    for (int i = 0; i < GespeicherteLoks; ++i) {
        if (!datei.contains(FahrstufenSchluessel(i)))
            continue;
        const QString stufen = datei.value(FahrstufenSchluessel(i)).toString();
        bool zahl = false;
        const int n = IstGanzzahlText(stufen) ? stufen.toInt(&zahl, 10) : 0;
        if (zahl)
            loks[i].Fahrstufen = n;
        else
            heil = false;
    }
    return heil ? QString() : Beschaedigt(path);
}

// A fresh file is written beside the old one and renamed over it, so a
// damaged old file does not stand in the way and a failed write leaves the
// old file as it was.
void SchreibeSeitendatei(const QString &path, const Seiteneinstellungen &e, const LokTabelle &loks)
{
    GroessengrenzeAlsFehler();
    const QString neu = path + QStringLiteral(".neu");
    QFile::remove(neu);
    QSettings::Status status;
    {
        QSettings datei(neu, QSettings::IniFormat);
        datei.setValue(NeuVerbinden, e.AutomatischNeuVerbinden);
        datei.setValue(Zoom, e.Zoom);
        datei.setValue(Gitter, e.Gitter);
        for (int i = 0; i < GespeicherteLoks; ++i)
            datei.setValue(FahrstufenSchluessel(i), loks[i].Fahrstufen);
        datei.sync();
        status = datei.status();
    }
    if (status != QSettings::NoError || std::rename(QFile::encodeName(neu), QFile::encodeName(path)) != 0) {
        QFile::remove(neu);
        throw VelmoFehler(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(path)));
    }
}
