#include "session.h"

#include <QDateTime>

#include <limits>
#include <optional>

namespace {

// Function values a locomotive command may carry after f0 (f1 to f31).
constexpr int MaxExtraFunctions = 31;

// Locomotive protocol codes of SRCP 0.7.3 "SET GL" lines.
const QList<QByteArray> LocoCodes073 = {"M1", "M2", "M3", "M4", "M5", "NB", "N1", "N2", "N3", "N4"};

// Names of SRCP device groups. Seen where SRCP 0.8 wants the bus number,
// they mark a line written in the SRCP 0.7.3 form, which has no bus.
const QList<QByteArray> DeviceGroups = {"GA", "GL", "FB", "POWER", "SM", "TIME", "SERVER",
                                        "SESSION", "LOCK", "DESCRIPTION", "GM"};

QByteArray errorText(int code)
{
    switch (code) {
    case 400: return "ERROR unsupported protocol";
    case 401: return "ERROR unsupported connection mode";
    case 402: return "ERROR insufficient data";
    case 410: return "ERROR unknown command";
    case 412: return "ERROR wrong value";
    case 416: return "ERROR no data";
    case 418: return "ERROR list too long";
    case 419: return "ERROR list too short";
    case 420: return "ERROR unsupported device protocol";
    case 422: return "ERROR unsupported device group";
    case 423: return "ERROR unsupported operation";
    }
    return "ERROR";
}

QByteArray stamped(int code, const QByteArray &text)
{
    return srcpTimestamp() + ' ' + QByteArray::number(code) + ' ' + text;
}

SessionOutput reply(int code, const QByteArray &text)
{
    SessionOutput out;
    out.replies.append(stamped(code, text));
    return out;
}

SessionOutput error(int code)
{
    return reply(code, errorText(code));
}

SessionOutput rejected(const QByteArray &why)
{
    SessionOutput out;
    out.rejected = why;
    return out;
}

// 419 or 418 when the list does not hold exactly `count` values.
std::optional<int> countError(const QList<QByteArray> &args, qsizetype count)
{
    if (args.size() < count)
        return 419;
    if (args.size() > count)
        return 418;
    return std::nullopt;
}

std::optional<int> number(const QByteArray &word)
{
    bool ok = false;
    const int value = word.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Reads words [from, from + ranges.size()) as decimal integers, each within
// its {min, max}; nullopt when one is not a number or out of range.
std::optional<QList<int>> numbers(const QList<QByteArray> &words, qsizetype from,
                                  const QList<QPair<int, int>> &ranges)
{
    QList<int> values;
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        const auto value = number(words.value(from + i));
        if (!value || *value < ranges[i].first || *value > ranges[i].second)
            return std::nullopt;
        values.append(*value);
    }
    return values;
}

constexpr int Any = std::numeric_limits<int>::max();
const QPair<int, int> Address{1, Any};
const QPair<int, int> Bit{0, 1};
const QPair<int, int> DriveMode{0, 2};
const QPair<int, int> NotNegative{0, Any};
const QPair<int, int> Delay{-1, Any};

QByteArray joined(const QList<int> &values)
{
    QByteArray text;
    for (int v : values) {
        if (!text.isEmpty())
            text += ' ';
        text += QByteArray::number(v);
    }
    return text;
}

QByteArray locoState(const LayoutState::Loco &loco)
{
    return joined(QList<int>{loco.driveMode, loco.speed, loco.vmax} + loco.functions);
}

} // namespace

QByteArray srcpTimestamp()
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    return QByteArray::number(ms / 1000) + '.' + QByteArray::number(ms % 1000).rightJustified(3, '0');
}

CommandSession::CommandSession(LayoutState &layout)
    : Layout(layout)
{
}

SessionOutput CommandSession::handleLine(const QByteArray &line)
{
    const QByteArray simple = line.simplified();
    const QList<QByteArray> words = simple.isEmpty() ? QList<QByteArray>() : simple.split(' ');
    SessionOutput out;
    switch (CurrentMode) {
    case Mode::Srcp073:
        if (handleOpening(words, out))
            return out;
        return handle073(words);
    case Mode::Handshake:
        if (handleOpening(words, out))
            return out;
        // Nothing but the opening lines is understood before GO.
        return error(402);
    case Mode::Srcp08:
        return handle08(words);
    }
    return out;
}

