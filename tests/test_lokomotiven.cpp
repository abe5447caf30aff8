// The throttle arithmetic and the decoder dialog's rules, without widgets.
#include "bedienung/Lokdialog.h"
#include "bedienung/Lokregler.h"
#include "hilfen/fehler.h"
#include "lokfelder.h"
#include "spalte.h"

#include <QtTest>

using Codes = std::array<int, 4>;
using Bilder = std::array<QString, 4>;
Q_DECLARE_METATYPE(Codes)
Q_DECLARE_METATYPE(Bilder)

namespace {

cLocoInfo Lok(const QByteArray &protokoll, int richtung = 1, int anzahl = 4, Codes codes = {})
{
    cLocoInfo lok;
    lok.Protokoll = protokoll;
    lok.Adresse = 3;
    lok.Richtung = richtung;
    lok.Funktionsanzahl = anzahl;
    std::copy(codes.begin(), codes.end(), lok.Funktionen.begin());
    lok.Funktionen[4] = 5;
    return lok;
}

} // namespace

class TestLokomotiven : public QObject
{
    Q_OBJECT
private slots:
    void geschwindigkeit_data()
    {
        QTest::addColumn<int>("vmax");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("geschwindigkeit");
        QTest::newRow("Vmax 28 oben") << 28 << 0 << 28 << 28;
        QTest::newRow("Vmax 28 unten") << 28 << 28 << 28 << 0;
        QTest::newRow("Mitte") << 100 << 40 << 100 << 60;
        QTest::newRow("Vmax negativ zählt als 0") << -5 << 0 << 0 << 0;
        QTest::newRow("Position über dem Maximum") << 10 << 12 << 10 << 0;
    }
    void geschwindigkeit()
    {
        QFETCH(int, vmax);
        QFETCH(int, position);
        cLocoInfo lok;
        lok.Vmax = vmax;
        QCOMPARE(ReglerMaximum(lok), Spalte<int>("maximum"));
        QCOMPARE(ReglerGeschwindigkeit(lok, position), Spalte<int>("geschwindigkeit"));
    }

    void richtung_data()
    {
        QTest::addColumn<QByteArray>("protokoll");
        QTest::addColumn<int>("richtung");
        QTest::addColumn<bool>("stehend");
        QTest::addColumn<int>("danach");
        QTest::addColumn<QString>("bild");
        QTest::addColumn<QString>("eingerichtet");
        QTest::newRow("M3 vorwärts steht") << QByteArray("M3") << 1 << true << 0 << "pfeil_re.bmp" << "pfeil_li.bmp";
        QTest::newRow("M3 rückwärts steht") << QByteArray("M3") << 0 << true << 1 << "pfeil_li.bmp" << "pfeil_re.bmp";
        QTest::newRow("M5 nie bestätigt") << QByteArray("M5") << -1 << true << 1 << "pfeil_li.bmp" << "pfeil_re.bmp";
        QTest::newRow("M3 fährt") << QByteArray("M3") << 1 << false << 1 << "" << "pfeil_li.bmp";
        QTest::newRow("M1 steht") << QByteArray("M1") << 1 << true << 0 << "pfeil_dop.bmp" << "pfeil_dop.bmp";
        QTest::newRow("M1 fährt") << QByteArray("M1") << 0 << false << 0 << "pfeil_dop.bmp" << "pfeil_dop.bmp";
        QTest::newRow("N2 steht") << QByteArray("N2") << 1 << true << 0 << "pfeil_re.bmp" << "pfeil_li.bmp";
        QTest::newRow("NB steht") << QByteArray("NB") << 0 << true << 1 << "pfeil_li.bmp" << "pfeil_dop.bmp";
        QTest::newRow("N4 fährt") << QByteArray("N4") << 1 << false << 1 << "" << "pfeil_li.bmp";
        QTest::newRow("fremder Code") << QByteArray("X2") << 0 << true << 0 << "" << "pfeil_re.bmp";
    }
    void richtung()
    {
        QFETCH(QByteArray, protokoll);
        QFETCH(int, richtung);
        QFETCH(bool, stehend);
        cLocoInfo lok = Lok(protokoll, richtung);
        QCOMPARE(RichtungsbildEinrichten(lok), Spalte<QString>("eingerichtet"));
        QCOMPARE(RichtungsDruck(lok, stehend), Spalte<QString>("bild"));
        QCOMPARE(lok.Richtung, Spalte<int>("danach"));
    }

