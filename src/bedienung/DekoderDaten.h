#pragma once

#include "position/C_Position.h"

#include <QString>
#include <array>

// The decoder panel: for each position of a placed element the decoder and
// the output that set it, and the accessory protocol.

// How many rows the panel shows for an element with `zustaende` positions:
// three for three positions, two for two (only one for the feedback
// contacts, whose single row names their module and contact), else one.
int DekoderZeilen(int element, int zustaende);

// The texts of the panel's edits.
struct DekoderEingaben
{
    std::array<QString, 3> Dekoder;
    std::array<QString, 3> Adresse;
    QString Protokoll;
    bool operator==(const DekoderEingaben &) const = default;
};

// The texts that show a record: all six numbers in decimal, the protocol as
// it is stored. The protocol goes between bytes and text one byte a
// character both ways, so whatever a plan file holds is stored back as it
// was.
DekoderEingaben DekoderTexte(const C_Position &zelle);

// Stores the edits into the record, in the order Dekoder 1 to 3, then
// Adresse 1 to 3: an empty edit keeps its field, any other text must be a
// decimal integer, else the conversion error is raised and the fields stored
// before it keep their new values. Then the protocol, its control
// characters made blanks and the blanks around it removed: "m" becomes "M"
// and "n" becomes "N", any other text is stored as it is, and an empty edit
// stores "M". Returns the text the protocol edit shows afterwards (an empty
// edit stays empty).
QString DekoderSpeichern(C_Position &zelle, const DekoderEingaben &eingaben);
