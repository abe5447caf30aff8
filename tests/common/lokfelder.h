#pragma once

#include "lokunit/cLocoInfo.h"

#include <QStringList>

// A record's set-up and state as one line: "<Adresse> <Lokname> <Vmax>
// <Protokoll> <Funktionsanzahl> <Fahrstufen> <Richtung> <F1> .. <F4>".
inline QString Felder(const cLocoInfo &lok)
{
    QStringList f {QString::number(lok.Adresse), QString::fromUtf8(lok.Lokname), QString::number(lok.Vmax),
                   QString::fromUtf8(lok.Protokoll), QString::number(lok.Funktionsanzahl),
                   QString::number(lok.Fahrstufen), QString::number(lok.Richtung)};
    for (int k = 0; k < 4; ++k)
        f << QString::number(lok.Funktionen[k]);
    return f.join(' ');
}
