// The generated Data/ directory: the element catalogue and the pictures as
// the program reads them.

#include "testwork.h"

#include "elemente/Bilder.h"
#include "elemente/BmpLeser.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {

const QRgb Background = qRgb(192, 192, 192);
const QRgb TrackColour = qRgb(64, 64, 64);
const QRgb ActiveColour = qRgb(0, 0, 0);
const QRgb InactiveColour = qRgb(128, 128, 128);
const QRgb RouteYellow = qRgb(255, 215, 0);
const QRgb LampRed = qRgb(220, 0, 0);
const QRgb LampGreen = qRgb(0, 170, 0);
const QRgb LampYellow = qRgb(255, 200, 0);

const int IconStates[] = {1, 2, 3, 11, 12, 13};

// The connection points in the order W, NW, N, NE, E, SE, S, SW.
const QPoint Connections[8] = {{0, 13}, {0, 0}, {13, 0}, {26, 0}, {26, 13}, {26, 26}, {13, 26}, {0, 26}};
// Where the connection points of a row 1 shape go in rows 2, 3 and 4.
const int RowTurns[3][8] = {
    {2, 3, 4, 5, 6, 7, 0, 1}, // 90 degrees clockwise
    {7, 0, 1, 2, 3, 4, 5, 6}, // 45 degrees counter-clockwise
    {1, 2, 3, 4, 5, 6, 7, 0}, // 45 degrees clockwise
};

QString dataFile(const QString &name)
{
    return QDir(builtDataDir()).filePath(name);
}

QImage picture(const QString &name)
{
    return QImage(dataFile(name)).convertToFormat(QImage::Format_RGB32);
}

QImage icon(int element, int state)
{
    return picture(IconName(element, state));
}

// Whether the program's own plain bitmap reader, which spares a plan's
// opening Qt's readers, reads the shipped picture exactly as Qt does: its
// pixels and its resolution.
bool plainlyReadAsQt(const QString &name)
{
    const QImage eigen = LiesEinfacheBmp(Dateiinhalt(dataFile(name)));
    const QImage qt(dataFile(name));
    return eigen == qt.convertToFormat(QImage::Format_RGB32) && eigen.dotsPerMeterX() == qt.dotsPerMeterX()
        && eigen.dotsPerMeterY() == qt.dotsPerMeterY();
}

