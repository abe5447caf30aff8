// The plan files: new, open, save, save as; loading and saving a plan.
#include "Velmo/TForm1.h"

#include "Velmo/Sanduhr.h"
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "position/PlanDatei.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
    // The pulses of the plan end first, so that what is saved is final.
    Bahn->Impulse.AlleBeenden();
    if (!Dokument.Geaendert())
        return true;
    const QString frage = QStringLiteral("Das Gleisbild %1 wurde geändert. Änderungen speichern?");
    switch (Dialog->Frage(frage.arg(Dokument.PlanName), QStringLiteral("Gleisbild"), true)) {
    case Dialoge::Antwort::Ja:
        SpeichernAufWunsch(Dokument.PlanName, Dokument.PlanDir);
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
                          Softregler1, Abfragestarten1, Abfragebeenden1, Drucken1, PdfExportieren1})
        item->setEnabled(true);
    Hostverbinden1->setEnabled(!Command_Socket.connected());
    setWindowTitle(Titel + "   Gleisbild: " + Dokument.PlanName);
}

void TForm1::Neu1Click()
{
    if (!AenderungenBehandelt())
        return;
    const QString pfad = Dialog->SpeichernUnter(QStringLiteral("Neue Datei anlegen"), WorkDir);
    if (pfad.isEmpty())
        return;
    // A new plan has no routes of its own.
    Dokument.Neu(Verzeichnis(pfad), PlanDateiname(pfad));
    StatusBar1->SetzeText(1, Dokument.PlanName);
    PlanLoeschen();
    VelmoPaint();
    PlanMenuesFreigeben();
    Gleisbildentwerfen1Click();
}

void TForm1::Oeffnen1Click()
{
    if (!AenderungenBehandelt())
        return;
    const QString &dir = Dokument.PlanDir;
    const QString pfad = Dialog->Oeffnen(QStringLiteral("Öffnen"), dir.isEmpty() ? WorkDir : dir);
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
    LadePlan(Verzeichnis(pfad), QFileInfo(pfad).fileName(), [this](const QString &ladefehler) {
        HScrollBar->setValue(0);
        VScrollBar->setValue(0);
        FormResize();
        VelmoPaint();
        PlanMenuesFreigeben();
        if (!ladefehler.isEmpty())
            FehlerZeigen(ladefehler);
        Betrieb1Click();
    });
}

void TForm1::Speichern1Click()
{
    SpeichernAufWunsch(Dokument.PlanName, Dokument.PlanDir);
}

void TForm1::Speichernals1Click()
{
    const QString pfad = Dialog->SpeichernUnter(QStringLiteral("Unter neuem Namen speichern"), Dokument.PlanDir);
    if (pfad.isEmpty())
        return;
    const QString dir = Verzeichnis(pfad);
    const QString name = PlanDateiname(pfad);
    SpeichernAufWunsch(name, dir);
    Dokument.PlanDir = dir;
    Dokument.PlanName = name;
    Betrieb1Click();
}

// The routes are kept beside the plan, so they are never lost with it.
void TForm1::SpeicherePlan(const QString &name, const QString &dir)
{
    Dokument.Speichern(name, dir);
}

void TForm1::SpeichernAufWunsch(const QString &name, const QString &dir)
{
    Dokument.FahrstrassenUngelesen = false;
    SpeicherePlan(name, dir);
}

// A load whose wired cells get their pulses, one after the other.
struct TForm1::Ladevorgang
{
    int Folge = 0;
    // The first error of drawing or reading the routes, which did not stop the load.
    QString Fehler;
    // Gives back what the load disabled.
    std::vector<std::function<void()>> Freigeben;
    QElapsedTimer Fortschritt;
    // Each picture file is checked once, however many cells show it.
    Zellbilder Bilder;
};

