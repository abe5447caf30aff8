#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

// A print job: the document's name, the choice of the printer (false when
// the operator cancels) and the painting of the pages (their number).
struct Druckauftrag
{
    QString Name;
    std::function<bool(QPrinter &)> Waehlen;
    std::function<int(QPagedPaintDevice &)> Drucken;
};

// Qt's print support lives in a module of its own beside the program,
// loaded the first time something is printed: every start would otherwise
// load and relocate the print library for a menu entry seldom used. Both
// raise VelmoFehler when the module cannot be loaded.

// Runs the job on a landscape printer at its full resolution; the number of
// pages printed, or -1 when the printer was not chosen.
int Drucken(const Druckauftrag &auftrag);
// Qt's print dialog for `printer`; false when cancelled.
bool Druckdialog(QPrinter &printer, QWidget *parent);
