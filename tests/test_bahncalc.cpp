// Command texts and received-line parsing of bahncalc/.

#include "bahncalc/antworten.h"
#include "bahncalc/betrieb.h"
#include "bahncalc/lokbefehle.h"
#include "bahncalc/zubehoer.h"
#include "hilfen/fehler.h"

#include <QTest>

Q_DECLARE_METATYPE(cLocoInfo)

namespace {

cLocoInfo Lok(const QByteArray &protokoll, int anzahl, std::array<int, 8> funktionen = {})
{
    cLocoInfo lok;
    lok.Protokoll = protokoll;
    lok.Adresse = 3;
    lok.Richtung = 1;
    lok.Geschwindigkeit = 12;
    lok.Vmax = 28;
    lok.Funktion0 = 1;
    lok.Funktionsanzahl = anzahl;
    lok.Funktionen = funktionen;
    return lok;
}

// Contact/value pairs flattened to one list, so that they fit a data column.
QList<int> Flach(const QList<KontaktWert> &werte)
{
    QList<int> flach;
    for (const KontaktWert &w : werte)
        flach << w.Kontakt << w.Wert;
    return flach;
}

} // namespace

class TestBahncalc : public QObject
{
    Q_OBJECT

private slots:
    void zubehoerZiel_data();
    void zubehoerZiel();
    void zubehoerSchaltbar_data();
    void zubehoerSchaltbar();
    void zubehoerTexte_data();
    void zubehoerTexte();
    void zubehoerZielUndText();

    void protokollTabelle_data();
    void protokollTabelle();
    void funktionenImBefehl_data();
    void funktionenImBefehl();
    void lokBefehl70_data();
    void lokBefehl70();
    void lokBefehl80_data();
    void lokBefehl80();
    void lokInit80_data();
    void lokInit80();

    void powerBefehle_data();
    void powerBefehle();

    void zerlegeAntwort_data();
    void zerlegeAntwort();
    void rueckmeldungsArt_data();
    void rueckmeldungsArt();
    void zerlegeRueckmeldung_data();
    void zerlegeRueckmeldung();
    void zerlegeRueckmeldungFehler_data();
    void zerlegeRueckmeldungFehler();
    void zerlegeRueckmeldungAlle_data();
    void zerlegeRueckmeldungAlle();
    void serverBusse_data();
    void serverBusse();
    void kontaktAdresse_data();
    void kontaktAdresse();
};

// ---- accessories -------------------------------------------------------

void TestBahncalc::zubehoerZiel_data()
{
    QTest::addColumn<int>("decoder");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("adresse");
    QTest::addColumn<int>("port");

    const int erwartet1[10][2] = {{4, 1}, {5, 0}, {5, 1}, {6, 0}, {6, 1},
                                  {7, 0}, {7, 1}, {8, 0}, {8, 1}, {8, 1}};
    const int erwartet4[10][2] = {{16, 1}, {17, 0}, {17, 1}, {18, 0}, {18, 1},
                                  {19, 0}, {19, 1}, {20, 0}, {20, 1}, {20, 1}};
    for (int output = 0; output < 10; ++output) {
        QTest::addRow("A=1 output %d", output) << 1 << output << erwartet1[output][0] << erwartet1[output][1];
        QTest::addRow("A=4 output %d", output) << 4 << output << erwartet4[output][0] << erwartet4[output][1];
    }
    QTest::newRow("A=1 output 11 stays on port 1") << 1 << 11 << 9 << 1;
}

void TestBahncalc::zubehoerZiel()
{
    QFETCH(int, decoder);
    QFETCH(int, output);
    QFETCH(int, adresse);
    QFETCH(int, port);
    const ZubehoerAdresse ziel = ZubehoerZiel(decoder, output);
    QCOMPARE(ziel.Adresse, adresse);
    QCOMPARE(ziel.Port, port);
}

