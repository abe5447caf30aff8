#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;
class TForm1;

// "SRCP Version": chooses SRCP 0.73 or 0.80.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(TForm1 &form);

    QGroupBox *RadioGroup1 = nullptr;
    QRadioButton *Item073 = nullptr;
    QRadioButton *Item080 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    int RadioGroup1Index() const;
    void SetRadioGroup1Index(int index);
};
