#include "feedbackinput.h"

#include <QList>

std::optional<QByteArray> feedbackLineFromInput(const QByteArray &typed, QByteArray *why)
{
    why->clear();
    if (typed.startsWith("INFO"))
        return typed;
    const QByteArray simple = typed.simplified();
    if (simple.isEmpty())
        return std::nullopt;
    const QList<QByteArray> words = simple.split(' ');
    if (words.size() != 2) {
        *why = "expected \"<contact> <value>\", \"* <digits>\" or a line starting with INFO";
        return std::nullopt;
    }
    if (words[0] == "*") {
        for (char c : words[1]) {
            if (c != '0' && c != '1') {
                *why = "the contact states after \"*\" must be 0 or 1";
                return std::nullopt;
            }
        }
        return "INFO FB S88 * " + words[1];
    }
    bool contactOk = false;
    bool valueOk = false;
    const int contact = words[0].toInt(&contactOk, 10);
    const int value = words[1].toInt(&valueOk, 10);
    if (!contactOk || !valueOk || contact < 1) {
        *why = "contact and value must be integers, the contact 1 or more";
        return std::nullopt;
    }
    // Any integer value passes, so a client can also be shown a wrong one.
    return "INFO FB S88 " + QByteArray::number(contact) + ' ' + QByteArray::number(value);
}