void TestBahncalc::zubehoerSchaltbar_data()
{
    QTest::addColumn<int>("decoder");
    QTest::addColumn<int>("output");
    QTest::addColumn<bool>("schaltbar");

    QTest::newRow("1/0") << 1 << 0 << true;
    QTest::newRow("4/9") << 4 << 9 << true;
    QTest::newRow("decoder 0") << 0 << 3 << false;
    QTest::newRow("decoder -1") << -1 << 3 << false;
    QTest::newRow("output -1") << 1 << -1 << false;
}

void TestBahncalc::zubehoerSchaltbar()
{
    QFETCH(int, decoder);
    QFETCH(int, output);
    QFETCH(bool, schaltbar);
    QCOMPARE(ZubehoerSchaltbar(decoder, output), schaltbar);
}

void TestBahncalc::zubehoerTexte_data()
{
    QTest::addColumn<QByteArray>("protokoll");
    QTest::addColumn<int>("adresse");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("wert");
    QTest::addColumn<int>("bus");
    QTest::addColumn<QByteArray>("text70");
    QTest::addColumn<QByteArray>("text80");
    QTest::addColumn<QByteArray>("init80");

    QTest::newRow("M on") << QByteArray("M") << 18 << 0 << 1 << 1
        << QByteArray("SET GA M 18 0 1 -1\n") << QByteArray("SET 1 GA 18 0 1 -1\n")
        << QByteArray("INIT 1 GA 18 M\n");
    QTest::newRow("M off") << QByteArray("M") << 18 << 0 << 0 << 1
        << QByteArray("SET GA M 18 0 0 -1\n") << QByteArray("SET 1 GA 18 0 0 -1\n")
        << QByteArray("INIT 1 GA 18 M\n");
    QTest::newRow("n") << QByteArray("n") << 5 << 1 << 1 << 2
        << QByteArray("SET GA N 5 1 1 -1\n") << QByteArray("SET 2 GA 5 1 1 -1\n")
        << QByteArray("INIT 2 GA 5 N\n");
    QTest::newRow("N") << QByteArray("N") << 20 << 1 << 0 << 2
        << QByteArray("SET GA N 20 1 0 -1\n") << QByteArray("SET 2 GA 20 1 0 -1\n")
        << QByteArray("INIT 2 GA 20 N\n");
    QTest::newRow("NB is not N") << QByteArray("NB") << 4 << 1 << 1 << 1
        << QByteArray("SET GA M 4 1 1 -1\n") << QByteArray("SET 1 GA 4 1 1 -1\n")
        << QByteArray("INIT 1 GA 4 M\n");
    QTest::newRow("empty") << QByteArray() << 4 << 1 << 1 << 1
        << QByteArray("SET GA M 4 1 1 -1\n") << QByteArray("SET 1 GA 4 1 1 -1\n")
        << QByteArray("INIT 1 GA 4 M\n");
    QTest::newRow("negative numbers") << QByteArray("M") << -7 << 1 << -2 << 1
        << QByteArray("SET GA M -7 1 -2 -1\n") << QByteArray("SET 1 GA -7 1 -2 -1\n")
        << QByteArray("INIT 1 GA -7 M\n");
}

void TestBahncalc::zubehoerTexte()
{
    QFETCH(QByteArray, protokoll);
    QFETCH(int, adresse);
    QFETCH(int, port);
    QFETCH(int, wert);
    QFETCH(int, bus);
    QFETCH(QByteArray, text70);
    QFETCH(QByteArray, text80);
    QFETCH(QByteArray, init80);

    const ZubehoerAdresse ziel {adresse, port};
    QCOMPARE(ZubehoerBus(protokoll), bus);
    QCOMPARE(ZubehoerBefehl70(protokoll, ziel, wert), text70);
    QCOMPARE(ZubehoerBefehl80(protokoll, ziel, wert), text80);
    QCOMPARE(ZubehoerInit80(protokoll, adresse), init80);
}

