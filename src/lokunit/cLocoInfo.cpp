#include "lokunit/cLocoInfo.h"

QString SymbolDatei(int code)
{
    switch (code) {
    case 1: return QStringLiteral("func_off.bmp");
    case 11: return QStringLiteral("func_on.bmp");
    case 2: return QStringLiteral("hupe_aus.bmp");
    case 12: return QStringLiteral("hupe_ein.bmp");
    case 3: return QStringLiteral("kupplung_aus.bmp");
    case 13: return QStringLiteral("kupplung_ein.bmp");
    case 4: return QStringLiteral("wagenlicht_aus.bmp");
    case 14: return QStringLiteral("wagenlicht_ein.bmp");
    case 5: return QStringLiteral("licht_aus.bmp");
    case 15: return QStringLiteral("licht_ein.bmp");
    case 6: return QStringLiteral("dampf_aus.bmp");
    case 16: return QStringLiteral("dampf_ein.bmp");
    case 7:
    case 17: return QStringLiteral("pfeil_dop.bmp");
    default: return QString();
    }
}
