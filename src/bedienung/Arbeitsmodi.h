#pragma once

// The working modes of the main window and the element picked in the
// palette. At most one mode flag is set; with none set (after start-up) a
// press on the plan does nothing.
enum class Modus { Entwurf, Dekoder, Betrieb, Fahrstrassen, Regler };

struct Arbeitsmodi
{
    bool EntwurfModus = false;
    bool DekoderModus = false;
    bool BetriebModus = false;
    bool FahrstrassenModus = false;
    bool ReglerModus = false;
    // A palette pick armed for placement, and its element number.
    bool ElementGewaehlt = false;
    int GewaehltesElement = 0;
    // View point of the last press or drag of the placement under way.
    int LetztesX = 0;
    int LetztesY = 0;

    // Sets the flag of mode m and clears the other four. Entering the
    // decoder-address, operating or route-editing mode also disarms a
    // palette pick; design and throttle mode leave it as it is.
    void ModusSetzen(Modus m);
    // Arms element for placement; a palette spot without an element
    // (number below 1) arms nothing and leaves an earlier pick as it was.
    // True when armed.
    bool Waehlen(int element);
};