// Decoder 4, output 3 end to end, as the plan click sends it.
void TestBahncalc::zubehoerZielUndText()
{
    const ZubehoerAdresse ziel = ZubehoerZiel(4, 3);
    QCOMPARE(ZubehoerBefehl70("M", ziel, 1), QByteArray("SET GA M 18 0 1 -1\n"));
    QCOMPARE(ZubehoerBefehl70("M", ziel, 0), QByteArray("SET GA M 18 0 0 -1\n"));
}

// ---- locomotives -------------------------------------------------------

void TestBahncalc::protokollTabelle_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("bus");
    QTest::addColumn<int>("version");

    QTest::newRow("M1") << QByteArray("M1") << 1 << 1;
    QTest::newRow("M2") << QByteArray("M2") << 1 << 2;
    QTest::newRow("M3") << QByteArray("M3") << 1 << 3;
    QTest::newRow("M4") << QByteArray("M4") << 1 << 4;
    QTest::newRow("M5") << QByteArray("M5") << 1 << 5;
    QTest::newRow("NB") << QByteArray("NB") << 2 << 1;
    QTest::newRow("N1") << QByteArray("N1") << 2 << 2;
    QTest::newRow("N2") << QByteArray("N2") << 2 << 3;
    QTest::newRow("N3") << QByteArray("N3") << 3 << 4;
    QTest::newRow("N4") << QByteArray("N4") << 3 << 5;
    QTest::newRow("X9") << QByteArray("X9") << 0 << 0;
    QTest::newRow("m2 (case)") << QByteArray("m2") << 0 << 0;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("M6") << QByteArray("M6") << 0 << 0;
    QTest::newRow("M prefix only") << QByteArray("M") << 0 << 0;
    QTest::newRow("trailing blank") << QByteArray("M1 ") << 0 << 0;
}

void TestBahncalc::protokollTabelle()
{
    QFETCH(QByteArray, code);
    QFETCH(int, bus);
    QFETCH(int, version);
    QCOMPARE(ProtocolBus(code), bus);
    QCOMPARE(ProtocolVersion(code), version);
}

void TestBahncalc::funktionenImBefehl_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("imBefehl");

    QTest::newRow("-5") << -5 << 0;
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("8") << 8 << 8;
    QTest::newRow("9") << 9 << 8;
    QTest::newRow("100") << 100 << 8;
}

void TestBahncalc::funktionenImBefehl()
{
    QFETCH(int, anzahl);
    QFETCH(int, imBefehl);
    QCOMPARE(FunktionenImBefehl(Lok("M2", anzahl)), imBefehl);
}

void TestBahncalc::lokBefehl70_data()
{
    QTest::addColumn<cLocoInfo>("lok");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("example") << Lok("M2", 2, {11, 3})
                             << QByteArray("SET GL M2 3 1 12 28 1 2 1 0 \n");
    QTest::newRow("no functions") << Lok("M2", 0, {11, 11})
                                  << QByteArray("SET GL M2 3 1 12 28 1 0 \n");
    QTest::newRow("four functions") << Lok("N1", 4, {11, 3, 12, 0, 11})
                                    << QByteArray("SET GL N1 3 1 12 28 1 4 1 0 1 0 \n");
    QTest::newRow("10 is off, 11 is on") << Lok("M2", 2, {10, 11})
                                         << QByteArray("SET GL M2 3 1 12 28 1 2 0 1 \n");
    QTest::newRow("9 counts as 8") << Lok("M5", 9, {11, 11, 11, 11, 11, 11, 11, 17})
                                   << QByteArray("SET GL M5 3 1 12 28 1 8 1 1 1 1 1 1 1 1 \n");
    QTest::newRow("-1 counts as 0") << Lok("M2", -1, {11})
                                    << QByteArray("SET GL M2 3 1 12 28 1 0 \n");
    QTest::newRow("code outside the table sent as stored") << Lok("X9", 1, {12})
                                                           << QByteArray("SET GL X9 3 1 12 28 1 1 1 \n");

    cLocoInfo neu; // record defaults: M1, address 0, direction -1
    QTest::newRow("defaults, negative direction") << neu << QByteArray("SET GL M1 0 -1 0 0 0 0 \n");
}

