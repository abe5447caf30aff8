#pragma once

// Catalogue elements with a fixed role in the program.

// Uncouplers: momentary, they spring back to position 1 after a press.
inline bool IstMomentan(int element)
{
    return element == 20 || element == 42 || element == 64 || element == 86;
}

// Feedback contacts: their one decoder row holds a feedback module and contact.
inline bool IstRueckmeldekontakt(int element)
{
    return element == 65 || element == 87;
}

// Route buttons: a press makes the cell's route the current one.
inline bool IstFahrstrassentaste(int element)
{
    return element == 66 || element == 88;
}
