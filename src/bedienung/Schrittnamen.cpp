#include "bedienung/Schrittnamen.h"

QString ElementName(const ElementTabelle &katalog, int element)
{
    if (element >= 1 && element <= ElementAnzahl && !katalog[element].Name.isEmpty())
        return QString::fromUtf8(katalog[element].Name);
    return QStringLiteral("Element %1").arg(element);
}

QString SetzenName(const ElementTabelle &katalog, int element, bool gezogen)
{
    return ElementName(katalog, element) + (gezogen ? QStringLiteral(" ziehen") : QStringLiteral(" setzen"));
}

QString LoeschenName(const ElementTabelle &katalog, int element)
{
    return ElementName(katalog, element) + QStringLiteral(" löschen");
}

QString FahrstrassenName(const Fahrstrasse &vorher, const Fahrstrasse &nachher)
{
    if (nachher[0].X > vorher[0].X)
        return QStringLiteral("Fahrstrasseneintrag hinzufügen");
    if (nachher[0].X < vorher[0].X)
        return QStringLiteral("Fahrstrasseneintrag entfernen");
    return QStringLiteral("Fahrstrasseneintrag weiterschalten");
}

QString VerbindenName(int route)
{
    return QStringLiteral("Fahrstrassentaste mit Fahrstrasse %1 verbinden").arg(route);
}

QString FahrstrasseLoeschenName(int route)
{
    return QStringLiteral("Fahrstrasse %1 löschen").arg(route);
}

QString FahrstrasseZuruecknehmenName(int route)
{
    return QStringLiteral("Fahrstrasse %1 zurücknehmen").arg(route);
}

QString SchrittMenuetext(const QString &befehl, const QString &schritt)
{
    return schritt.isEmpty() ? befehl : befehl + QStringLiteral(": ") + schritt;
}