void TestBahncalc::lokBefehl70()
{
    QFETCH(cLocoInfo, lok);
    QFETCH(QByteArray, text);
    QCOMPARE(LokBefehl70(lok), text);
}

void TestBahncalc::lokBefehl80_data()
{
    QTest::addColumn<cLocoInfo>("lok");
    QTest::addColumn<QByteArray>("text");

    // Every function of the record follows F0, as under SRCP 0.7.3.
    QTest::newRow("example") << Lok("M2", 2, {11, 3}) << QByteArray("SET 1 GL 3 1 12 28 1 1 0 \n");
    QTest::newRow("one function") << Lok("M2", 1, {11}) << QByteArray("SET 1 GL 3 1 12 28 1 1 \n");
    QTest::newRow("no functions") << Lok("M2", 0, {11}) << QByteArray("SET 1 GL 3 1 12 28 1 \n");
    QTest::newRow("-1 counts as 0") << Lok("M2", -1, {11}) << QByteArray("SET 1 GL 3 1 12 28 1 \n");
    QTest::newRow("four functions, F4 on, bus 2") << Lok("NB", 4, {11, 3, 12, 15})
                                                  << QByteArray("SET 2 GL 3 1 12 28 1 1 0 1 1 \n");
    QTest::newRow("bus 3") << Lok("N4", 3, {10, 11, 11}) << QByteArray("SET 3 GL 3 1 12 28 1 0 1 1 \n");
    QTest::newRow("9 counts as 8") << Lok("N1", 9, {11, 11, 11, 11, 11, 11, 11, 11})
                                   << QByteArray("SET 2 GL 3 1 12 28 1 1 1 1 1 1 1 1 1 \n");
    QTest::newRow("X9") << Lok("X9", 2, {11}) << QByteArray();
    QTest::newRow("m2") << Lok("m2", 2, {11}) << QByteArray();
    QTest::newRow("empty code") << Lok("", 2, {11}) << QByteArray();
}

void TestBahncalc::lokBefehl80()
{
    QFETCH(cLocoInfo, lok);
    QFETCH(QByteArray, text);
    QCOMPARE(LokBefehl80(lok), text);
}

void TestBahncalc::lokInit80_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("funktionen");
    QTest::addColumn<int>("fahrstufen");
    QTest::addColumn<int>("initFunktionen");
    QTest::addColumn<QByteArray>("text");

    // The server counts F0 among the functions: F0 and every function of the record.
    QTest::newRow("N1 defaults") << QByteArray("N1") << 4 << 0 << 0 << QByteArray("INIT 2 GL 3 N 2 14 5\n");
    QTest::newRow("M1 keeps 0 functions") << QByteArray("M1") << 0 << 0 << 0 << QByteArray("INIT 1 GL 3 M 1 14 0\n");
    QTest::newRow("M2 two functions") << QByteArray("M2") << 2 << 0 << 0 << QByteArray("INIT 1 GL 3 M 2 14 3\n");
    QTest::newRow("NB defaults") << QByteArray("NB") << 4 << 0 << 0 << QByteArray("INIT 2 GL 3 N 1 14 5\n");
    QTest::newRow("N2 no functions: F0") << QByteArray("N2") << 0 << 0 << 0 << QByteArray("INIT 2 GL 3 N 3 14 1\n");
    QTest::newRow("N3 as given") << QByteArray("N3") << 4 << 28 << 8 << QByteArray("INIT 3 GL 3 N 4 28 8\n");
    QTest::newRow("M1 as given") << QByteArray("M1") << 0 << 28 << 8 << QByteArray("INIT 1 GL 3 M 1 28 8\n");
    QTest::newRow("M5 steps given") << QByteArray("M5") << 4 << 27 << 0 << QByteArray("INIT 1 GL 3 M 5 27 5\n");
    QTest::newRow("X9") << QByteArray("X9") << 4 << 0 << 0 << QByteArray();
    QTest::newRow("m2") << QByteArray("m2") << 4 << 0 << 0 << QByteArray();
    QTest::newRow("empty code") << QByteArray() << 4 << 0 << 0 << QByteArray();
}

