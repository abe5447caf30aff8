#include "options.h"

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

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: srcpsim [options]\n"
        "A simulated SRCP server (SRCP 0.8 and 0.7.3) for demos and tests.\n"
        "\n"
        "  --host H        address to listen on (default 127.0.0.1; \"localhost\" allowed)\n"
        "  --port P        base port: commands on P, feedback on P+1, info on P+2\n"
        "                  (default 12345; 0 picks a free P with P+1 and P+2 free)\n"
        "  --demo N        run a demo train over feedback contacts 1..N\n"
        "  --interval MS   demo train step in milliseconds (default 1000)\n"
        "  --exit-on-eof   stop when standard input is closed\n"
        "  --quiet         do not log the lines sent, only the lines received\n"
        "  --help          show this text\n"
        "\n"
        "The first line on standard output is the base port in use.\n"
        "Lines typed on standard input go to the feedback clients:\n"
        "  \"18 1\"   -> INFO FB S88 18 1\n"
        "  \"* 0100\" -> INFO FB S88 * 0100\n"
        "  a line starting with INFO is sent as typed.\n");
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
        } else if (name == "--port") {
            if (!needValue())
                return result;
            // P + 2 must still be a port number.
            if (!takeInt(value, 0, 65533, &o.port)) {
                bad("expected 0 to 65533");
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
    return result;
}
