#include "elementtable.h"

#include <algorithm>

bool Shape::switchesTracks() const
{
    const unsigned all = (1u << tracks.size()) - 1;
    return std::any_of(activeTracks.begin(), activeTracks.end(),
                       [all](unsigned active) { return active != all; });
}

namespace {

using P = Point;

const std::array<QByteArray, 3> NoStateNames{"", "", ""};
const std::array<QByteArray, 3> TurnoutStates{"gerade", "abzweigend", ""};
const std::array<QByteArray, 3> SignalStates{"Halt", "Fahrt", ""};

Shape plain(const QByteArray &name, QList<Track> tracks, Fitting fitting = Fitting::None)
{
    const unsigned all = (1u << tracks.size()) - 1;
    return {name, std::move(tracks), {all}, fitting, NoStateNames};
}

Shape signal(Fitting side, int aspects)
{
    const QList<unsigned> states(aspects, 1u);
    return {"Signal", {{P::W, P::E}}, states, side,
            aspects == 3 ? std::array<QByteArray, 3>{"Halt", "Fahrt", "Langsamfahrt"} : SignalStates};
}

Shape turnout(Point root, Point through, Point branch)
{
    return {"Weiche", {{root, through}, {root, branch}}, {1u, 2u}, Fitting::None, TurnoutStates};
}

// The first row of the palette, columns 1 to 22.
const QList<Shape> &baseShapes()
{
    static const QList<Shape> shapes{
        plain("Gerade", {{P::W, P::E}}),
        plain("Bogen", {{P::W, P::NE}}),
        plain("Bogen", {{P::W, P::SE}}),
        plain("Bogen", {{P::E, P::NW}}),
        plain("Bogen", {{P::E, P::SW}}),
        turnout(P::W, P::E, P::NE),
        turnout(P::W, P::E, P::SE),
        turnout(P::E, P::W, P::NW),
        turnout(P::E, P::W, P::SW),
        // Seen in the direction of travel from the root, NE branches off to
        // the left of an eastbound train and NW to the right of a westbound.
        {"Dreiwegweiche", {{P::W, P::E}, {P::W, P::NE}, {P::W, P::SE}}, {1u, 2u, 4u},
         Fitting::None, {"gerade", "links", "rechts"}},
        {"Dreiwegweiche", {{P::E, P::W}, {P::E, P::NW}, {P::E, P::SW}}, {1u, 2u, 4u},
         Fitting::None, {"gerade", "rechts", "links"}},
        plain("Kreuzung", {{P::W, P::E}, {P::N, P::S}}),
        plain("Kreuzung", {{P::W, P::E}, {P::SW, P::NE}}),
        {"Doppelkreuzungsweiche", {{P::W, P::E}, {P::SW, P::NE}, {P::W, P::NE}, {P::SW, P::E}},
         {0b0011u, 0b1100u}, Fitting::None, TurnoutStates},
        signal(Fitting::SignalEastbound, 2),
        signal(Fitting::SignalWestbound, 2),
        signal(Fitting::SignalEastbound, 3),
        plain("Prellbock", {{P::W, P::Centre}}, Fitting::BufferStopFromWest),
        plain("Prellbock", {{P::E, P::Centre}}, Fitting::BufferStopFromEast),
        plain("Entkupplungsgleis", {{P::W, P::E}}, Fitting::Uncoupler),
        plain("Bogen 90°", {{P::W, P::N}}),
        plain("Bogen 90°", {{P::N, P::E}}),
    };
    return shapes;
}

const Shape &feedbackContact()
{
    static const Shape shape{"Rückmeldekontakt", {{P::W, P::E}}, {1u, 1u}, Fitting::FeedbackContact,
                             {"frei", "besetzt", ""}};
    return shape;
}

// Columns 21 and 22 of rows 2 to 4.
const std::array<Shape, 4> &lastColumnShapes()
{
    static const std::array<Shape, 4> shapes{
        plain("Bogen 90°", {{P::E, P::S}}),
        plain("Bogen 90°", {{P::S, P::W}}),
        plain("Fahrstrassentaste", {}, Fitting::SquareButton),
        plain("Fahrstrassentaste", {}, Fitting::RoundButton),
    };
    return shapes;
}

std::array<Element, ElementCount> buildTable()
{
    const std::array<Turn, 4> rowTurns{NoTurn, Clockwise90, CounterClockwise45, Clockwise45};
    const QList<Shape> &base = baseShapes();
    const std::array<Shape, 4> &last = lastColumnShapes();
    // Columns 21 and 22 of rows 2 to 4: 43, 44, 65, 66, 87, 88.
    const std::array<Element, 6> lastColumns{{
        {0, &last[0], NoTurn},
        {0, &last[1], NoTurn},
        {0, &feedbackContact(), NoTurn},
        {0, &last[2], NoTurn},
        {0, &feedbackContact(), Clockwise90},
        {0, &last[3], NoTurn},
    }};

    std::array<Element, ElementCount> table{};
    for (int i = 1; i <= ElementCount; ++i) {
        const int column = (i - 1) % PaletteColumns;
        const int row = (i - 1) / PaletteColumns;
        Element &e = table[i - 1];
        if (row == 0 || column < 20)
            e = {i, &base[column], rowTurns[row]};
        else
            e = lastColumns[(row - 1) * 2 + column - 20];
        e.number = i;
    }
    return table;
}

} // namespace

const std::array<Element, ElementCount> &elementTable()
{
    static const std::array<Element, ElementCount> table = buildTable();
    return table;
}

QString iconFileName(int element, int state)
{
    return QStringLiteral("Icon%1%2.bmp")
        .arg(element, 2, 10, QLatin1Char('0'))
        .arg(state, 2, 10, QLatin1Char('0'));
}