void TestBahncalc::lokInit80()
{
    QFETCH(QByteArray, code);
    QFETCH(int, funktionen);
    QFETCH(int, fahrstufen);
    QFETCH(int, initFunktionen);
    QFETCH(QByteArray, text);

    cLocoInfo lok = Lok(code, funktionen);
    lok.Fahrstufen = fahrstufen;
    lok.InitFunktionsanzahl = initFunktionen;
    QCOMPARE(LokInit80(lok), text);
}

// ---- operator commands -------------------------------------------------

void TestBahncalc::powerBefehle_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("ein");
    QTest::addColumn<QByteArrayList>("zeilen");

    QTest::newRow("70 on") << 70 << true << QByteArrayList {"SET POWER ON"};
    QTest::newRow("70 off") << 70 << false << QByteArrayList {"SET POWER OFF"};
    QTest::newRow("80 on") << 80 << true
                           << QByteArrayList {"SET 1 POWER ON", "SET 2 POWER ON", "SET 3 POWER ON"};
    QTest::newRow("80 off") << 80 << false
                            << QByteArrayList {"SET 1 POWER OFF", "SET 2 POWER OFF", "SET 3 POWER OFF"};
    QTest::newRow("other code is 0.8") << 75 << true
                                       << QByteArrayList {"SET 1 POWER ON", "SET 2 POWER ON", "SET 3 POWER ON"};
}

void TestBahncalc::powerBefehle()
{
    QFETCH(int, version);
    QFETCH(bool, ein);
    QFETCH(QByteArrayList, zeilen);
    QCOMPARE(PowerBefehle(version, ein), zeilen);
}

// ---- received lines ----------------------------------------------------

void TestBahncalc::zerlegeAntwort_data()
{
    QTest::addColumn<QByteArray>("zeile");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<QByteArray>("wort");
    QTest::addColumn<bool>("istGo");
    QTest::addColumn<QByteArray>("sessionId");

    QTest::newRow("connectionmode") << QByteArray("1796762107.242 202 OK CONNECTIONMODE")
                                    << true << QByteArray("OK") << false << QByteArray();
    QTest::newRow("go") << QByteArray("1796762107.243 200 OK GO 1")
                        << true << QByteArray("OK") << true << QByteArray("1");
    QTest::newRow("go, line end") << QByteArray("1796762107.243 200 OK GO 4711\r\n")
                                  << true << QByteArray("OK") << true << QByteArray("4711");
    QTest::newRow("go, rest of line") << QByteArray("1796762107.243 200 OK GO 12 x")
                                      << true << QByteArray("OK") << true << QByteArray("12 x");
    QTest::newRow("go without id") << QByteArray("1796762107.243 200 OK GO")
                                   << true << QByteArray("OK") << true << QByteArray();
    QTest::newRow("GOX is not GO") << QByteArray("1796762107.243 200 OK GOX 1")
                                   << true << QByteArray("OK") << false << QByteArray();
    QTest::newRow("go after ERROR") << QByteArray("1796762107.243 412 ERROR GO 1")
                                    << true << QByteArray("ERROR") << false << QByteArray();
    QTest::newRow("error") << QByteArray("1796762107.300 422 ERROR unsupported device group")
                           << true << QByteArray("ERROR") << false << QByteArray();
    QTest::newRow("time without fraction") << QByteArray("1796762107 100 INFO 1 GA 18 0 1")
                                           << true << QByteArray("INFO") << false << QByteArray();
    QTest::newRow("greeting") << QByteArray("srcpsim 1.0; SRCP 0.8.4; SRCPOTHER 0.7.3")
                              << false << QByteArray() << false << QByteArray();
    QTest::newRow("0.7.3 info") << QByteArray("INFO GA M 18 0 1")
                                << false << QByteArray() << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray() << false << QByteArray();
    QTest::newRow("OK alone") << QByteArray("OK") << false << QByteArray() << false << QByteArray();
    QTest::newRow("no word") << QByteArray("1796762107.242 202")
                             << false << QByteArray() << false << QByteArray();
    QTest::newRow("two-digit code") << QByteArray("1796762107.242 20 OK")
                                    << false << QByteArray() << false << QByteArray();
    QTest::newRow("four-digit code") << QByteArray("1796762107.242 2020 OK")
                                     << false << QByteArray() << false << QByteArray();
    QTest::newRow("dot without digits") << QByteArray("1796762107. 202 OK")
                                        << false << QByteArray() << false << QByteArray();
    QTest::newRow("time starts with dot") << QByteArray(".242 202 OK")
                                          << false << QByteArray() << false << QByteArray();
    QTest::newRow("letter in time") << QByteArray("17967a2107.242 202 OK")
                                    << false << QByteArray() << false << QByteArray();
    QTest::newRow("two blanks") << QByteArray("1796762107.242  202 OK")
                                << false << QByteArray() << false << QByteArray();
}

