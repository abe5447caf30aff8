#pragma once

#include "elemente/C_Element.h"
#include "fahrunit/CFahr.h"

#include <QString>

// The names of the steps on the undo stack, as the menu shows them after
// "Rückgängig: " and "Wiederherstellen: ".

// The catalogue name of the element, or "Element <n>" for one without.
QString ElementName(const ElementTabelle &katalog, int element);
// A placement: "Weiche setzen", or "Weiche ziehen" when it was dragged to
// another cell before the release.
QString SetzenName(const ElementTabelle &katalog, int element, bool gezogen);
// A right press that cleared a cell: "Weiche löschen".
QString LoeschenName(const ElementTabelle &katalog, int element);
// A press in route editing: an entry added, stepped to its next position
// or taken out, by the route's entries before and after.
QString FahrstrassenName(const Fahrstrasse &vorher, const Fahrstrasse &nachher);
QString VerbindenName(int route);
QString FahrstrasseLoeschenName(int route);
QString FahrstrasseZuruecknehmenName(int route);
inline const QString DekoderSpeichernName = QStringLiteral("Dekoder speichern");

// The text of the menu item `befehl` ("&Rückgängig") for the step
// `schritt`: "&Rückgängig: Weiche setzen", or the item alone without a step.
QString SchrittMenuetext(const QString &befehl, const QString &schritt);
