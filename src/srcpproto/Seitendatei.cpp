#include "srcpproto/Seitendatei.h"

#include "hilfen/fehler.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString NeuVerbinden = QStringLiteral("Verbindung/AutomatischNeuVerbinden");

QString Beschaedigt(const QString &path)
{
    return QStringLiteral("Die Datei %1 ist beschädigt; es gelten die Voreinstellungen.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

QString LiesSeitendatei(const QString &path, Seiteneinstellungen &e)
{
    e = Seiteneinstellungen();
    if (!QFileInfo::exists(path))
        return {};
    QSettings datei(path, QSettings::IniFormat);
    if (datei.status() != QSettings::NoError || !QFileInfo(path).isReadable())
        return Beschaedigt(path);
    const QString wert = datei.value(NeuVerbinden, QStringLiteral("true")).toString();
    if (wert != QLatin1String("true") && wert != QLatin1String("false"))
        return Beschaedigt(path);
    e.AutomatischNeuVerbinden = wert == QLatin1String("true");
    return {};
}

// QSettings writes through a temporary file renamed over the old one.
void SchreibeSeitendatei(const QString &path, const Seiteneinstellungen &e)
{
    QSettings datei(path, QSettings::IniFormat);
    datei.clear();
    datei.setValue(NeuVerbinden, e.AutomatischNeuVerbinden);
    datei.sync();
    if (datei.status() != QSettings::NoError)
        throw VelmoFehler(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(path)));
}