// The SRCP 0.8 opening lines, answered before GO in either of the first two
// modes; false when the line is not one of them.
bool CommandSession::handleOpening(const QList<QByteArray> &words, SessionOutput &out)
{
    if (words.size() == 1 && words[0] == "GO") {
        if (CurrentMode != Mode::Handshake || !CommandModeChosen) {
            out = error(402);
            return true;
        }
        SessionId = Layout.nextSessionId++;
        CurrentMode = Mode::Srcp08;
        out = reply(200, "OK GO " + QByteArray::number(SessionId));
        return true;
    }
    if (words.size() < 2 || words[0] != "SET")
        return false;
    if (words[1] == "PROTOCOL") {
        if (const auto e = countError(words, 4)) {
            out = error(*e);
        } else if (words[2] != "SRCP" || !words[3].startsWith("0.8")) {
            out = error(400);
        } else {
            CurrentMode = Mode::Handshake;
            out = reply(201, "OK PROTOCOL SRCP");
        }
        return true;
    }
    if (words[1] == "CONNECTIONMODE") {
        if (const auto e = countError(words, 4)) {
            out = error(*e);
        } else if (words[2] != "SRCP" || words[3] != "COMMAND") {
            // Info sessions are served on the info port without a handshake.
            out = error(401);
        } else {
            CurrentMode = Mode::Handshake;
            CommandModeChosen = true;
            out = reply(202, "OK CONNECTIONMODE");
        }
        return true;
    }
    return false;
}

SessionOutput CommandSession::handle073(const QList<QByteArray> &words)
{
    if (words.size() < 2 || words[0] != "SET")
        return rejected("unknown command");
    const QByteArray &group = words[1];
    SessionOutput out;
    if (group == "GA") {
        // SET GA <M|N> <address> <port> <value> <delay>
        if (words.size() != 7)
            return rejected("wrong number of values");
        const auto v = numbers(words, 3, {Address, Bit, Bit, Delay});
        if ((words[2] != "M" && words[2] != "N") || !v)
            return rejected("wrong value");
        out.reports.append("INFO GA " + words[2] + ' ' + joined(v->mid(0, 3)));
    } else if (group == "GL") {
        // SET GL <code> <address> <dir> <speed> <vmax> <f0> <n> <f1> ... <fn>
        const auto count = number(words.value(8));
        if (words.size() < 9 || !count || *count < 0 || words.size() - 9 != *count)
            return rejected("wrong number of values");
        if (*count > MaxExtraFunctions || !LocoCodes073.contains(words[2]))
            return rejected("wrong value");
        QList<QPair<int, int>> ranges{Address, DriveMode, NotNegative, NotNegative, Bit, NotNegative};
        for (int i = 0; i < *count; ++i)
            ranges.append(Bit);
        const auto v = numbers(words, 3, ranges);
        if (!v)
            return rejected("wrong value");
        out.reports.append("INFO GL " + words[2] + ' ' + joined(*v));
    } else if (group == "POWER") {
        if (words.size() != 3)
            return rejected("wrong number of values");
        if (words[2] != "ON" && words[2] != "OFF")
            return rejected("wrong value");
        // Without buses, power means the whole layout.
        for (int bus = 1; bus <= LayoutState::BusCount; ++bus)
            Layout.power[bus] = words[2] == "ON";
        out.reports.append("INFO POWER " + words[2]);
    } else {
        return rejected("unsupported device group");
    }
    return out;
}

SessionOutput CommandSession::handle08(const QList<QByteArray> &words)
{
    if (words.isEmpty())
        return error(410);
    const QByteArray &command = words[0];
    if (command == "CHECK" || command == "VERIFY" || command == "WAIT" || command == "RESET")
        return error(423);
    if (command != "SET" && command != "GET" && command != "INIT" && command != "TERM")
        return error(410);
    if (words.size() < 2)
        return error(419);
    if (DeviceGroups.contains(words[1]))
        return error(422);
    const auto bus = number(words[1]);
    if (!bus || *bus < 1 || *bus > LayoutState::BusCount)
        return error(412);
    if (words.size() < 3)
        return error(419);
    const QByteArray &group = words[2];
    const QList<QByteArray> args = words.mid(3);
    if (group == "GA")
        return accessory08(command, *bus, args);
    if (group == "GL")
        return loco08(command, *bus, args);
    if (group == "POWER")
        return power08(command, *bus, args);
    return error(422);
}