void TForm1::LadePlan(const QString &dir, const QString &name, std::function<void(const QString &fehler)> fertig)
{
    // A route file that cannot be read leaves the plan without routes; the
    // plan still opens, and the error says so.
    const GelesenerPlan neu = LiesPlan(dir + name);
    auto laden = std::make_shared<Ladevorgang>();
    laden->Fehler = neu.Fehler;

    // The pulses of the plan in use end before it goes.
    Bahn->Impulse.AlleBeenden();
    // With a connection every wired cell waits for its pulse while the
    // interface keeps running: until the plan is drawn whole, nothing may
    // replace it, change it or switch the mode underneath the load.
    auto sperren = [&laden](auto *ding) {
        laden->Freigeben.push_back([ding, war = ding->isEnabled()] { ding->setEnabled(war); });
        ding->setEnabled(false);
    };
    for (QAction *item : {Neu1, Oeffnen1, Speichern1, Speichernals1, Gleisbildentwerfen1, Dekoderadressen1, Betrieb1,
                          Fahrstrassen1, Fahrstrassenbearbeiten1, Softregler1, Drucken1, PdfExportieren1})
        sperren(item);
    for (QWidget *flaeche : QList<QWidget *> {Velmo, Panel, Decod_Panel, PageControl1})
        sperren(flaeche);

    PlanLoeschen();
    Dokument.Uebernehmen(dir, name, neu);
    const CPlanZellen &zellen = Dokument.Zellen;

    ProgressBar1->setRange(0, zellen.PosAnzahl);
    ProgressBar1->setValue(0);
    Prozent_Label->setText(QStringLiteral("0 %"));
    for (QWidget *anzeige : QList<QWidget *> {ProgressBar1, Prozent_Label, Laden_Abbrechen})
        anzeige->show();
    laden->Fortschritt.start();

    // A picture that cannot be drawn does not stop the load: the plan is
    // taken over whole, and the first such error is handed on once the
    // plan is open.
    QList<Impulsschritt> schritte;
    schritte.reserve(zellen.PosAnzahl + 1);
    for (int i = 1; i <= zellen.PosAnzahl; ++i) {
        const std::optional<DekoderZeile> zeile = LadeSchaltung(zellen.Positionen[i]);
        const QByteArray &protokoll = zellen.Positionen[i].Protokoll;
        schritte.append({zeile ? QList<Zubehoerausgang> {{protokoll, zeile->Dekoder, zeile->Adresse}}
                               : QList<Zubehoerausgang> {},
                         [this, laden, i] {
                             const C_Position &zelle = Dokument.Zellen.Positionen[i];
                             try {
                                 ZeichneElement(LadeZustand(zelle), zelle.X, zelle.Y, zelle.Element, &laden->Bilder);
                             } catch (const VelmoFehler &e) {
                                 if (laden->Fehler.isEmpty())
                                     laden->Fehler = e.Text;
                             }
                             LadefortschrittZeigen(*laden, i);
                         }});
    }
    schritte.append({{}, [this, laden, fertig = std::move(fertig)] {
                         for (QWidget *anzeige : QList<QWidget *> {ProgressBar1, Prozent_Label, Laden_Abbrechen})
                             anzeige->hide();
                         for (const auto &zurueck : laden->Freigeben)
                             zurueck();
                         Laden.reset();
                         BearbeitenZeigen();
                         if (fertig)
                             fertig(laden->Fehler);
                     }});
    Laden = laden;
    BearbeitenZeigen();
    laden->Folge = Bahn->Schalten(std::move(schritte));
}

// The bar repaints itself at once on every change, which costs more than
// drawing a cell: it moves at most every 50 ms, and at the end.
void TForm1::LadefortschrittZeigen(Ladevorgang &laden, int i)
{
    const int anzahl = Dokument.Zellen.PosAnzahl;
    if (i != anzahl && !laden.Fortschritt.hasExpired(50))
        return;
    ProgressBar1->setValue(i);
    Prozent_Label->setText(QStringLiteral("%1 %").arg(i * 100 / anzahl));
    laden.Fortschritt.restart();
}

// The running pulse goes off, the rest of the cells are drawn without
// being sent, and the plan is open.
void TForm1::Laden_AbbrechenClick()
{
    if (Laden)
        Bahn->Impulse.Beenden(Laden->Folge);
}
