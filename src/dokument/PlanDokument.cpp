#include "dokument/PlanDokument.h"

#include "dokument/Planschritt.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "hilfen/fehler.h"
#include "position/PlanDatei.h"

#include <QFileInfo>
#include <algorithm>

GelesenerPlan LiesPlan(const QString &pfad)
{
    GelesenerPlan plan;
    plan.Zellen = LiesPlanDatei(pfad);
    // The plan opens with its own routes or with none. A route file that
    // cannot be read is kept as it is until the user saves.
    const QString routenPfad = FahrstrassenPfad(pfad);
    if (!QFileInfo::exists(routenPfad))
        return plan;
    try {
        // Read into a table of its own: the compiler may build a result
        // right in the table it is assigned to, and a read that fails
        // halfway would leave its first routes there.
        const FahrTabelle gelesen = LiesFahrstrassenDatei(routenPfad);
        plan.Routen = gelesen;
    } catch (const VelmoFehler &e) {
        plan.RoutenUngelesen = true;
        plan.Fehler = e.Text + QStringLiteral("\nDas Gleisbild ist ohne Fahrstrassen geöffnet. Die "
                                              "Fahrstrassen-Datei bleibt unverändert, bis Sie das "
                                              "Gleisbild speichern.");
    }
    return plan;
}

void PlanDokument::Neu(const QString &dir, const QString &name)
{
    PlanDir = dir;
    PlanName = name;
    Zellen.PosAnzahl = 0;
    FahrstrassenTabelle = {};
    FahrstrassenUngelesen = false;
    Schritte.clear();
}

void PlanDokument::Uebernehmen(const QString &dir, const QString &name, const GelesenerPlan &plan)
{
    PlanDir = dir;
    PlanName = name;
    Zellen.Positionen = plan.Zellen.Positionen;
    Zellen.PosAnzahl = plan.Zellen.PosAnzahl;
    FahrstrassenTabelle = plan.Routen;
    FahrstrassenUngelesen = plan.RoutenUngelesen;
    Schritte.clear();
}

void PlanDokument::Speichern(const QString &name, const QString &dir)
{
    SchreibePlanDatei(dir + name, Zellen);
    if (!FahrstrassenUngelesen)
        SchreibeFahrstrassenDatei(FahrstrassenPfad(dir + name), FahrstrassenTabelle);
    Gesichert();
}

void PlanDokument::Gesichert()
{
    Schritte.setClean();
}

bool PlanDokument::Geaendert() const
{
    return !Schritte.isClean() || (FahrstrassenUngelesen && FahrstrassenTabelle != FahrTabelle {});
}

void PlanDokument::OhneSchrittGeaendert()
{
    Schritte.resetClean();
}

Planstand PlanDokument::Merken(const QList<int> &slotliste, const QList<int> &routen) const
{
    Planstand stand;
    stand.PosAnzahl = Zellen.PosAnzahl;
    QList<int> alle = slotliste;
    alle.append(Zellen.PosAnzahl + 1);
    for (int i : alle)
        if (i >= 1 && i <= MaxPositionen && std::none_of(stand.Zellen.cbegin(), stand.Zellen.cend(),
                                                         [i](const auto &z) { return z.first == i; }))
            stand.Zellen.append({i, Zellen.Positionen[i]});
    for (int r : routen)
        if (r >= 0 && r < FahrstrassenZahl)
            stand.Routen.append({r, FahrstrassenTabelle[r]});
    return stand;
}

bool PlanDokument::Eintragen(const Planstand &vorher, const QString &name)
{
    Planaenderung aenderung;
    aenderung.AnzahlVorher = vorher.PosAnzahl;
    aenderung.AnzahlNachher = Zellen.PosAnzahl;
    // Slot 0 and the slots after the last cell are in no file.
    const int letzter = std::max(aenderung.AnzahlVorher, aenderung.AnzahlNachher);
    for (const auto &[slot, alt] : vorher.Zellen)
        if (slot <= letzter && alt != Zellen.Positionen[slot])
            aenderung.Zellen.append({slot, alt, Zellen.Positionen[slot]});
    for (const auto &[route, alt] : vorher.Routen)
        if (alt != FahrstrassenTabelle[route])
            aenderung.Routen.append({route, alt, FahrstrassenTabelle[route]});
    if (aenderung.Zellen.isEmpty() && aenderung.Routen.isEmpty() && aenderung.AnzahlVorher == aenderung.AnzahlNachher)
        return false;
    Schritte.push(new Planschritt(Zellen, FahrstrassenTabelle, std::move(aenderung), name, Gezeigt));
    return true;
}

QList<QPoint> PlanDokument::Rueckgaengig()
{
    Schritte.undo();
    return std::exchange(Gezeigt, {});
}

QList<QPoint> PlanDokument::Wiederherstellen()
{
    Schritte.redo();
    return std::exchange(Gezeigt, {});
}
