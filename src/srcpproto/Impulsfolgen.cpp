#include "srcpproto/Impulsfolgen.h"

#include "hilfen/fehler.h"

#include <QObject>
#include <QTimer>

#include <exception>

struct Impulsfolgen::Folge
{
    QList<Impulsschritt> Schritte;
    qsizetype Schritt = 0;
    int Dauer = 0;
    // The "off" lines of the pulse on the air; empty between pulses.
    QList<QByteArray> Aus;
    // Counts the pulses, so that the timer of a pulse ended early finds
    // its pulse gone.
    int Puls = 0;
    // No further step sends.
    bool Stumm = false;
    // A call of Fortsetzen works on this sequence right now.
    bool Aktiv = false;
};

Impulsfolgen::Impulsfolgen(Kanal kanal)
    : K(std::move(kanal))
    , Wecker(std::make_unique<QObject>())
{
}

Impulsfolgen::~Impulsfolgen() = default;

int Impulsfolgen::Starten(QList<Impulsschritt> schritte, int dauer)
{
    const int nummer = Naechste++;
    auto folge = std::make_unique<Folge>();
    folge->Schritte = std::move(schritte);
    folge->Dauer = dauer;
    Folgen.emplace(nummer, std::move(folge));
    Fortsetzen(nummer);
    return Laeuft(nummer) ? nummer : 0;
}

void Impulsfolgen::Beenden(int folge)
{
    const auto it = Folgen.find(folge);
    if (it == Folgen.end())
        return;
    it->second->Stumm = true;
    Fortsetzen(folge);
}

void Impulsfolgen::AlleBeenden()
{
    QList<int> nummern;
    for (const auto &[nummer, folge] : Folgen)
        nummern.append(nummer);
    for (int nummer : nummern)
        Beenden(nummer);
}

bool Impulsfolgen::Laeuft(int folge) const
{
    return Folgen.contains(folge);
}

int Impulsfolgen::MoeglichEingeschaltet()
{
    return std::exchange(NichtAusgeschaltet, 0);
}

// Runs the sequence on from where it stands: a pulse on the air ends now,
// then every following step until one has switched its outputs on. The
// continuations may serve events (a message box) that start, end or time
// out other sequences, so the sequence is looked up again after each one.
void Impulsfolgen::Fortsetzen(int nummer)
{
    Folge *f = Folgen.at(nummer).get();
    if (f->Aktiv)
        return;
    f->Aktiv = true;
    if (!f->Aus.isEmpty()) {
        AusSenden(std::exchange(f->Aus, {}));
        Abschliessen(nummer);
    }
    for (f = Folgen.at(nummer).get(); f->Schritt < f->Schritte.size(); f = Folgen.at(nummer).get()) {
        if (!f->Stumm) {
            QList<QByteArray> aus;
            try {
                aus = K.Einschalten(f->Schritte[f->Schritt].Ausgaenge);
            } catch (const VelmoFehler &fehler) {
                // The connection broke: the rest of the sequence sends nothing.
                Folgen.at(nummer)->Stumm = true;
                K.Fehler(fehler.Text);
            }
            f = Folgen.at(nummer).get();
            if (!aus.isEmpty() && !f->Stumm) {
                f->Aus = std::move(aus);
                const int puls = ++f->Puls;
                QTimer::singleShot(f->Dauer, Qt::PreciseTimer, Wecker.get(), [this, nummer, puls] {
                    const auto it = Folgen.find(nummer);
                    if (it != Folgen.end() && it->second->Puls == puls && !it->second->Aus.isEmpty())
                        Fortsetzen(nummer);
                });
                f->Aktiv = false;
                return;
            }
            if (!aus.isEmpty())
                AusSenden(aus); // ended while its "on" went out
        }
        Abschliessen(nummer);
    }
    Folgen.erase(nummer);
}

// An "off" that cannot go out leaves its output on: it is counted, so the
// user learns how many may still be on.
void Impulsfolgen::AusSenden(const QList<QByteArray> &aus)
{
    for (const QByteArray &zeile : aus) {
        if (!K.Verbunden()) {
            ++NichtAusgeschaltet;
            continue;
        }
        try {
            K.Ausschalten(zeile);
        } catch (const VelmoFehler &) {
            ++NichtAusgeschaltet;
        }
    }
}

void Impulsfolgen::Abschliessen(int nummer)
{
    Folge &f = *Folgen.at(nummer);
    const std::function<void()> danach = std::exchange(f.Schritte[f.Schritt].Danach, {});
    ++f.Schritt;
    if (!danach)
        return;
    try {
        danach();
    } catch (const VelmoFehler &fehler) {
        K.Fehler(fehler.Text);
    } catch (const std::exception &fehler) {
        K.Fehler(QString::fromLocal8Bit(fehler.what()));
    }
}
