#pragma once

#include "geometry.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// What an element shows besides its track.
enum class Fitting {
    None,
    SignalEastbound,  // lamp for trains running W to E
    SignalWestbound,  // lamp for trains running E to W
    BufferStopFromWest, // track from W ends at a bar in the centre
    BufferStopFromEast,
    Uncoupler,
    FeedbackContact,
    SquareButton,
    RoundButton,
};

struct Track
{
    Point from;
    Point to;
};

// One shape of the palette, unturned.
struct Shape
{
    QByteArray name;    // UTF-8
    QList<Track> tracks;
    // Per state (1 to the number of states): bit i set when tracks[i] is the
    // way through in that state.
    QList<unsigned> activeTracks;
    Fitting fitting = Fitting::None;
    std::array<QByteArray, 3> stateNames;

    int states() const { return int(activeTracks.size()); }
    // Turnouts and slips: some track is not used in some state.
    bool switchesTracks() const;
};

struct Element
{
    int number;
    const Shape *shape;
    Turn turn;
};

constexpr int ElementCount = 88;
constexpr int PaletteColumns = 22;

// The 88 elements in number order: rows 2 to 4 of the palette repeat the
// first twenty shapes of row 1 turned; the last two columns hold their own.
const std::array<Element, ElementCount> &elementTable();

// "Icon0701.bmp": the element number and the state (1 to 3, 11 to 13) in two
// digits each.
QString iconFileName(int element, int state);
