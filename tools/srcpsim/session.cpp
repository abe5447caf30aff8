#include "session.h"

#include <limits>
#include <optional>

namespace {

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
const QPair<int, int> AccessoryAddress{1, LayoutState::MaxAccessoryAddress};
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

QByteArray busInfo(int bus, const QByteArray &rest)
{
    return "INFO " + QByteArray::number(bus) + ' ' + rest;
}

} // namespace

SrcpSession::SrcpSession(LayoutState &layout)
    : Layout(layout)
    , CurrentMode(layout.srcp08Server() ? Mode::Handshake : Mode::Srcp073)
{
}

SessionOutput SrcpSession::handleLine(const QByteArray &line)
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
    case Mode::Command08:
        return handle08(words);
    case Mode::Info08:
        return rejected("an info session takes no commands");
    }
    return out;
}

// The SRCP 0.8 opening lines, answered before GO; false when the line is
// not one of them.
bool SrcpSession::handleOpening(const QList<QByteArray> &words, SessionOutput &out)
{
    if (words.size() == 1 && words[0] == "GO") {
        if (CurrentMode != Mode::Handshake || ChosenMode == Mode::Handshake) {
            out = error(402);
            return true;
        }
        SessionId = Layout.nextSessionId();
        CurrentMode = ChosenMode;
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
        // In SRCP 0.7.3 mode info clients use the info port, without a handshake.
        const bool infoAllowed = Layout.srcp08Server();
        if (const auto e = countError(words, 4)) {
            out = error(*e);
        } else if (words[2] != "SRCP" || (words[3] != "COMMAND" && (words[3] != "INFO" || !infoAllowed))) {
            out = error(401);
        } else {
            CurrentMode = Mode::Handshake;
            ChosenMode = words[3] == "COMMAND" ? Mode::Command08 : Mode::Info08;
            out = reply(202, "OK CONNECTIONMODE");
        }
        return true;
    }
    return false;
}

SessionOutput SrcpSession::handle073(const QList<QByteArray> &words)
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
        if (*count >= LayoutState::MaxFunctions || !LocoCodes073.contains(words[2]))
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
        for (int bus : Layout.buses())
            Layout.setPower(bus, words[2] == "ON");
        out.reports.append("INFO POWER " + words[2]);
    } else {
        return rejected("unsupported device group");
    }
    return out;
}

SessionOutput SrcpSession::handle08(const QList<QByteArray> &words)
{
    // A lone word, even a known command, lacks at least the bus.
    if (words.size() < 2)
        return error(419);
    const QByteArray &command = words[0];
    if (command == "CHECK" || command == "VERIFY" || command == "WAIT" || command == "RESET")
        return error(423);
    if (command != "SET" && command != "GET" && command != "INIT" && command != "TERM")
        return error(410);
    if (DeviceGroups.contains(words[1]))
        return error(422);
    const auto bus = number(words[1]);
    if (!bus || (*bus != 0 && !Layout.hasBus(*bus)))
        return error(412);
    if (words.size() < 3)
        return error(419);
    const QByteArray &group = words[2];
    const QList<QByteArray> args = words.mid(3);
    if (group == "DESCRIPTION")
        return description08(command, *bus, args);
    // Bus 0 is the server itself; it has no layout devices.
    if (*bus == 0)
        return error(412);
    if (group == "GA")
        return accessory08(command, *bus, args);
    if (group == "GL")
        return loco08(command, *bus, args);
    if (group == "FB")
        return feedback08(command, *bus, args);
    if (group == "POWER")
        return power08(command, *bus, args);
    // Named in the bus description, but not simulated.
    if (group == "SM" || group == "LOCK")
        return error(423);
    return error(422);
}

void SrcpSession::reportInit(SessionOutput &out, const QByteArray &report) const
{
    if (Layout.srcp08Server())
        out.reports.append(report);
}

SessionOutput SrcpSession::description08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    // GET <bus> DESCRIPTION; a description can only be read.
    if (command != "GET")
        return error(423);
    if (const auto e = countError(args, 0))
        return error(*e);
    return reply(100, busInfo(bus, LayoutState::description(bus)));
}

SessionOutput SrcpSession::accessory08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    if (command == "INIT") {
        // INIT <bus> GA <address> <M|N>
        if (const auto e = countError(args, 2))
            return error(*e);
        const auto v = numbers(args, 0, {AccessoryAddress});
        if (!v)
            return error(412);
        if (args[1] != "M" && args[1] != "N")
            return error(420);
        SessionOutput out = reply(200, "OK");
        reportInit(out, Layout.initAccessory(bus, v->at(0), args[1]));
        return out;
    }
    if (command == "SET") {
        // SET <bus> GA <address> <port> <value> <delay>
        if (const auto e = countError(args, 4))
            return error(*e);
        const auto v = numbers(args, 0, {AccessoryAddress, Bit, Bit, Delay});
        if (!v)
            return error(412);
        // An SRCP 0.8 server INITs an accessory itself when it carries out
        // the switch; a session of SRCP 0.7.3 mode wants the INIT first.
        if (!Layout.srcp08Server() && !Layout.accessory(bus, v->at(0)))
            return error(416);
        SessionOutput out = reply(200, "OK");
        out.reports = Layout.switchAccessory(bus, v->at(0), v->at(1), v->at(2));
        return out;
    }
    // GET <bus> GA <address> <port>, TERM <bus> GA <address>
    const qsizetype count = command == "GET" ? 2 : 1;
    if (const auto e = countError(args, count))
        return error(*e);
    const auto v = numbers(args, 0, QList<QPair<int, int>>{AccessoryAddress, Bit}.mid(0, count));
    if (!v)
        return error(412);
    const LayoutState::Accessory *device = Layout.accessory(bus, v->at(0));
    if (!device)
        return error(416);
    if (command == "TERM") {
        Layout.termAccessory(bus, v->at(0));
        return reply(200, "OK");
    }
    // A port never switched has no value to tell.
    const auto value = device->portValues.find(v->at(1));
    if (value == device->portValues.end())
        return error(416);
    return reply(100, busInfo(bus, "GA " + joined({v->at(0), v->at(1), *value})));
}

