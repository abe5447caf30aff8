#include "lokunit/TRadioGruppe.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGruppe::TRadioGruppe(QWidget *parent, const QString &name, const QString &titel, const QStringList &items,
                           int spalten)
    : QGroupBox(titel, parent), Knoepfe(new QButtonGroup(this))
{
    setObjectName(name);
    auto *raster = new QGridLayout(this);
    raster->setContentsMargins(8, 0, 8, 0);
    for (int i = 0; i < items.size(); ++i) {
        auto *knopf = new QRadioButton(items[i], this);
        Knoepfe->addButton(knopf, i);
        raster->addWidget(knopf, i / spalten, i % spalten);
    }
    connect(Knoepfe, &QButtonGroup::idClicked, this, &TRadioGruppe::Click);
}

int TRadioGruppe::ItemIndex() const
{
    return Knoepfe->checkedId();
}

// An exclusive group cannot uncheck its last button; it is made
// non-exclusive for the moment of the change.
void TRadioGruppe::SetzeItemIndex(int index)
{
    Knoepfe->setExclusive(false);
    for (QAbstractButton *knopf : Knoepfe->buttons())
        knopf->setChecked(Knoepfe->id(knopf) == index);
    Knoepfe->setExclusive(true);
}
