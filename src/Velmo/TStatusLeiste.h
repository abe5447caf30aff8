#pragma once

#include <QFrame>
#include <array>

class QLabel;

// The status bar: three panels of 200, 300 and the remaining width.
class TStatusLeiste : public QFrame
{
    Q_OBJECT
public:
    explicit TStatusLeiste(QWidget *parent);
    void SetzeText(int panel, const QString &text);
    QString Text(int panel) const;
    int PanelBreite(int panel) const;

private:
    std::array<QLabel *, 3> Panels {};
};
