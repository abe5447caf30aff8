// Undo and redo of the plan's steps: the menu "Bearbeiten".
#include "Velmo/TForm1.h"

#include "Velmo/TDekoderPanel.h"
#include "bedienung/Schrittnamen.h"
#include "bedienung/Zellansicht.h"
#include "elemente/Bilder.h"

#include <QAction>

void TForm1::BearbeitenZeigen()
{
    const bool erlaubt = !Laden && !Platzierung && (EntwurfModus || DekoderModus || FahrstrassenModus);
    const QUndoStack &stapel = Dokument.Stapel();
    Rueckgaengig1->setEnabled(erlaubt && stapel.canUndo());
    Rueckgaengig1->setText(SchrittMenuetext(QStringLiteral("&Rückgängig"), stapel.undoText()));
    Wiederherstellen1->setEnabled(erlaubt && stapel.canRedo());
    Wiederherstellen1->setText(SchrittMenuetext(QStringLiteral("&Wiederherstellen"), stapel.redoText()));
}

void TForm1::Rueckgaengig1Click()
{
    SchrittAusfuehren(&PlanDokument::Rueckgaengig);
}

void TForm1::Wiederherstellen1Click()
{
    SchrittAusfuehren(&PlanDokument::Wiederherstellen);
}

void TForm1::SchrittAusfuehren(QList<QPoint> (PlanDokument::*schritt)())
{
    const C_Position gezeigt = Dokument.Zellen.Positionen[DekoderPosition];
    const QList<QPoint> zellen = (Dokument.*schritt)();
    QImage leer(IconGroesse, IconGroesse, QImage::Format_RGB32);
    leer.fill(PlanFarbe);
    const std::optional<int> route = FahrstrassenModus ? std::optional(AktuelleFahrstrasse) : std::nullopt;
    Zellbilder bilder;
    for (const QPoint &p : zellen) {
        ZelleKopieren(leer, {p - QPoint(ScrollX, ScrollY), p});
        BildZeichnen(Zellansicht(Dokument.Zellen, *Fahr, route, p), &bilder);
    }
    // The panel shows the cell's stored values again, unless the step left
    // them as they were: then whatever was typed stays.
    const C_Position &zelle = Dokument.Zellen.Positionen[DekoderPosition];
    if (DekoderModus && DekoderPosition >= 1 && zelle != gezeigt)
        Decod_Panel->TexteZeigen(zelle.Nummer, DekoderTexte(zelle));
    if (FahrstrassenModus)
        PageControl1Change();
}
