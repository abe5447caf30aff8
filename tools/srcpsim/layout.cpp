#include "layout.h"

#include <QDateTime>

#include <utility>

namespace {

QByteArray num(int value)
{
    return QByteArray::number(value);
}

QByteArray busInfo(int bus, const QByteArray &rest)
{
    return "INFO " + num(bus) + ' ' + rest;
}

} // namespace

QByteArray srcpTimestamp()
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    return QByteArray::number(ms / 1000) + '.' + QByteArray::number(ms % 1000).rightJustified(3, '0');
}

QByteArray stamped(int code, const QByteArray &text)
{
    return srcpTimestamp() + ' ' + num(code) + ' ' + text;
}

LayoutState::LayoutState(const QList<int> &buses, bool srcp08Server)
    : Srcp08Server(srcp08Server)
{
    for (int bus : buses)
        Buses[bus];
}

QList<int> LayoutState::buses() const
{
    QList<int> list;
    for (const auto &entry : Buses)
        list.append(entry.first);
    return list;
}

QByteArray LayoutState::description(int bus)
{
    return bus == 0 ? "DESCRIPTION SESSION SERVER TIME GM" : "DESCRIPTION GA GL FB SM POWER LOCK DESCRIPTION";
}

QByteArray LayoutState::powerText(int bus) const
{
    const Bus &b = Buses.at(bus);
    if (b.power)
        return "ON";
    return b.offReason.isEmpty() ? "OFF" : "OFF " + b.offReason;
}

QList<QByteArray> LayoutState::setPower(int bus, bool on)
{
    Bus &b = Buses.at(bus);
    b.power = on;
    b.offReason.clear();
    QList<QByteArray> reports{stamped(100, busInfo(bus, "POWER " + powerText(bus)))};
    if (on) {
        // Accessory commands that waited for power are carried out now, in order.
        const auto waiting = std::exchange(b.waitingSwitches, {});
        for (const auto &[address, port, value] : waiting)
            reports.append(applySwitch(bus, address, port, value));
    }
    return reports;
}

QByteArray LayoutState::initAccessory(int bus, int address, const QByteArray &protocol)
{
    const Accessory &accessory = Accessories[{bus, address}] = Accessory{protocol, {}};
    return accessoryInitReport(bus, address, accessory);
}

QByteArray LayoutState::accessoryInitReport(int bus, int address, const Accessory &accessory)
{
    return stamped(101, busInfo(bus, "GA " + num(address) + ' ' + accessory.protocol));
}

QByteArray LayoutState::locoInitReport(int bus, int address, const Loco &loco)
{
    return stamped(101, busInfo(bus, "GL " + num(address) + ' ' + loco.protocol + ' ' + num(loco.version) + ' '
                                         + num(loco.speedSteps) + ' ' + num(loco.functionCount)));
}

QByteArray LayoutState::initLoco(int bus, int address, const Loco &init)
{
    Loco loco = init;
    // A fresh locomotive stands, with every function off.
    loco.driveMode = 0;
    loco.speed = 0;
    loco.vmax = init.speedSteps;
    loco.functions = QList<int>(init.functionCount, 0);
    Locos[{bus, address}] = loco;
    return locoInitReport(bus, address, loco);
}

LayoutState::Accessory *LayoutState::accessory(int bus, int address)
{
    const auto it = Accessories.find({bus, address});
    return it == Accessories.end() ? nullptr : &*it;
}

LayoutState::Loco *LayoutState::loco(int bus, int address)
{
    const auto it = Locos.find({bus, address});
    return it == Locos.end() ? nullptr : &*it;
}

QList<QByteArray> LayoutState::switchAccessory(int bus, int address, int port, int value)
{
    Bus &b = Buses.at(bus);
    if (Srcp08Server && !b.power) {
        b.waitingSwitches.append({address, port, value});
        return {};
    }
    return applySwitch(bus, address, port, value);
}

QList<QByteArray> LayoutState::applySwitch(int bus, int address, int port, int value)
{
    QList<QByteArray> reports;
    // Only SRCP 0.8 server mode lets an accessory be switched without INIT
    // (see SrcpSession); one TERMed while its command waited is INITed again.
    if (!Accessories.contains({bus, address}))
        reports.append(initAccessory(bus, address, "P"));
    Accessories[{bus, address}].portValues[port] = value;
    reports.append(stamped(100, busInfo(bus, "GA " + num(address) + ' ' + num(port) + ' ' + num(value))));
    return reports;
}

QByteArray LayoutState::locoState(const Loco &loco)
{
    QByteArray text = num(loco.driveMode) + ' ' + num(loco.speed) + ' ' + num(loco.vmax);
    for (int f : loco.functions)
        text += ' ' + num(f);
    return text;
}

QByteArray LayoutState::locoReport(int bus, int address) const
{
    return stamped(100, busInfo(bus, "GL " + num(address) + ' ' + locoState(Locos.value({bus, address}))));
}

std::optional<QByteArray> LayoutState::setContact(int bus, int contact, int value)
{
    QMap<int, int> &contacts = Buses.at(bus).contacts;
    if (contacts.value(contact, 0) == value)
        return std::nullopt;
    if (value == 0)
        contacts.remove(contact);
    else
        contacts[contact] = value;
    return stamped(100, busInfo(bus, "FB " + num(contact) + ' ' + num(value)));
}

QList<QByteArray> LayoutState::stateReport() const
{
    QList<QByteArray> lines{stamped(100, "INFO 0 " + description(0)), stamped(101, "INFO 0 TIME 0 0")};
    for (const auto &[bus, b] : Buses) {
        lines.append(stamped(100, busInfo(bus, description(bus))));
        lines.append(stamped(100, busInfo(bus, "POWER " + powerText(bus))));
        for (auto it = Locos.begin(); it != Locos.end(); ++it) {
            if (it.key().first != bus)
                continue;
            lines.append(locoInitReport(bus, it.key().second, *it));
            lines.append(locoReport(bus, it.key().second));
        }
        for (auto it = Accessories.begin(); it != Accessories.end(); ++it)
            if (it.key().first == bus)
                lines.append(accessoryInitReport(bus, it.key().second, *it));
        for (auto it = b.contacts.begin(); it != b.contacts.end(); ++it)
            lines.append(stamped(100, busInfo(bus, "FB " + num(it.key()) + ' ' + num(*it))));
    }
    return lines;
}
