#pragma once

#include "bahncalc/busse.h"

#include <QByteArray>

// Accessory commands (turnouts, signals). A plan cell names a decoder by its
// decoder address A and one of its outputs; the server wants an SRCP address
// and a port. Four SRCP addresses belong to each decoder.

// One decoder output to pulse: the accessory protocol text, the decoder
// number and its output.
struct Zubehoerausgang
{
    QByteArray Protokoll;
    int Dekoder = 0;
    int Ausgang = 0;
    bool operator==(const Zubehoerausgang &) const = default;
};

struct ZubehoerAdresse
{
    int Adresse;
    int Port;
};

// Whether the output of that decoder can be switched at all: decoder address
// above 0 and output not negative.
bool ZubehoerSchaltbar(int decoderAddress, int output);

// Outputs 1, 3, 5, 7 give (4A + output/2 + 1, port 0); every other output
// gives (4A + output/2, port 1). Output 9 and above keep counting the same way.
ZubehoerAdresse ZubehoerZiel(int decoderAddress, int output);

// Whether an accessory protocol text means DCC: exactly "N" or "n"; any
// other text (also an empty one) means Motorola.
bool ZubehoerIstDcc(const QByteArray &protocol);

// Bus of an accessory protocol letter: 2 for exactly "N" or "n" (DCC),
// 1 for any other text (Motorola).
int ZubehoerBus(const QByteArray &protocol);

// SRCP 0.7.3: "SET GA N " or "SET GA M ", address, port, value, then " -1"
// (no switch-off time) and a line feed, e.g. "SET GA M 18 0 1 -1\n".
QByteArray ZubehoerBefehl70(const QByteArray &protocol, ZubehoerAdresse ziel, int value);

// The SRCP 0.8 bus of an accessory: the protocol's bus as the server's
// buses serve accessories (ServerBusse::Ziel).
int ZubehoerBus80(const QByteArray &protocol, const ServerBusse &busse = {});

// SRCP 0.8: "SET <bus> GA <address> <port> <value> -1\n".
QByteArray ZubehoerBefehl80(const QByteArray &protocol, ZubehoerAdresse ziel, int value,
                            const ServerBusse &busse = {});

// SRCP 0.8 initialisation of an accessory address: "INIT <bus> GA <address> M\n"
// or, for DCC, "... N\n".
QByteArray ZubehoerInit80(const QByteArray &protocol, int address, const ServerBusse &busse = {});
