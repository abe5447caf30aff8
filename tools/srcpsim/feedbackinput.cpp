#include "feedbackinput.h"

#include <QRegularExpression>

namespace {

bool startsWithTimestamp(const QByteArray &typed)
{
    static const QRegularExpression form(R"(^\d+\.\d+(\s|$))");
    return form.match(QString::fromLatin1(typed)).hasMatch();
}

} // namespace

std::optional<FeedbackInput> feedbackFromInput(const QByteArray &typed, bool stampedAsTyped, QByteArray *why)
{
    why->clear();
    FeedbackInput input;
    if (typed.startsWith("INFO") || (stampedAsTyped && startsWithTimestamp(typed))) {
        input.asTyped = typed;
        return input;
    }
    const QByteArray simple = typed.simplified();
    if (simple.isEmpty())
        return std::nullopt;
    const QList<QByteArray> words = simple.split(' ');
    if (words.size() != 2) {
        *why = "expected \"<contact> <value>\", \"* <digits>\" or a line starting with INFO";
        return std::nullopt;
    }
    if (words[0] == "*") {
        int contact = 0;
        for (char c : words[1]) {
            if (c != '0' && c != '1') {
                *why = "the contact states after \"*\" must be 0 or 1";
                return std::nullopt;
            }
            input.contacts.append({++contact, c - '0'});
        }
        input.allFromFirst = true;
        return input;
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
    input.contacts.append({contact, value});
    return input;
}

QByteArray s88Line(const FeedbackInput &input)
{
    if (!input.asTyped.isEmpty())
        return input.asTyped;
    if (input.allFromFirst) {
        QByteArray digits;
        for (const auto &[contact, value] : input.contacts)
            digits += char('0' + value);
        return "INFO FB S88 * " + digits;
    }
    const auto &[contact, value] = input.contacts.value(0);
    return "INFO FB S88 " + QByteArray::number(contact) + ' ' + QByteArray::number(value);
}
