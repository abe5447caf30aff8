#pragma once

#include "bedienung/Arbeitsmodi.h"

#include <QString>
#include <utility>

// The mode flags as a text, for comparing in one line: E D B F R for the
// design, decoder, operating, route and throttle flags, then "+" while a
// palette pick is armed.
inline QString Flaggen(const Arbeitsmodi &m)
{
    QString text;
    for (const auto &[flag, zeichen] : {std::pair {m.EntwurfModus, 'E'}, {m.DekoderModus, 'D'}, {m.BetriebModus, 'B'},
                                        {m.FahrstrassenModus, 'F'}, {m.ReglerModus, 'R'}, {m.ElementGewaehlt, '+'}})
        if (flag)
            text += QLatin1Char(zeichen);
    return text;
}
