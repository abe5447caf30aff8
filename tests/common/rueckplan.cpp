#include "rueckplan.h"

#include "position/PlanDatei.h"

#include <QDir>

QString RueckmeldePlan(const QString &dir, int kontakte)
{
    CPlanZellen plan;
    for (int k = 1; k <= kontakte; ++k) {
        plan.NeuePosition(27 * (k - 1), 0, 65);
        plan.Positionen[k].Dekoder1 = 1;
        plan.Positionen[k].Adresse1 = k;
    }
    const QString pfad = QDir(dir).filePath(QStringLiteral("rueck.pln"));
    SchreibePlanDatei(pfad, plan);
    return pfad;
}