void TestBahncalc::zerlegeAntwort()
{
    QFETCH(QByteArray, zeile);
    QFETCH(bool, gueltig);
    QFETCH(QByteArray, wort);
    QFETCH(bool, istGo);
    QFETCH(QByteArray, sessionId);

    const Antwort a = ZerlegeAntwort(zeile);
    QCOMPARE(a.Gueltig, gueltig);
    QCOMPARE(a.Wort, wort);
    QCOMPARE(a.IstGo, istGo);
    QCOMPARE(a.SessionIdText, sessionId);
}

// The replies to "GET 1/2/3 DESCRIPTION" decide where power, accessory and
// locomotive commands go.
void TestBahncalc::serverBusse_data()
{
    QTest::addColumn<QByteArrayList>("antworten"); // to bus 1, 2, 3; empty: none came
    QTest::addColumn<QByteArray>("power");         // the buses of "SET <bus> POWER ON"
    QTest::addColumn<QByteArray>("gaBusse");       // the buses of GA "M" and "N"
    QTest::addColumn<QByteArray>("glBusse");       // the buses of GL M2, NB, N3

    const QByteArray t = "1796773747.108 ";
    const QByteArray kein = t + "412 ERROR wrong value";
    auto beschreibung = [&t](int bus, const QByteArray &gruppen) {
        return t + "100 INFO " + QByteArray::number(bus) + " DESCRIPTION " + gruppen;
    };
    const QByteArray alles = "GA GL FB SM POWER LOCK DESCRIPTION";
    QTest::newRow("keine Antwort") << QByteArrayList{"", "", ""} << QByteArray("123") << QByteArray("12")
                                   << QByteArray("123");
    QTest::newRow("drei Busse") << QByteArrayList{beschreibung(1, alles), beschreibung(2, alles), beschreibung(3, alles)}
                                << QByteArray("123") << QByteArray("12") << QByteArray("123");
    QTest::newRow("ein Bus") << QByteArrayList{beschreibung(1, alles), kein, kein} << QByteArray("1") << QByteArray("11")
                             << QByteArray("111");
    QTest::newRow("zwei Busse") << QByteArrayList{beschreibung(1, "GA GL POWER"), beschreibung(2, "GL GA POWER"), kein}
                                << QByteArray("12") << QByteArray("12") << QByteArray("121");
    QTest::newRow("nur Bus 2") << QByteArrayList{kein, beschreibung(2, alles), kein} << QByteArray("2")
                               << QByteArray("22") << QByteArray("222");
    QTest::newRow("Bus 2 ohne GA, GL") << QByteArrayList{beschreibung(1, "GA GL POWER"), beschreibung(2, "FB POWER"), kein}
                                       << QByteArray("12") << QByteArray("11") << QByteArray("111");
    QTest::newRow("Frage unbekannt") << QByteArrayList{t + "410 ERROR unknown command", t + "423 ERROR unsupported operation",
                                                       t + "200 OK"}
                                     << QByteArray("123") << QByteArray("12") << QByteArray("123");
    QTest::newRow("fremde Busnummer") << QByteArrayList{beschreibung(2, "FB"), "", ""} << QByteArray("123")
                                      << QByteArray("12") << QByteArray("123");
    QTest::newRow("keiner dient") << QByteArrayList{beschreibung(1, "FB"), kein, kein} << QByteArray("")
                                  << QByteArray("12") << QByteArray("123");
}

