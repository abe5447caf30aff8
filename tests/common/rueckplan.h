#pragma once

#include <QString>

// Writes the plan file <dir>/rueck.pln: a row of feedback contacts (element
// 65) from the top left cell on, bound to module 1, contacts 1 to
// `kontakte`; returns its path.
QString RueckmeldePlan(const QString &dir, int kontakte);
