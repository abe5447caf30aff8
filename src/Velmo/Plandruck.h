#pragma once

#include "position/Schaltplan.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class QPagedPaintDevice;

// Prints a plan onto pages: page 1 is the plan picture under the plan's
// name, as large as the page allows in whole device pixels per plan pixel,
// enlarged pixel by pixel so its edges stay sharp; the wiring sheet follows
// on as many pages as its lines need, each page with the sheet's title, its
// page number and the column headings. The lines of one cell stay on one
// page unless they need more than a page. Returns the number of pages;
// raises VelmoFehler when the device cannot be painted on.
int PlanDrucken(QPagedPaintDevice &geraet, const QImage &plan, const QString &planName,
                const QList<SchaltplanZeile> &zeilen);

// The same pages as a PDF document on A4 landscape.
QByteArray PlanAlsPdf(const QImage &plan, const QString &planName, const QList<SchaltplanZeile> &zeilen,
                      int *seiten = nullptr);
