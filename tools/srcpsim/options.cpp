#include "options.h"

#include <algorithm>

namespace {

bool takeInt(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < min || v > max)
        return false;
    *value = v;
    return true;
}

// "1,2,3": distinct bus numbers 1 to 9, returned ascending; empty on error.
QList<int> takeBuses(const QString &text, QString *why)
{
    QList<int> buses;
    for (const QString &part : text.split(',')) {
        int bus = 0;
        if (!takeInt(part, 1, 9, &bus)) {
            *why = QStringLiteral("expected distinct bus numbers 1 to 9 separated by commas, e.g. 1,2,3");
            return {};
        }
        if (buses.contains(bus)) {
            *why = QStringLiteral("bus %1 is listed twice").arg(bus);
            return {};
        }
        buses.append(bus);
    }
    std::sort(buses.begin(), buses.end());
    return buses;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: srcpsim [options]\n"
        "A simulated SRCP server (SRCP 0.8 and 0.7.3) for demos and tests.\n"
        "\n"
        "  --host H        address to listen on (default 127.0.0.1; \"localhost\" allowed)\n"
        "  --srcp V        0.7.3 (default): commands on P, feedback on P+1, info on P+2;\n"
        "                  0.8: command and info sessions on the one port P\n"
        "  --port P        port P (default 12345; 0 picks a free one, in 0.7.3 mode\n"
        "                  with P+1 and P+2 free too)\n"
        "  --buses LIST    buses of SRCP 0.8 sessions, e.g. 1,2,3 (the default); 1 to 9\n"
        "  --demo N        run a demo train over feedback contacts 1..N\n"
        "  --interval MS   demo train step in milliseconds (default 1000)\n"
        "  --exit-on-eof   stop when standard input is closed\n"
        "  --quiet         do not log the lines sent, only the lines received\n"
        "  --help          show this text\n"
        "\n"
        "The first line on standard output is the port P in use.\n"
        "Lines typed on standard input set feedback contacts (of the lowest bus):\n"
        "  \"18 1\"   contact 18 occupied    (0.7.3: INFO FB S88 18 1 to the feedback port)\n"
        "  \"* 0100\" contacts 1..4           (0.7.3: INFO FB S88 * 0100)\n"
        "  In 0.8 mode each contact that changes is reported to the info sessions\n"
        "  as \"<t> 100 INFO <bus> FB <contact> <value>\".\n"
        "  A line starting with INFO (in 0.8 mode also one starting with a time\n"
        "  stamp) is sent as typed.\n");
}

OptionsResult parseOptions(const QStringList &arguments)
{
    OptionsResult result;
    SimOptions &o = result.options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool hasInlineValue = false;
        const qsizetype eq = name.indexOf('=');
        if (name.startsWith("--") && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasInlineValue = true;
        }
        auto needValue = [&]() -> bool {
            if (hasInlineValue)
                return true;
            if (i + 1 >= arguments.size()) {
                result.error = QStringLiteral("option %1 needs a value").arg(name);
                return false;
            }
            value = arguments[++i];
            return true;
        };
        auto bad = [&](const QString &what) {
            result.error = QStringLiteral("invalid value \"%1\" for %2: %3").arg(value, name, what);
        };

        if (name == "--help" || name == "-h") {
            result.showHelp = true;
        } else if (name == "--exit-on-eof" && !hasInlineValue) {
            o.exitOnEof = true;
        } else if (name == "--quiet" && !hasInlineValue) {
            o.quiet = true;
        } else if (name == "--host") {
            if (!needValue())
                return result;
            if (value == "localhost")
                o.host = QHostAddress(QHostAddress::LocalHost);
            else if (!o.host.setAddress(value)) {
                bad("not an IP address");
                return result;
            }
        } else if (name == "--srcp") {
            if (!needValue())
                return result;
            if (value == "0.7.3")
                o.srcp = SrcpVersion::Srcp073;
            else if (value == "0.8")
                o.srcp = SrcpVersion::Srcp08;
            else {
                bad("expected 0.7.3 or 0.8");
                return result;
            }
        } else if (name == "--port") {
            if (!needValue())
                return result;
            if (!takeInt(value, 0, 65535, &o.port)) {
                bad("expected 0 to 65535");
                return result;
            }
        } else if (name == "--buses") {
            if (!needValue())
                return result;
            QString why;
            o.buses = takeBuses(value, &why);
            if (o.buses.isEmpty()) {
                bad(why);
                return result;
            }
        } else if (name == "--demo") {
            if (!needValue())
                return result;
            if (!takeInt(value, 0, 9999, &o.demoContacts)) {
                bad("expected 0 to 9999");
                return result;
            }
        } else if (name == "--interval") {
            if (!needValue())
                return result;
            if (!takeInt(value, 1, 3600000, &o.intervalMs)) {
                bad("expected 1 to 3600000");
                return result;
            }
        } else {
            result.error = QStringLiteral("unknown argument \"%1\"").arg(arguments[i]);
            return result;
        }
    }
    // With three ports, P + 2 must still be a port number.
    if (o.srcp == SrcpVersion::Srcp073 && o.port > 65533)
        result.error = QStringLiteral("--port %1: with --srcp 0.7.3 the port is at most 65533 (P + 2 is the info port)")
                           .arg(o.port);
    return result;
}
