#include "Velmo/TStatusLeiste.h"

#include <QHBoxLayout>
#include <QLabel>

TStatusLeiste::TStatusLeiste(QWidget *parent)
    : QFrame(parent)
{
    setObjectName("StatusBar1");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const std::array<int, 3> breiten {200, 300, 0};
    for (int i = 0; i < 3; ++i) {
        Panels[i] = new QLabel(this);
        Panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Panels[i]->setTextInteractionFlags(Qt::NoTextInteraction);
        if (breiten[i] > 0)
            Panels[i]->setFixedWidth(breiten[i]);
        layout->addWidget(Panels[i], breiten[i] > 0 ? 0 : 1);
    }
}

void TStatusLeiste::SetzeText(int panel, const QString &text)
{
    Panels.at(panel)->setText(text);
}

QString TStatusLeiste::Text(int panel) const
{
    return Panels.at(panel)->text();
}

int TStatusLeiste::PanelBreite(int panel) const
{
    return Panels.at(panel)->width();
}