void TestBahncalc::serverBusse()
{
    QFETCH(QByteArrayList, antworten);
    QFETCH(QByteArray, power);
    QFETCH(QByteArray, gaBusse);
    QFETCH(QByteArray, glBusse);
    ServerBusse busse;
    for (int bus = 1; bus <= 3; ++bus)
        if (!antworten[bus - 1].isEmpty())
            busse.Beschreibung(bus, ZerlegeAntwort(antworten[bus - 1]));

    QByteArrayList powerZeilen;
    for (char bus : power)
        powerZeilen.append("SET " + QByteArray(1, bus) + " POWER ON");
    QCOMPARE(PowerBefehle(80, true, busse), powerZeilen);
    QCOMPARE(PowerBefehle(70, true, busse), QByteArrayList{"SET POWER ON"});

    const ZubehoerAdresse ziel{18, 0};
    QCOMPARE(ZubehoerBefehl80("M", ziel, 1, busse), "SET " + gaBusse.left(1) + " GA 18 0 1 -1\n");
    QCOMPARE(ZubehoerInit80("N", 18, busse), "INIT " + gaBusse.mid(1, 1) + " GA 18 N\n");
    const QByteArrayList codes{"M2", "NB", "N3"};
    for (int i = 0; i < codes.size(); ++i) {
        const cLocoInfo lok = Lok(codes[i], 1);
        QVERIFY2(LokBefehl80(lok, busse).startsWith("SET " + glBusse.mid(i, 1) + " GL 3 "), codes[i]);
        QVERIFY2(LokInit80(lok, busse).startsWith("INIT " + glBusse.mid(i, 1) + " GL 3 "), codes[i]);
    }
}

void TestBahncalc::rueckmeldungsArt_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("art");

    const int keine = int(RueckArt::Keine), einzel = int(RueckArt::Einzel), alle = int(RueckArt::Alle);
    QTest::newRow("single") << QString("INFO FB S88 18 1") << einzel;
    QTest::newRow("all") << QString("INFO FB S88 * 0100") << alle;
    QTest::newRow("accessory") << QString("INFO GA M 1 1") << keine;
    QTest::newRow("lower case") << QString("info fb s88 18 1") << keine;
    QTest::newRow("too short") << QString("INFO FB S8") << keine;
    QTest::newRow("empty") << QString() << keine;
    QTest::newRow("leading blank") << QString(" INFO FB S88 18 1") << keine;
    QTest::newRow("12th not examined") << QString("INFO FB S88X*0100") << alle;
    QTest::newRow("star in 14th") << QString("INFO FB S88  *") << einzel;
    QTest::newRow("prefix only") << QString("INFO FB S88") << einzel;
}

void TestBahncalc::rueckmeldungsArt()
{
    QFETCH(QString, zeile);
    QFETCH(int, art);
    QCOMPARE(int(RueckmeldungsArt(zeile)), art);
}

void TestBahncalc::zerlegeRueckmeldung_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("kontakt");
    QTest::addColumn<int>("wert");

    QTest::newRow("18 1") << QString("INFO FB S88 18 1") << 18 << 1;
    QTest::newRow("line end") << QString("INFO FB S88 18 1\r\n") << 18 << 1;
    QTest::newRow("3 0") << QString("INFO FB S88 3 0") << 3 << 0;
    QTest::newRow("value 2 passes") << QString("INFO FB S88 18 2") << 18 << 2;
    QTest::newRow("blanks before number") << QString("INFO FB S88   18 1  ") << 18 << 1;
}