int bitsPerPixel(const QString &name)
{
    QFile file(dataFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM"))
        return -1;
    return qFromLittleEndian<quint16>(header.constData() + 28);
}

// The bounding box of the pixels of a colour; empty when there are none.
QRect extent(const QImage &image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

bool contains(const QImage &image, QRgb colour)
{
    return !extent(image, colour).isEmpty();
}

// The colour at each connection point, with the row turn applied: entry j
// holds what the turned picture must show at point j.
QList<QRgb> connectionColours(const QImage &image, const int *turn = nullptr)
{
    QList<QRgb> colours(8);
    for (int i = 0; i < 8; ++i)
        colours[turn ? turn[i] : i] = image.pixel(Connections[i]);
    return colours;
}

QList<QByteArray> catalogueLines()
{
    QFile file(dataFile(QStringLiteral("Elemente1.dat")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray content = file.readAll();
    if (content.contains('\r') || !content.endsWith('\n'))
        return {};
    content.chop(1);
    return content.split('\n');
}

} // namespace

class TestMakedata : public QObject
{
    Q_OBJECT

private slots:
    void catalogueHas88RecordsOnThePaletteGrid()
    {
        const QList<QByteArray> lines = catalogueLines();
        QCOMPARE(lines.size(), 88 * 12);
        for (int i = 1; i <= 88; ++i) {
            const QList<QByteArray> record = lines.mid((i - 1) * 12, 12);
            const int column = (i - 1) % 22;
            const int row = (i - 1) / 22;
            QCOMPARE(record[0].toInt(), i);
            QCOMPARE(record[2].toInt(), 28 * column + 1);
            QCOMPARE(record[3].toInt(), 28 * row + 1);
            QVERIFY(record[4].toInt() >= 1 && record[4].toInt() <= 3);
            QCOMPARE(record[5], QByteArray("0"));
            for (int state = 1; state <= 3; ++state)
                QCOMPARE(QString::fromLatin1(record[5 + state]), IconName(i, state));
            // Rows 2 to 4 repeat the first twenty shapes of row 1.
            if (row > 0 && column < 20) {
                const QList<QByteArray> base = lines.mid(column * 12, 12);
                QCOMPARE(record[1], base[1]);
                QCOMPARE(record[4], base[4]);
            }
        }
    }

    void catalogueNamesStatesAndTexts_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("states");
        QTest::addColumn<QByteArray>("texts"); // Text1 to Text3 joined by '|'
        const auto row = [](int element, const char *name, int states, const char *texts) {
            QTest::addRow("%d", element) << element << QByteArray(name) << states << QByteArray(texts);
        };
        row(1, "Gerade", 1, "||");
        row(7, "Weiche", 2, "gerade|abzweigend|");
        row(10, "Dreiwegweiche", 3, "gerade|links|rechts");
        row(13, "Kreuzung", 1, "||");
        row(14, "Doppelkreuzungsweiche", 2, "gerade|abzweigend|");
        row(16, "Signal", 2, "Halt|Fahrt|");
        row(17, "Signal", 3, "Halt|Fahrt|Langsamfahrt");
        row(19, "Prellbock", 1, "||");
        row(44, "Bogen 90\xc2\xb0", 1, "||");
        row(65, "R\xc3\xbc" "ckmeldekontakt", 2, "frei|besetzt|");
        row(86, "Entkupplungsgleis", 1, "||");
        row(88, "Fahrstrassentaste", 1, "||");
    }

    void catalogueNamesStatesAndTexts()
    {
        QFETCH(int, element);
        QFETCH(QByteArray, name);
        QFETCH(int, states);
        QFETCH(QByteArray, texts);
        const QList<QByteArray> record = catalogueLines().mid((element - 1) * 12, 12);
        QCOMPARE(record.size(), 12);
        QCOMPARE(record[1], name);
        QCOMPARE(record[4].toInt(), states);
        QCOMPARE(record.mid(9).join('|'), texts);
    }

    void everyIconNameExistsAs24BitBmp()
    {
        for (int element = 1; element <= 88; ++element) {
            for (int state : IconStates) {
                const QString name = IconName(element, state);
                QVERIFY2(QFile::exists(dataFile(name)), qPrintable(name));
                QCOMPARE(bitsPerPixel(name), 24);
                QCOMPARE(picture(name).size(), QSize(27, 27));
                QVERIFY2(plainlyReadAsQt(name), qPrintable(name));
            }
        }
    }

    void everyFunctionPictureExistsAs24BitBmp()
    {
        const QStringList names{"func_off.bmp", "func_on.bmp", "hupe_aus.bmp", "hupe_ein.bmp",
                                "kupplung_aus.bmp", "kupplung_ein.bmp", "wagenlicht_aus.bmp",
                                "wagenlicht_ein.bmp", "licht_aus.bmp", "licht_ein.bmp", "dampf_aus.bmp",
                                "dampf_ein.bmp", "pfeil_dop.bmp", "Func_off.bmp", "Func_on.bmp",
                                "pfeil_re.bmp", "pfeil_li.bmp"};
        for (const QString &name : names) {
            QCOMPARE(bitsPerPixel(name), 24);
            QCOMPARE(picture(name).size(), QSize(15, 15));
            QVERIFY2(plainlyReadAsQt(name), qPrintable(name));
        }
    }

    void trackRunsThroughToTheCellEdges()
    {
        const QImage straight = icon(1, 1);
        for (int x = 0; x < 27; ++x)
            QCOMPARE(straight.pixel(x, 13), TrackColour);
        for (QPoint corner : {QPoint(0, 0), QPoint(26, 0), QPoint(0, 26), QPoint(26, 26)})
            QCOMPARE(straight.pixel(corner), Background);
        // Every horizontal track fills the same rows, so neighbours join.
        for (int y = 0; y < 27; ++y) {
            const bool band = y >= 11 && y <= 14;
            QCOMPARE(straight.pixel(0, y) == TrackColour, band);
            QCOMPARE(straight.pixel(0, y), icon(2, 1).pixel(0, y));
        }

        const QImage upright = icon(23, 1);
        for (int y = 0; y < 27; ++y)
            QCOMPARE(upright.pixel(13, y), TrackColour);
        const QImage diagonal = icon(45, 1);
        for (int x = 0; x < 27; ++x)
            QCOMPARE(diagonal.pixel(x, 26 - x), TrackColour);
    }

    void shapesReachTheirConnectionPoints_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("points");
        // W, NW, N, NE, E, SE, S, SW: T track, A active, I inactive, - none.
        QTest::newRow("bend W-NE") << 2 << "T--T----";
        QTest::newRow("bend E-SW") << 5 << "----T--T";
        QTest::newRow("turnout state 1") << 6 << "A--IA---";
        QTest::newRow("three-way state 1") << 10 << "A--IAI--";
        QTest::newRow("crossing") << 12 << "T-T-T-T-";
        QTest::newRow("slip state 1") << 14 << "A--AA--A";
        QTest::newRow("buffer stop") << 19 << "----T---";
        QTest::newRow("quarter bend N-E") << 22 << "--T-T---";
        QTest::newRow("quarter bend E-S") << 43 << "----T-T-";
        QTest::newRow("quarter bend S-W") << 44 << "T-----T-";
        QTest::newRow("feedback N-S") << 87 << "--T---T-";
        QTest::newRow("route button") << 66 << "--------";
    }

    void shapesReachTheirConnectionPoints()
    {
        QFETCH(int, element);
        QFETCH(QString, points);
        const QHash<QChar, QRgb> colours{{'T', TrackColour}, {'A', ActiveColour},
                                         {'I', InactiveColour}, {'-', Background}};
        const QList<QRgb> found = connectionColours(icon(element, 1));
        for (int i = 0; i < 8; ++i)
            QVERIFY2(found[i] == colours[points[i]], qPrintable(QStringLiteral("point %1").arg(i)));
    }

    void turnedRowsAreRelabelledRow1Shapes()
    {
        for (int row = 1; row <= 3; ++row) {
            for (int k = 1; k <= 20; ++k) {
                for (int state : IconStates) {
                    const QList<QRgb> expected = connectionColours(icon(k, state), RowTurns[row - 1]);
                    const QList<QRgb> found = connectionColours(icon(22 * row + k, state));
                    QVERIFY2(found == expected,
                             qPrintable(QStringLiteral("element %1 state %2").arg(22 * row + k).arg(state)));
                }
            }
        }
    }

    void turnoutsShowTheSetDirection()
    {
        QCOMPARE(icon(6, 2).pixel(26, 13), InactiveColour);
        QCOMPARE(icon(6, 2).pixel(26, 0), ActiveColour);
        // Marked as a route, the set path is yellow, the other stays grey.
        QCOMPARE(icon(6, 12).pixel(26, 0), RouteYellow);
        QCOMPARE(icon(6, 12).pixel(26, 13), InactiveColour);
        QCOMPARE(icon(11, 3).pixel(0, 26), ActiveColour);
        QCOMPARE(icon(11, 3).pixel(0, 13), InactiveColour);
    }

    void signalsShowTheirAspectBesideTheTrack()
    {
        QVERIFY(contains(icon(15, 1), LampRed));
        QVERIFY(!contains(icon(15, 1), LampGreen));
        QVERIFY(contains(icon(15, 2), LampGreen));
        QVERIFY(!contains(icon(15, 2), LampRed));
        QCOMPARE(icon(15, 3), icon(15, 2));
        QVERIFY(contains(icon(17, 3), LampYellow));
        QVERIFY(contains(icon(17, 13), LampYellow));
        QVERIFY(contains(icon(16, 12), LampGreen));
        // On the right of the train: below the eastbound track, above the
        // westbound one, west of the turned track that runs southwards.
        QVERIFY(extent(icon(15, 1), LampRed).top() > 14);
        QVERIFY(extent(icon(16, 1), LampRed).bottom() < 11);
        QVERIFY(extent(icon(37, 1), LampRed).right() < 11);
        QVERIFY(extent(icon(38, 1), LampRed).left() > 14);
    }

    void routeMarksAreYellowOnEveryElement()
    {
        for (int element = 1; element <= 88; ++element) {
            for (int state : IconStates) {
                const bool marked = state > 10;
                QVERIFY2(contains(icon(element, state), RouteYellow) == marked,
                         qPrintable(IconName(element, state)));
            }
        }
    }

    void statesBeyondTheElementRepeatOrPress()
    {
        QCOMPARE(icon(1, 2), icon(1, 1));
        QCOMPARE(icon(1, 13), icon(1, 11));
        QCOMPARE(icon(14, 3), icon(14, 2));
        QVERIFY(icon(14, 2) != icon(14, 1));
        for (int element : {20, 42, 64, 86, 66, 88}) {
            QVERIFY2(icon(element, 2) != icon(element, 1), qPrintable(QString::number(element)));
            QVERIFY(icon(element, 12) != icon(element, 11));
            QCOMPARE(icon(element, 3), icon(element, 1));
            QCOMPARE(icon(element, 13), icon(element, 11));
        }
    }

    void feedbackContactsShowOccupiedInRed()
    {
        for (int element : {65, 87}) {
            QVERIFY(!contains(icon(element, 1), LampRed));
            QVERIFY(contains(icon(element, 2), LampRed));
            QCOMPARE(icon(element, 3), icon(element, 2));
            QVERIFY(contains(icon(element, 12), LampRed));
        }
    }

    // The program icon shows the plan's own pixels three times their size
    // inside a rounded frame, whatever colour table the file keeps them in.
    void programIconShowsElementIconsTripled()
    {
        const QImage programIcon = QImage(dataFile("velmo.png")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(programIcon.size(), QSize(256, 256));
        QCOMPARE(qAlpha(programIcon.pixel(0, 0)), 0);
        const QImage straight = icon(1, 1), turnout = icon(15, 1);
        for (int y = 0; y < 27; ++y)
            for (int x = 0; x < 27; ++x) {
                QCOMPARE(programIcon.pixel(6 + 3 * x + 2, 6 + 3 * y), straight.pixel(x, y));
                QCOMPARE(programIcon.pixel(87 + 3 * x, 87 + 3 * y + 2), turnout.pixel(x, y));
            }
        // The window's icon is the same picture at a quarter of its size.
        const QImage windowIcon = QImage(dataFile("velmo64.png"));
        QCOMPARE(windowIcon.size(), QSize(64, 64));
        QCOMPARE(windowIcon.convertToFormat(QImage::Format_ARGB32),
                 programIcon.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    void functionPicturesAreGreyWhenOffAndColouredWhenOn()
    {
        const auto coloured = [](const QImage &image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qRed(image.pixel(x, y)) != qGreen(image.pixel(x, y))
                        || qGreen(image.pixel(x, y)) != qBlue(image.pixel(x, y)))
                        return true;
            return false;
        };
        for (const char *symbol : {"func_", "hupe_", "kupplung_", "wagenlicht_", "licht_", "dampf_", "Func_"}) {
            const bool german = QByteArray(symbol).toLower() != "func_";
            const QString off = symbol + QString(german ? "aus.bmp" : "off.bmp");
            const QString on = symbol + QString(german ? "ein.bmp" : "on.bmp");
            QVERIFY2(!coloured(picture(off)), qPrintable(off));
            QVERIFY2(coloured(picture(on)), qPrintable(on));
        }
        QVERIFY(picture("Func_on.bmp") != picture("func_on.bmp"));
        QVERIFY(picture("Func_off.bmp") != picture("func_off.bmp"));
        QVERIFY(contains(picture("Func_on.bmp"), RouteYellow));

        // Most of an arrow's ink is in its head.
        const auto inkRightOfCentre = [](const QImage &image) {
            int balance = 0;
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x)
                    if (image.pixel(x, y) != Background && x != 7)
                        balance += x > 7 ? 1 : -1;
            return balance;
        };
        QVERIFY(inkRightOfCentre(picture("pfeil_re.bmp")) > 0);
        QVERIFY(inkRightOfCentre(picture("pfeil_li.bmp")) < 0);
    }
};

QTEST_GUILESS_MAIN(TestMakedata)
#include "test_makedata.moc"