SessionOutput CommandSession::accessory08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    const QByteArray prefix = "INFO " + QByteArray::number(bus) + " GA ";
    if (command == "INIT") {
        // INIT <bus> GA <address> <M|N>
        if (const auto e = countError(args, 2))
            return error(*e);
        const auto v = numbers(args, 0, {Address});
        if (!v)
            return error(412);
        if (args[1] != "M" && args[1] != "N")
            return error(420);
        Layout.accessories[{bus, v->at(0)}] = {};
        return reply(200, "OK");
    }
    if (command == "SET") {
        // SET <bus> GA <address> <port> <value> <delay>
        if (const auto e = countError(args, 4))
            return error(*e);
        const auto v = numbers(args, 0, {Address, Bit, Bit, Delay});
        if (!v)
            return error(412);
        const auto device = Layout.accessories.find({bus, v->at(0)});
        if (device == Layout.accessories.end())
            return error(416);
        device->portValues[v->at(1)] = v->at(2);
        SessionOutput out = reply(200, "OK");
        out.reports.append(stamped(100, prefix + joined(v->mid(0, 3))));
        return out;
    }
    // GET <bus> GA <address> <port>, TERM <bus> GA <address>
    const qsizetype count = command == "GET" ? 2 : 1;
    if (const auto e = countError(args, count))
        return error(*e);
    const auto v = numbers(args, 0, QList<QPair<int, int>>{Address, Bit}.mid(0, count));
    if (!v)
        return error(412);
    const auto device = Layout.accessories.find({bus, v->at(0)});
    if (device == Layout.accessories.end())
        return error(416);
    if (command == "TERM") {
        Layout.accessories.erase(device);
        return reply(200, "OK");
    }
    const int value = device->portValues.value(v->at(1), 0);
    return reply(100, prefix + joined({v->at(0), v->at(1), value}));
}

SessionOutput CommandSession::loco08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    const QByteArray prefix = "INFO " + QByteArray::number(bus) + " GL ";
    if (command == "INIT") {
        // INIT <bus> GL <address> <M|N> <protocol version> <speed steps> <function count>
        if (const auto e = countError(args, 5))
            return error(*e);
        const auto address = numbers(args, 0, {Address});
        const auto params = numbers(args, 2, {{1, Any}, {1, Any}, {0, MaxExtraFunctions + 1}});
        if (!address || !params)
            return error(412);
        if (args[1] != "M" && args[1] != "N")
            return error(420);
        Layout.locos[{bus, address->at(0)}] = {};
        return reply(200, "OK");
    }
    if (command == "SET") {
        // SET <bus> GL <address> <drive mode> <V> <Vmax> <f0> [<f1> ...]
        if (args.size() < 5)
            return error(419);
        if (args.size() > 5 + MaxExtraFunctions)
            return error(418);
        QList<QPair<int, int>> ranges{Address, DriveMode, NotNegative, NotNegative};
        while (ranges.size() < args.size())
            ranges.append(Bit);
        const auto v = numbers(args, 0, ranges);
        if (!v)
            return error(412);
        const auto loco = Layout.locos.find({bus, v->at(0)});
        if (loco == Layout.locos.end())
            return error(416);
        loco->driveMode = v->at(1);
        loco->speed = v->at(2);
        loco->vmax = v->at(3);
        loco->functions = v->mid(4);
        SessionOutput out = reply(200, "OK");
        out.reports.append(stamped(100, prefix + QByteArray::number(v->at(0)) + ' ' + locoState(*loco)));
        return out;
    }
    // GET <bus> GL <address>, TERM <bus> GL <address>
    if (const auto e = countError(args, 1))
        return error(*e);
    const auto v = numbers(args, 0, {Address});
    if (!v)
        return error(412);
    const auto loco = Layout.locos.find({bus, v->at(0)});
    if (loco == Layout.locos.end())
        return error(416);
    if (command == "TERM") {
        Layout.locos.erase(loco);
        return reply(200, "OK");
    }
    return reply(100, prefix + QByteArray::number(v->at(0)) + ' ' + locoState(*loco));
}

SessionOutput CommandSession::power08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    const QByteArray prefix = "INFO " + QByteArray::number(bus) + " POWER ";
    if (command == "SET") {
        if (const auto e = countError(args, 1))
            return error(*e);
        if (args[0] != "ON" && args[0] != "OFF")
            return error(412);
        Layout.power[bus] = args[0] == "ON";
        SessionOutput out = reply(200, "OK");
        out.reports.append(stamped(100, prefix + args[0]));
        return out;
    }
    if (command == "GET") {
        if (const auto e = countError(args, 0))
            return error(*e);
        return reply(100, prefix + (Layout.power[bus] ? "ON" : "OFF"));
    }
    // Power needs no INIT and cannot be terminated.
    return error(423);
}
