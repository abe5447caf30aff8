// The plan files: new, open, save, save as; loading and saving a plan.
#include "Velmo/TForm1.h"

#include "Velmo/Sanduhr.h"
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "fahrunit/FahrstrassenDatei.h"
#include "position/PlanDatei.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollBar>

namespace {

const QString Endung = QStringLiteral(".pln");

// The directory of a chosen path, with a trailing "/".
QString Verzeichnis(const QString &pfad)
{
    return QFileInfo(pfad).absolutePath() + '/';
}

// The file name of a chosen path with ".pln" appended unless it ends in
// exactly ".pln" already.
QString PlanDateiname(const QString &pfad)
{
    const QString name = QFileInfo(pfad).fileName();
    return name.endsWith(Endung) ? name : name + Endung;
}

} // namespace

bool TForm1::AenderungenBehandelt()
{
    if (!PlanGeaendert)
        return true;
    switch (Dialog->Frage(QStringLiteral("Das Gleisbild %1 wurde geändert. Änderungen speichern?").arg(PlanName),
                          QStringLiteral("Gleisbild"), true)) {
    case Dialoge::Antwort::Ja:
        SpeicherePlan(PlanName, PlanDir);
        return true;
    case Dialoge::Antwort::Nein:
        return true;
    case Dialoge::Antwort::Abbrechen:
        break;
    }
    return false;
}

// Enables the items that need a plan, and "Host verbinden" unless a command
// connection is open: a second connect would replace the working one.
void TForm1::PlanMenuesFreigeben()
{
    for (QAction *item : {Speichernals1, Speichern1, Gleisbildentwerfen1, Dekoderadressen1, Betrieb1, Fahrstrassen1,
                          Fahrstrassenbearbeiten1,
                          Softregler1, Abfragestarten1, Abfragebeenden1})
        item->setEnabled(true);
    Hostverbinden1->setEnabled(!Command_Socket.connected());
    setWindowTitle(Titel + "   Gleisbild: " + PlanName);
}

void TForm1::Neu1Click()
{
    if (!AenderungenBehandelt())
        return;
    const QString pfad = Dialog->SpeichernUnter(QStringLiteral("Neue Datei anlegen"), WorkDir);
    if (pfad.isEmpty())
        return;
    PlanDir = Verzeichnis(pfad);
    PlanName = PlanDateiname(pfad);
    StatusBar1->SetzeText(1, PlanName);
    PosAnzahl = 0;
    PlanGeaendert = false;
    PlanLoeschen();
    VelmoPaint();
    PlanMenuesFreigeben();
    Gleisbildentwerfen1Click();
}

void TForm1::Oeffnen1Click()
{
    if (!AenderungenBehandelt())
        return;
    const QString pfad = Dialog->Oeffnen(QStringLiteral("Öffnen"), PlanDir.isEmpty() ? WorkDir : PlanDir);
    if (!pfad.isEmpty())
        PlanOeffnen(pfad);
}

void TForm1::PlanOeffnen(const QString &pfad)
{
    Sanduhr sanduhr;
    if (!pfad.endsWith(Endung)) {
        StatusBar1->SetzeText(1, QStringLiteral("Keine Gleisbild-Datei (.pln): %1").arg(QFileInfo(pfad).fileName()));
        return;
    }
    const QString ladefehler = LadePlan(Verzeichnis(pfad), QFileInfo(pfad).fileName());
    HScrollBar->setValue(0);
    VScrollBar->setValue(0);
    FormResize();
    VelmoPaint();
    PlanMenuesFreigeben();
    if (!ladefehler.isEmpty())
        FehlerZeigen(ladefehler);
    Betrieb1Click();
}

void TForm1::Speichern1Click()
{
    SpeicherePlan(PlanName, PlanDir);
}

void TForm1::Speichernals1Click()
{
    const QString pfad = Dialog->SpeichernUnter(QStringLiteral("Unter neuem Namen speichern"), PlanDir);
    if (pfad.isEmpty())
        return;
    const QString dir = Verzeichnis(pfad);
    const QString name = PlanDateiname(pfad);
    SpeicherePlan(name, dir);
    PlanDir = dir;
    PlanName = name;
    Betrieb1Click();
}