    // A press on F1 to F4, and what the throttle shows for a record.
    void funktionen_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("geschaltet");
        QTest::addColumn<QString>("bild"); // "-": keeps its picture
        QTest::newRow("Horn aus") << 4 << 2 << 12 << "hupe_aus.bmp";
        QTest::newRow("Horn an") << 4 << 12 << 2 << "hupe_ein.bmp";
        QTest::newRow("Doppelpfeil an") << 4 << 17 << 7 << "pfeil_dop.bmp";
        QTest::newRow("leer") << 4 << 0 << 0 << "-";
        QTest::newRow("Code 10") << 4 << 10 << 20 << "";
        QTest::newRow("Code 9 ohne Bild") << 4 << 9 << 19 << "";
        QTest::newRow("Code 25 ohne Bild") << 4 << 25 << 15 << "";
        QTest::newRow("ohne Funktionen") << 0 << 15 << 5 << "-";
    }
    void funktionen()
    {
        QFETCH(int, code);
        QFETCH(QString, bild);
        QCOMPARE(FunktionGeschaltet(code), Spalte<int>("geschaltet"));
        const auto bilder = Funktionsbilder(Lok("M3", 1, Spalte<int>("anzahl"), {0, code, 0, 0}));
        QCOMPARE(bilder[1].value_or("-"), bild);
        QVERIFY(!bilder[0] && !bilder[2]);
        QCOMPARE(Funktion0Bild(0), "Func_off.bmp");
        QCOMPARE(Funktion0Bild(1), "Func_on.bmp");
    }

    void dialogFuellen_data()
    {
        QTest::addColumn<QByteArray>("protokoll");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<Codes>("funktionen");
        QTest::addColumn<QString>("familie"); // M, N or - (unchanged)
        QTest::addColumn<int>("variante");
        QTest::addColumn<bool>("sichtbar");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<Bilder>("bilder");
        QTest::addColumn<int>("stufen");
        QTest::addColumn<QString>("zaehler"); // the two count fields
        const Codes keine {};
        // Every slot starts switched off and shows its symbol, whatever state it was stored in.
        QTest::newRow("M3, F2 Kupplung aus, F3 an")
            << QByteArray("M3") << 4 << Codes {0, 3, 13, 0} << "M" << 2 << true << Codes {0, 3, 3, 0}
            << Bilder {"", "kupplung_ein.bmp", "kupplung_ein.bmp", ""} << 0 << "4|";
        QTest::newRow("M1") << QByteArray("M1") << 0 << Codes {5, 0, 0, 0} << "M" << 0 << false << keine << Bilder {} << 14 << "|14";
        QTest::newRow("NB") << QByteArray("NB") << 4 << Codes {1, 0, 0, 7} << "N" << 0 << false
                            << Codes {1, 0, 0, 7} << Bilder {"func_on.bmp", "", "", "pfeil_dop.bmp"} << 28 << "4|28";
        QTest::newRow("N4") << QByteArray("N4") << 4 << keine << "N" << 4 << true << keine << Bilder {} << 0 << "4|";
        QTest::newRow("M0 wählt nichts") << QByteArray("M0") << 4 << keine << "M" << -1 << true << keine << Bilder {} << 0 << "4|";
        QTest::newRow("N7 wählt nichts") << QByteArray("N7") << 4 << keine << "N" << -1 << true << keine << Bilder {} << 0 << "4|";
        QTest::newRow("fremde Familie") << QByteArray("X2") << 4 << keine << "-" << -1 << true << keine << Bilder {} << 0 << "4|";
    }
    void dialogFuellen()
    {
        QFETCH(QByteArray, protokoll);
        QFETCH(QString, familie);
        cLocoInfo lok = Lok(protokoll, 1, Spalte<int>("anzahl"), Spalte<Codes>("funktionen"));
        lok.Fahrstufen = Spalte<int>("stufen");
        const LokdialogInhalt inhalt = LokdialogFuellen(lok);
        QCOMPARE(inhalt.Funktionsanzahl + '|' + inhalt.Fahrstufen, Spalte<QString>("zaehler"));
        QCOMPARE(inhalt.Maerklin.has_value() ? (*inhalt.Maerklin ? "M" : "N") : "-", familie);
        QCOMPARE(inhalt.Variante, Spalte<int>("variante"));
        QCOMPARE(inhalt.Funktionen, Spalte<bool>("sichtbar"));
        QCOMPARE(inhalt.Codes, Spalte<Codes>("codes"));
        QCOMPARE(inhalt.Bilder, Spalte<Bilder>("bilder"));
        QCOMPARE(inhalt.Adresse, "3");
    }
    void dialogFuellenFehler()
    {
        for (const QByteArray protokoll : {"MX", "M", ""}) {
            try {
                LokdialogFuellen(Lok(protokoll));
                QFAIL(protokoll.constData());
            } catch (const VelmoFehler &fehler) {
                QCOMPARE(fehler.Text, QStringLiteral("'%1' ist kein gültiger Integerwert").arg(protokoll.mid(1)));
            }
        }
    }

    // Confirming: the record afterwards, or the conversion error of the
    // first faulty field and the record unchanged.
    void dialogSpeichern_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("felder"); // Adresse, Beschreibung, Vmax, Dekodfn, Speed
        QTest::addColumn<QString>("familie");
        QTest::addColumn<int>("variante");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<QString>("fehler");
        QTest::addColumn<bool>("bekannt"); // the server still knows the locomotive
        const QStringList voll {"5", "BR 01", "120", "8", "28"};
        const QStringList leer {"5", "BR 01", "", "", ""};
        const QString vorher = "3 Lok 0 M3 4 0 -1 0 13 0 0";
        QTest::newRow("leere Adresse") << 80 << QStringList {"", "X", "1", "", ""} << "M" << 1 << vorher << "" << true;
        QTest::newRow("M1") << 80 << voll << "M" << 0 << "5 BR 01 120 M1 0 14 1 0 13 0 0" << "" << false;
        QTest::newRow("M1 unter 0.73, leer") << 70 << leer << "M" << 0 << "5 BR 01 100 M1 0 14 1 0 13 0 0" << "" << false;
        QTest::newRow("N2 unter 0.73, leer") << 70 << leer << "N" << 2 << "5 BR 01 100 N2 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("M3 unter 0.73") << 70 << voll << "M" << 2 << "5 BR 01 120 M3 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("N2 unter 0.73") << 70 << voll << "N" << 2 << "5 BR 01 120 N2 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("N2 unter 0.80") << 80 << voll << "N" << 2 << "5 BR 01 120 N2 8 28 1 1 2 3 4" << "" << false;
        QTest::newRow("N2 unter 0.80, leer") << 80 << leer << "N" << 2 << "5 BR 01 100 N2 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("NB") << 80 << voll << "N" << 0 << "5 BR 01 120 NB 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("gleiche Adresse, keine Variante")
            << 80 << QStringList {"3", "BR", "", "", ""} << "N" << -1 << "3 BR 100 M3 4 0 1 1 2 3 4" << "" << true;
        QTest::newRow("keine Variante") << 80 << voll << "N" << -1 << "5 BR 01 120 M3 4 0 1 1 2 3 4" << "" << false;
        QTest::newRow("negative Adresse") << 70 << QStringList {"-2", "", "7", "", ""} << "M" << 4
                                          << "-2  7 M5 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("langer Name")
            << 70 << QStringList {"5", "Rheingold Express 1928", "", "", ""} << "M" << 2
            << "5 Rheingold Express 19 100 M3 4 14 1 1 2 3 4" << "" << false;
        QTest::newRow("Adresse kein Wert") << 70 << QStringList {"x5", "BR", "1", "", ""} << "M" << 2 << vorher << "x5" << true;
        QTest::newRow("Vmax kein Wert") << 70 << QStringList {"5", "BR", "zehn", "", ""} << "M" << 2 << vorher << "zehn" << true;
        QTest::newRow("Stufen kein Wert") << 80 << QStringList {"5", "BR", "9", "6", "2 8"} << "N" << 1 << vorher << "2 8" << true;
        QTest::newRow("Umbruch im Namen")
            << 70 << QStringList {"5", "BR\n01\t", "", "", ""} << "M" << 2 << "5 BR 01  100 M3 4 14 1 1 2 3 4" << "" << false;
    }
    void dialogSpeichern()
    {
        QFETCH(QStringList, felder);
        QFETCH(QString, fehler);
        cLocoInfo lok = Lok("M3", -1, 4, {0, 13, 0, 0});
        lok.Initialisiert = 1;
        // Slots placed switched on are stored switched off.
        const LokdialogEingaben eingaben {felder[0], felder[1], felder[2], felder[3], felder[4],
                                          Spalte<QString>("familie") == "M", Spalte<int>("variante"), {11, 2, 13, 4}};
        try {
            QCOMPARE(LokdialogSpeichern(lok, eingaben, Spalte<int>("version")), !felder[0].isEmpty());
            QVERIFY(fehler.isEmpty());
        } catch (const VelmoFehler &f) {
            QCOMPARE(f.Text, QStringLiteral("'%1' ist kein gültiger Integerwert").arg(fehler));
        }
        QCOMPARE(Felder(lok), Spalte<QString>("danach"));
        QCOMPARE(lok.Funktionen[4], 5);
        QCOMPARE(lok.Initialisiert == 1, Spalte<bool>("bekannt"));
    }
};

QTEST_GUILESS_MAIN(TestLokomotiven)
#include "test_lokomotiven.moc"
