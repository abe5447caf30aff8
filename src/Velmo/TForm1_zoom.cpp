// The zoom of the plan view, its grid in design mode and the cell under the
// pointer in the status bar.
#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TStatusLeiste.h"
#include "bedienung/Planansicht.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <array>

void TForm1::AnsichtEinrichten()
{
    Bildschirm1->addSeparator();
    auto *zoom = new QActionGroup(this);
    Zoom100 = MenuePunkt(Bildschirm1, "Zoom 1&00 %", "Zoom100", &TForm1::Zoom100Click, Qt::CTRL | Qt::Key_0);
    Zoom200 = MenuePunkt(Bildschirm1, "Zoom &200 %", "Zoom200", &TForm1::Zoom200Click);
    Zoom300 = MenuePunkt(Bildschirm1, "Zoom &300 %", "Zoom300", &TForm1::Zoom300Click);
    for (QAction *item : {Zoom100, Zoom200, Zoom300}) {
        item->setCheckable(true);
        zoom->addAction(item);
    }
    Zoom100->setChecked(true);
    Bildschirm1->addSeparator();
    Raster1 = MenuePunkt(Bildschirm1, "&Raster", "Raster1", &TForm1::Raster1Click);
    Raster1->setCheckable(true);

    // Ctrl+= for keyboards where "+" needs Shift.
    const std::pair<QList<QKeySequence>, int> schritte[] = {
        {{QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1},
        {{QKeySequence(QKeySequence::ZoomOut)}, -1},
    };
    for (const auto &[tasten, richtung] : schritte) {
        auto *kurz = new QShortcut(this);
        kurz->setKeys(tasten);
        connect(kurz, &QShortcut::activated, this, [this, richtung] {
            Geschuetzt(*Dialog, [this, richtung] { ZoomWaehlen(ZoomSchritt(Velmo->Faktor(), richtung)); });
        });
    }

    // The cell field follows the pointer, not only the presses.
    Velmo->setMouseTracking(true);
    for (auto signal : {&TBildFlaeche::MausGedrueckt, &TBildFlaeche::MausBewegt})
        connect(Velmo, signal, this, [this](QMouseEvent *e) { ZelleUnterZeiger(e->position().toPoint()); });
    connect(Velmo, &TBildFlaeche::MausVerlassen, this, [this] { StatusBar1->ZelleZeigen({}); });
}

void TForm1::AnsichtUebernehmen()
{
    ZoomZeigen(Seite.Zoom / 100);
    Raster1->setChecked(Seite.Gitter);
}

void TForm1::ZoomZeigen(int f)
{
    const std::array<QAction *, ZoomGroesster> items {Zoom100, Zoom200, Zoom300};
    items.at(f - 1)->setChecked(true);
    Velmo->FaktorSetzen(f);
    FormResize();
}

void TForm1::ZoomWaehlen(int f)
{
    ZoomZeigen(f);
    Seite.Zoom = 100 * f;
    Bahn->SaveSideSettings();
}

void TForm1::Zoom100Click()
{
    ZoomWaehlen(1);
}

void TForm1::Zoom200Click()
{
    ZoomWaehlen(2);
}

void TForm1::Zoom300Click()
{
    ZoomWaehlen(3);
}

void TForm1::Raster1Click()
{
    Seite.Gitter = Raster1->isChecked();
    GitterZeigen(QPoint(ScrollX, ScrollY));
    Bahn->SaveSideSettings();
}

void TForm1::GitterZeigen(QPoint scroll)
{
    const bool sichtbar = EntwurfModus && Seite.Gitter;
    Velmo->LinienSetzen(sichtbar ? Gitterlinien(scroll, Velmo->size(), PlanBitmap.size(), Velmo->Faktor())
                                 : QList<QLine>());
}

void TForm1::EntwurfsansichtZeigen()
{
    GitterZeigen(QPoint(ScrollX, ScrollY));
    if (!EntwurfModus)
        StatusBar1->ZelleZeigen({});
}

void TForm1::ZelleUnterZeiger(QPoint p)
{
    if (EntwurfModus)
        StatusBar1->ZelleZeigen(Zellenname(ZelleUnter(p, Sichtlage()).Plan, PlanBitmap.size()));
}
