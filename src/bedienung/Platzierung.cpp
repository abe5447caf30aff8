#include "bedienung/Platzierung.h"

#include <algorithm>

namespace {

int ImBereich(int v, int laenge)
{
    return std::clamp(v, 0, std::max(laenge - 1, 0));
}

PlanZelle LetzteZelle(const Arbeitsmodi &modi, const Sicht &sicht)
{
    return ZelleUnter({modi.LetztesX, modi.LetztesY}, sicht);
}

void Merken(Arbeitsmodi &modi, QPoint p, const Sicht &sicht)
{
    modi.LetztesX = ImBereich(p.x(), sicht.Groesse.width());
    modi.LetztesY = ImBereich(p.y(), sicht.Groesse.height());
}

} // namespace

PlanZelle ZelleUnter(QPoint p, const Sicht &sicht)
{
    const QPoint ecke(Raster(ImBereich(p.x(), sicht.Groesse.width())), Raster(ImBereich(p.y(), sicht.Groesse.height())));
    return {ecke, ecke + sicht.Scroll};
}

Entwurfsschritte EntwurfDruecken(Arbeitsmodi &modi, CPlanZellen &plan, Qt::MouseButton button, QPoint p,
                                 const Sicht &sicht)
{
    Entwurfsschritte schritte;
    const PlanZelle zelle = ZelleUnter(p, sicht);
    if (button == Qt::LeftButton && modi.ElementGewaehlt) {
        Merken(modi, p, sicht);
        schritte.Unterlegen = zelle;
        schritte.Icon = zelle;
    } else if (button == Qt::RightButton) {
        schritte.Zuruecklegen = zelle;
        const int i = plan.FindeSlot(zelle.Plan.x(), zelle.Plan.y());
        plan.LoeschePosition(i);
        schritte.Geaendert = i > 0;
    }
    return schritte;
}

Entwurfsschritte EntwurfZiehen(Arbeitsmodi &modi, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint p,
                               const Sicht &sicht)
{
    const bool nurLinks = buttons == Qt::LeftButton
                          && !(keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (!modi.EntwurfModus || !modi.ElementGewaehlt || !nurLinks)
        return {};
    Entwurfsschritte schritte;
    schritte.Zuruecklegen = LetzteZelle(modi, sicht);
    schritte.Unterlegen = schritte.Icon = ZelleUnter(p, sicht);
    Merken(modi, p, sicht);
    return schritte;
}

Entwurfsschritte EntwurfLoslassen(Arbeitsmodi &modi, CPlanZellen &plan, Qt::MouseButton button, QPoint p,
                                  const Sicht &sicht)
{
    if (button != Qt::LeftButton || !modi.EntwurfModus || !modi.ElementGewaehlt)
        return {};
    Entwurfsschritte schritte;
    const PlanZelle zelle = ZelleUnter(p, sicht);
    if (!plan.NeuePosition(zelle.Plan.x(), zelle.Plan.y(), modi.GewaehltesElement)) {
        schritte.Voll = true;
        schritte.Zuruecklegen = LetzteZelle(modi, sicht);
        return schritte;
    }
    modi.ElementGewaehlt = false;
    schritte.Geaendert = true;
    return schritte;
}
