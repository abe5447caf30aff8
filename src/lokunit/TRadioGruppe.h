#pragma once

#include <QGroupBox>

class QButtonGroup;

// A titled group of radio buttons in columns, of which at most one is
// selected; the selection is an item index, -1 for none.
class TRadioGruppe : public QGroupBox
{
    Q_OBJECT
public:
    TRadioGruppe(QWidget *parent, const QString &name, const QString &titel, const QStringList &items, int spalten);

    int ItemIndex() const;
    void SetzeItemIndex(int index);

signals:
    // The user chose an item.
    void Click();

private:
    QButtonGroup *Knoepfe;
};