// The routes are kept beside the plan, so they are never lost with it.
void TForm1::SpeicherePlan(const QString &name, const QString &dir)
{
    SchreibePlanDatei(dir + name, *this);
    SchreibeFahrstrassenDatei(FahrstrassenPfad(dir + name), FahrstrassenTabelle);
    PlanGeaendert = false;
}

QString TForm1::LadePlan(const QString &dir, const QString &name)
{
    const CPlanZellen neu = LiesPlanDatei(dir + name);
    // A route file that cannot be read keeps the routes in use; the plan
    // still opens, and the error is shown.
    QString fehler;
    const QString routenPfad = FahrstrassenPfad(dir + name);
    if (QFileInfo::exists(routenPfad)) {
        try {
            FahrstrassenTabelle = LiesFahrstrassenDatei(routenPfad);
        } catch (const VelmoFehler &e) {
            fehler = e.Text;
        }
    }

    // With a connection every wired cell waits for its pulse while the
    // interface keeps running: until the plan is drawn whole, nothing may
    // replace it, change it or switch the mode underneath the load.
    std::vector<std::function<void()>> freigeben;
    auto sperren = [&freigeben](auto *ding) {
        freigeben.push_back([ding, war = ding->isEnabled()] { ding->setEnabled(war); });
        ding->setEnabled(false);
    };
    for (QAction *item : {Neu1, Oeffnen1, Speichern1, Speichernals1, Gleisbildentwerfen1, Dekoderadressen1, Betrieb1,
                          Fahrstrassen1, Fahrstrassenbearbeiten1, Softregler1})
        sperren(item);
    for (QWidget *flaeche : QList<QWidget *> {Velmo, Panel, Decod_Panel, PageControl1})
        sperren(flaeche);
    const auto entsperren = qScopeGuard([&freigeben] {
        for (const auto &zurueck : freigeben)
            zurueck();
    });

    PlanLoeschen();
    PlanDir = dir;
    PlanName = name;
    // Copied into the table in place: nothing that refers to the table is
    // left pointing at a table that has gone.
    Positionen = neu.Positionen;
    PosAnzahl = neu.PosAnzahl;
    PlanGeaendert = false;

    ProgressBar1->setRange(0, PosAnzahl);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    Prozent_Label->setText(QStringLiteral("0 %"));
    Prozent_Label->show();
    const auto verbergen = qScopeGuard([this] {
        ProgressBar1->hide();
        Prozent_Label->hide();
    });

    // A picture that cannot be drawn or a command that cannot be sent does
    // not stop the load: the plan is taken over whole, and the first such
    // error is returned to be shown once the plan is open.
    auto versuchen = [&fehler](auto &&schritt) {
        try {
            schritt();
        } catch (const VelmoFehler &e) {
            if (fehler.isEmpty())
                fehler = e.Text;
        }
    };
    QElapsedTimer fortschritt;
    fortschritt.start();
    for (int i = 1; i <= neu.PosAnzahl; ++i) {
        const C_Position &zelle = neu.Positionen[i];
        versuchen([&] {
            if (const auto zeile = LadeSchaltung(zelle))
                Bahn->SwitchAccessory(zelle.Protokoll, zeile->Dekoder, zeile->Adresse);
        });
        versuchen([&] { ZeichneElement(LadeZustand(zelle), zelle.X, zelle.Y, zelle.Element); });
        // The bar repaints itself at once on every change, which costs more
        // than drawing a cell: it moves at most every 50 ms, and at the end.
        if (i == neu.PosAnzahl || fortschritt.hasExpired(50)) {
            ProgressBar1->setValue(i);
            Prozent_Label->setText(QStringLiteral("%1 %").arg(i * 100 / neu.PosAnzahl));
            fortschritt.restart();
        }
    }
    return fehler;
}
