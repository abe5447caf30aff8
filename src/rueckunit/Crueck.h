#pragma once

#include "bahncalc/busse.h"
#include "elemente/Elementrollen.h"
#include "position/C_Position.h"

#include <QString>
#include <functional>

// Shows the feedback contacts on the plan: every cell of element 65 or 87
// bound to a contact shows its free or its occupied picture. It keeps no
// state of its own; the pictures on the plan are the only record.
class Crueck
{
public:
    // Draws the picture file `name` at plan point (x, y) into the plan and
    // the view; raises VelmoFehler when the picture cannot be loaded.
    using Zeichner = std::function<void(const QString &name, int x, int y)>;
    // Reports a picture that could not be drawn.
    using Fehlerbericht = std::function<void()>;

    Crueck(const CPlanZellen &plan, Zeichner zeichner, Fehlerbericht fehler);

    // What became of a line of the poll connection.
    enum class Zeilenart { Keine, Gezeigt, AndererBus };
    // One line of the poll connection: a feedback line is shown, every other
    // line and a feedback line whose contact or value is no number are
    // dropped without a message. Under SRCP 0.8 the report of a contact
    // ("<t> 100 INFO <bus> FB <n> <v>") counts as "INFO FB S88 <n> <v>" when
    // it comes from the plan's bus (FeedbackBus); the report of another bus
    // is not shown and gives AndererBus. The session's bus descriptions
    // ("<t> 100 INFO <bus> DESCRIPTION ...") tell which bus that is.
    Zeilenart ZeileVerarbeiten(const QByteArray &line);
    // A new poll session: the buses are not known yet.
    void NeueSitzung();
    // The lowest bus whose description lists FB, or 1 while none does.
    int FeedbackBus() const;
    // "INFO FB S88 <n> <v>": contact n takes value v. A line whose number
    // or value is no integer raises the conversion error before drawing.
    void RueckmeldungZeigen(const QString &line);
    // "INFO FB S88 * <digits>": one digit per contact, from contact 1 on.
    void RueckmeldungAlleZeigen(const QString &line);
    // Shows every feedback cell as free.
    void RueckmeldungReset();
    // Draws the picture for value (0 free, 1 occupied) on every cell bound
    // to contact `contact` of module `module`.
    void KontaktZeichnen(int module, int contact, int value);

private:
    void KontaktWertZeigen(int n, int value);
    void Zeichne(const C_Position &zelle, int value);

    const CPlanZellen &Plan;
    ServerBusse Busse;
    Zeichner Zeichnen;
    Fehlerbericht Fehler;
};
