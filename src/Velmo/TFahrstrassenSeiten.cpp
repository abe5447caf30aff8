#include "Velmo/TFahrstrassenSeiten.h"

#include <QLabel>
#include <QPushButton>

namespace {

QLabel *Beschriftung(QWidget *seite, const QString &name, const QString &text, QPoint platz)
{
    auto *label = new QLabel(text, seite);
    label->setObjectName(name);
    label->move(platz);
    label->setMinimumWidth(60);
    return label;
}

QPushButton *Knopf(QWidget *seite, const QString &name, const QString &text, QRect platz)
{
    auto *knopf = new QPushButton(text, seite);
    knopf->setObjectName(name);
    knopf->setGeometry(platz);
    return knopf;
}

} // namespace

TFahrstrassenSeiten::TFahrstrassenSeiten(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl1"));
    setGeometry(24, 16, 337, 121);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    addTab(TabSheet1, QStringLiteral("Fahrstrasse erstellen"));
    addTab(TabSheet2, QStringLiteral("Fahrstrasse löschen"));

    LabelFahrerst1 = Beschriftung(TabSheet1, "LabelFahrerst1", QStringLiteral("Fahrstrasse"), {16, 8});
    LabelFahrerst3 = Beschriftung(TabSheet1, "LabelFahrerst3", QStringLiteral("Gleisnummer"), {104, 8});
    LabelFahrerst2 = Beschriftung(TabSheet1, "LabelFahrerst2", QString(), {25, 40});
    LabelFahrerst4 = Beschriftung(TabSheet1, "LabelFahrerst4", QString(), {120, 40});
    ButtonFahrerst_plus = Knopf(TabSheet1, "ButtonFahrerst_plus", QStringLiteral("+"), {208, 0, 121, 17});
    ButtonFahrerst_minus = Knopf(TabSheet1, "ButtonFahrerst_minus", QStringLiteral("-"), {208, 16, 121, 17});
    Buttonverbinden = Knopf(TabSheet1, "Buttonverbinden", QStringLiteral("verbinden"), {208, 32, 121, 17});
    ButtonFahrerst_speichern =
        Knopf(TabSheet1, "ButtonFahrerst_speichern", QStringLiteral("beenden/speichern"), {208, 48, 121, 17});
    Buttonfahrerst_cancel =
        Knopf(TabSheet1, "Buttonfahrerst_cancel", QStringLiteral("beenden/abbrechen"), {208, 64, 121, 17});

    LabelFahrdel1 = Beschriftung(TabSheet2, "LabelFahrdel1", QStringLiteral("Fahrstrasse"), {32, 8});
    LabelFahrdel2 = Beschriftung(TabSheet2, "LabelFahrdel2", QString(), {40, 32});
    ButtonFahrdel_plus = Knopf(TabSheet2, "ButtonFahrdel_plus", QStringLiteral("+"), {216, 16, 105, 17});
    ButtonFahrdel_minus = Knopf(TabSheet2, "ButtonFahrdel_minus", QStringLiteral("-"), {216, 32, 105, 17});
    ButtonFahrdel_del = Knopf(TabSheet2, "ButtonFahrdel_del", QStringLiteral("löschen"), {216, 48, 105, 17});
    hide();
}

void TFahrstrassenSeiten::ErstellenZeigen(int route, int nummer)
{
    LabelFahrerst2->setText(QString::number(route));
    LabelFahrerst4->setText(QString::number(nummer));
}

void TFahrstrassenSeiten::LoeschenZeigen(int route)
{
    LabelFahrdel2->setText(QString::number(route));
}