SessionOutput SrcpSession::loco08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    if (command == "INIT") {
        // INIT <bus> GL <address> <M|N> <protocol version> <speed steps> <function count>
        if (const auto e = countError(args, 5))
            return error(*e);
        const auto address = numbers(args, 0, {Address});
        const auto params = numbers(args, 2, {{1, Any}, {1, Any}, {0, LayoutState::MaxFunctions}});
        if (!address || !params)
            return error(412);
        if (args[1] != "M" && args[1] != "N")
            return error(420);
        LayoutState::Loco init;
        init.protocol = args[1];
        init.version = params->at(0);
        init.speedSteps = params->at(1);
        init.functionCount = params->at(2);
        SessionOutput out = reply(200, "OK");
        reportInit(out, Layout.initLoco(bus, address->at(0), init));
        return out;
    }
    if (command == "SET") {
        // SET <bus> GL <address> <drive mode> <V> <Vmax> <f0> [<f1> ...]
        if (args.size() < 5)
            return error(419);
        if (args.size() > 4 + LayoutState::MaxFunctions)
            return error(418);
        QList<QPair<int, int>> ranges{Address, DriveMode, NotNegative, NotNegative};
        while (ranges.size() < args.size())
            ranges.append(Bit);
        const auto v = numbers(args, 0, ranges);
        if (!v)
            return error(412);
        const int address = v->at(0);
        SessionOutput out = reply(200, "OK");
        if (!Layout.loco(bus, address)) {
            // Like a real server: a locomotive not INITed gets the default
            // protocol, with as many functions as the command carries.
            LayoutState::Loco init;
            init.functionCount = int(v->size() - 4);
            reportInit(out, Layout.initLoco(bus, address, init));
        }
        LayoutState::Loco *loco = Layout.loco(bus, address);
        loco->driveMode = v->at(1);
        loco->speed = v->at(2);
        loco->vmax = v->at(3);
        loco->functions = v->mid(4);
        out.reports.append(Layout.locoReport(bus, address));
        return out;
    }
    // GET <bus> GL <address>, TERM <bus> GL <address>
    if (const auto e = countError(args, 1))
        return error(*e);
    const auto v = numbers(args, 0, {Address});
    if (!v)
        return error(412);
    const LayoutState::Loco *loco = Layout.loco(bus, v->at(0));
    if (!loco)
        return error(416);
    if (command == "TERM") {
        Layout.termLoco(bus, v->at(0));
        return reply(200, "OK");
    }
    return reply(100, busInfo(bus, "GL " + QByteArray::number(v->at(0)) + ' ' + LayoutState::locoState(*loco)));
}

SessionOutput SrcpSession::feedback08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    if (command == "SET") {
        // SET <bus> FB <contact> <value>: the simulated bus lets a client
        // occupy or free a contact.
        if (const auto e = countError(args, 2))
            return error(*e);
        const auto v = numbers(args, 0, {Address, Bit});
        if (!v)
            return error(412);
        SessionOutput out = reply(200, "OK");
        if (const auto report = Layout.setContact(bus, v->at(0), v->at(1)))
            out.reports.append(*report);
        return out;
    }
    if (command == "GET") {
        // GET <bus> FB <contact>; a contact never set reads 0.
        if (const auto e = countError(args, 1))
            return error(*e);
        const auto v = numbers(args, 0, {Address});
        if (!v)
            return error(412);
        return reply(100, busInfo(bus, "FB " + joined({v->at(0), Layout.contact(bus, v->at(0))})));
    }
    // Contacts need no INIT and cannot be terminated.
    return error(423);
}

SessionOutput SrcpSession::power08(const QByteArray &command, int bus, const QList<QByteArray> &args)
{
    if (command == "SET") {
        if (const auto e = countError(args, 1))
            return error(*e);
        if (args[0] != "ON" && args[0] != "OFF")
            return error(412);
        SessionOutput out = reply(200, "OK");
        out.reports = Layout.setPower(bus, args[0] == "ON");
        return out;
    }
    if (command == "GET") {
        if (const auto e = countError(args, 0))
            return error(*e);
        return reply(100, busInfo(bus, "POWER " + Layout.powerText(bus)));
    }
    // Power needs no INIT and cannot be terminated.
    return error(423);
}
