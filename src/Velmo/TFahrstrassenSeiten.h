#pragma once

#include <QTabWidget>

class QLabel;
class QPushButton;

// The route page control: "Fahrstrasse erstellen" with the route being
// edited, its entry number or count and the editing buttons; "Fahrstrasse
// löschen" with the route to delete. It shows numbers; what the buttons do
// is the main window's.
class TFahrstrassenSeiten : public QTabWidget
{
    Q_OBJECT
public:
    explicit TFahrstrassenSeiten(QWidget *parent);

    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLabel *LabelFahrerst1 = nullptr;
    QLabel *LabelFahrerst2 = nullptr;
    QLabel *LabelFahrerst3 = nullptr;
    QLabel *LabelFahrerst4 = nullptr;
    QPushButton *ButtonFahrerst_plus = nullptr;
    QPushButton *ButtonFahrerst_minus = nullptr;
    QPushButton *Buttonverbinden = nullptr;
    QPushButton *ButtonFahrerst_speichern = nullptr;
    QPushButton *Buttonfahrerst_cancel = nullptr;
    QLabel *LabelFahrdel1 = nullptr;
    QLabel *LabelFahrdel2 = nullptr;
    QPushButton *ButtonFahrdel_plus = nullptr;
    QPushButton *ButtonFahrdel_minus = nullptr;
    QPushButton *ButtonFahrdel_del = nullptr;

    // LabelFahrerst2 shows the route, LabelFahrerst4 the number.
    void ErstellenZeigen(int route, int nummer);
    void LoeschenZeigen(int route);
};
