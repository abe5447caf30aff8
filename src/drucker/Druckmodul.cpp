// The printing module: all the program does with Qt's print support, loaded
// by it on the first print (Velmo/Druckauftrag.h).
#include "Velmo/Druckauftrag.h"

#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT int VelmoDrucken(const Druckauftrag &auftrag)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(auftrag.Name);
    if (!auftrag.Waehlen(printer))
        return -1;
    return auftrag.Drucken(printer);
}

extern "C" Q_DECL_EXPORT bool VelmoDruckdialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