void TestBahncalc::zerlegeRueckmeldung()
{
    QFETCH(QString, zeile);
    QFETCH(int, kontakt);
    QFETCH(int, wert);
    const KontaktWert kw = ZerlegeRueckmeldung(zeile);
    QCOMPARE(kw.Kontakt, kontakt);
    QCOMPARE(kw.Wert, wert);
}

void TestBahncalc::zerlegeRueckmeldungFehler_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("meldung");

    QTest::newRow("no blank") << QString("INFO FB S88 18") << QString("'' ist kein gültiger Integerwert");
    QTest::newRow("not a number") << QString("INFO FB S88 x 1") << QString("'x' ist kein gültiger Integerwert");
    QTest::newRow("two blanks") << QString("INFO FB S88 18  1") << QString("' 1' ist kein gültiger Integerwert");
    QTest::newRow("third field") << QString("INFO FB S88 18 1 0") << QString("'1 0' ist kein gültiger Integerwert");
    QTest::newRow("prefix only") << QString("INFO FB S88") << QString("'' ist kein gültiger Integerwert");
}

void TestBahncalc::zerlegeRueckmeldungFehler()
{
    QFETCH(QString, zeile);
    QFETCH(QString, meldung);
    try {
        ZerlegeRueckmeldung(zeile);
        QFAIL("no VelmoFehler thrown");
    } catch (const VelmoFehler &f) {
        QCOMPARE(f.Text, meldung);
    }
}

void TestBahncalc::zerlegeRueckmeldungAlle_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QList<int>>("paare");

    QTest::newRow("0100") << QString("INFO FB S88 * 0100") << QList<int> {1, 0, 2, 1, 3, 0, 4, 0};
    QTest::newRow("1x1") << QString("INFO FB S88 * 1x1") << QList<int> {1, 1, 3, 1};
    QTest::newRow("line end") << QString("INFO FB S88 * 01\r\n") << QList<int> {1, 0, 2, 1};
    QTest::newRow("leading blank trimmed") << QString("INFO FB S88 *  01") << QList<int> {1, 0, 2, 1};
    QTest::newRow("inner blank counts") << QString("INFO FB S88 * 2 1") << QList<int> {3, 1};
    QTest::newRow("no digits") << QString("INFO FB S88 * ") << QList<int> {};
    QTest::newRow("17 contacts") << QString("INFO FB S88 * 00000000000000001")
                                 << QList<int> {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0,
                                                10, 0, 11, 0, 12, 0, 13, 0, 14, 0, 15, 0, 16, 0, 17, 1};
}

void TestBahncalc::zerlegeRueckmeldungAlle()
{
    QFETCH(QString, zeile);
    QFETCH(QList<int>, paare);
    QCOMPARE(Flach(ZerlegeRueckmeldungAlle(zeile)), paare);
}

void TestBahncalc::kontaktAdresse_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("modul");
    QTest::addColumn<int>("kontakt");

    QTest::newRow("1") << 1 << 1 << 1;
    QTest::newRow("3") << 3 << 1 << 3;
    QTest::newRow("15") << 15 << 1 << 15;
    QTest::newRow("16") << 16 << 1 << 16;
    QTest::newRow("17") << 17 << 2 << 1;
    QTest::newRow("18") << 18 << 2 << 2;
    QTest::newRow("31") << 31 << 2 << 15;
    QTest::newRow("32") << 32 << 2 << 16;
    QTest::newRow("33") << 33 << 3 << 1;
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("-16") << -16 << 0 << 0;
}

void TestBahncalc::kontaktAdresse()
{
    QFETCH(int, n);
    QFETCH(int, modul);
    QFETCH(int, kontakt);
    const ModulKontakt mk = KontaktAdresse(n);
    QCOMPARE(mk.Modul, modul);
    QCOMPARE(mk.Kontakt, kontakt);
}

QTEST_GUILESS_MAIN(TestBahncalc)
#include "test_bahncalc.moc"
