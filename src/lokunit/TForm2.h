#pragma once

#include <QDialog>

// "Lokdekoder-Einstellungen": the locomotive decoder settings dialog.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent);
};
