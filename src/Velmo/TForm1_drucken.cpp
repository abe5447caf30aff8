// Printing the plan and its wiring sheet, and exporting both as a PDF file.
#include "Velmo/TForm1.h"

#include "Velmo/Druckauftrag.h"
#include "Velmo/Plandruck.h"
#include "Velmo/Sanduhr.h"
#include "Velmo/TStatusLeiste.h"
#include "hilfen/textdatei.h"

#include <QFileInfo>
#include <QPagedPaintDevice>

namespace {

// The wiring sheet of the plan in use.
QList<SchaltplanZeile> Verdrahtung(const TForm1 &f)
{
    return Schaltplan(f.Dokument.Zellen, f, f.Dokument.FahrstrassenTabelle);
}

// The plan's file name with ".pdf" in place of its extension.
QString PdfName(const QString &planName)
{
    return QFileInfo(planName).completeBaseName() + QStringLiteral(".pdf");
}

QString MitPdfEndung(const QString &pfad)
{
    return pfad.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? pfad : pfad + QStringLiteral(".pdf");
}

} // namespace

void TForm1::Drucken1Click()
{
    const QList<SchaltplanZeile> zeilen = Verdrahtung(*this);
    const int seiten = Drucken({Dokument.PlanName, [this](QPrinter &printer) { return Dialog->Drucker(printer); },
                                [&](QPagedPaintDevice &geraet) {
                                    Sanduhr sanduhr;
                                    return PlanDrucken(geraet, PlanBitmap, Dokument.PlanName, zeilen);
                                }});
    if (seiten >= 0)
        StatusBar1->SetzeText(0, QStringLiteral("%1 Seiten gedruckt").arg(seiten));
}

void TForm1::PdfExportieren1Click()
{
    const QString gewaehlt =
        Dialog->PdfSpeichernUnter(QStringLiteral("Als PDF exportieren"), Dokument.PlanDir + PdfName(Dokument.PlanName));
    if (gewaehlt.isEmpty())
        return;
    Sanduhr sanduhr;
    const QString pfad = MitPdfEndung(gewaehlt);
    int seiten = 0;
    DateiErsetzen(pfad, PlanAlsPdf(PlanBitmap, Dokument.PlanName, Verdrahtung(*this), &seiten));
    StatusBar1->SetzeText(0, QStringLiteral("%1 geschrieben: %2 Seiten").arg(QFileInfo(pfad).fileName()).arg(seiten));
}
