#include "Velmo/Plandruck.h"

#include "hilfen/fehler.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double TitelPunkte = 12;
constexpr double TextPunkte = 8;
// The plan picture goes onto the page enlarged pixel by pixel to about this
// many pixels per inch, so that no viewer or printer smooths its edges when
// it scales it to its own resolution.
constexpr double BildpunkteJeZoll = 300;
constexpr int GroessteVergroesserung = 4;

QFont Schrift(double punkte, bool fett)
{
    QFont schrift;
    schrift.setPointSizeF(punkte);
    schrift.setBold(fett);
    return schrift;
}

// A title line: the text on the left, the page on the right; returns the
// height it took.
double Titelzeile(QPainter &p, double breite, const QString &text, const QString &seite)
{
    const QFont schrift = Schrift(TitelPunkte, true);
    const QFontMetricsF fm(schrift, p.device());
    p.setFont(schrift);
    p.drawText(QPointF(0, fm.ascent()), text);
    if (!seite.isEmpty())
        p.drawText(QPointF(breite - fm.horizontalAdvance(seite), fm.ascent()), seite);
    return fm.lineSpacing() * 1.5;
}

void PlanSeite(QPainter &p, const QImage &plan, const QString &planName)
{
    const double breite = p.device()->width();
    const double oben = Titelzeile(p, breite, QStringLiteral("Gleisbild %1").arg(planName), {});
    // Whole device pixels per plan pixel where the page has room for them.
    const double passt = std::min(breite / plan.width(), (p.device()->height() - oben) / plan.height());
    const double je = passt >= 1 ? std::floor(passt) : passt;
    const double zoll = plan.width() * je / p.device()->logicalDpiX();
    const int faktor = std::clamp(int(std::ceil(BildpunkteJeZoll * zoll / plan.width())), 1, GroessteVergroesserung);
    const QImage gross = plan.scaled(plan.size() * faktor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QSizeF groesse(plan.width() * je, plan.height() * je);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A PDF keeps the picture losslessly compressed, never as JPEG.
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(QRectF(QPointF((breite - groesse.width()) / 2, oben), groesse), gross);
}

// The sheet's fonts and columns, fitted to the page width.
struct Tabelle
{
    QFont Text;
    QFont Kopf;
    std::array<double, SchaltplanFelder> Links {};
    double Zeilenhoehe = 0;
    double Grundlinie = 0;
};

Tabelle TabelleAnlegen(const QPaintDevice *geraet, const QList<SchaltplanZeile> &zeilen)
{
    Tabelle t {Schrift(TextPunkte, false), Schrift(TextPunkte, true)};
    std::array<double, SchaltplanFelder> breiten {};
    const QFontMetricsF text(t.Text, geraet);
    const QFontMetricsF kopf(t.Kopf, geraet);
    for (int f = 0; f < SchaltplanFelder; ++f)
        breiten[f] = kopf.horizontalAdvance(SchaltplanKopf()[f]);
    for (const SchaltplanZeile &zeile : zeilen)
        for (int f = 0; f < SchaltplanFelder; ++f)
            if (!zeile[f].isEmpty())
                breiten[f] = std::max(breiten[f], text.horizontalAdvance(zeile[f]));
    // A column is as wide as its widest text and a gap.
    double summe = 0;
    for (double &b : breiten) {
        b += text.height();
        summe += b;
    }
    // Text widths grow with the font size, so a sheet wider than the page
    // is set in a smaller font.
    const double mass = std::min(1.0, geraet->width() / summe);
    t.Text.setPointSizeF(TextPunkte * mass);
    t.Kopf.setPointSizeF(TextPunkte * mass);
    double links = 0;
    for (int f = 0; f < SchaltplanFelder; ++f) {
        t.Links[f] = links;
        links += breiten[f] * mass;
    }
    const QFontMetricsF klein(t.Text, geraet);
    t.Zeilenhoehe = klein.lineSpacing() * 1.2;
    t.Grundlinie = klein.ascent() + klein.lineSpacing() * 0.1;
    return t;
}

qsizetype Zellenlaenge(const QList<SchaltplanZeile> &zeilen, qsizetype i)
{
    qsizetype ende = i + 1;
    while (ende < zeilen.size() && zeilen[ende][SpSpalte].isEmpty())
        ++ende;
    return ende - i;
}

// The first line of every sheet page: a cell starts on a new page when the
// rest of the page cannot hold all its lines, unless it needs more than a
// page. A sheet without lines still has its page.
QList<qsizetype> Seitenanfaenge(const QList<SchaltplanZeile> &zeilen, int jeSeite)
{
    QList<qsizetype> anfaenge;
    qsizetype belegt = 0;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        bool umbruch = anfaenge.isEmpty() || belegt >= jeSeite;
        if (!umbruch && !zeilen[i][SpSpalte].isEmpty())
            umbruch = belegt + Zellenlaenge(zeilen, i) > jeSeite;
        if (umbruch) {
            anfaenge.append(i);
            belegt = 0;
        }
        ++belegt;
    }
    if (anfaenge.isEmpty())
        anfaenge.append(0);
    return anfaenge;
}

void Zeile(QPainter &p, const Tabelle &t, double y, const SchaltplanZeile &zeile)
{
    for (int f = 0; f < SchaltplanFelder; ++f)
        if (!zeile[f].isEmpty())
            p.drawText(QPointF(t.Links[f], y + t.Grundlinie), zeile[f]);
}

void Blattseite(QPainter &p, const Tabelle &t, const QString &titel, const QString &seite,
                const QList<SchaltplanZeile> &zeilen, qsizetype von, qsizetype bis)
{
    const double breite = p.device()->width();
    double y = Titelzeile(p, breite, titel, seite);
    p.setFont(t.Kopf);
    Zeile(p, t, y, SchaltplanKopf());
    y += t.Zeilenhoehe;
    p.drawLine(QPointF(0, y), QPointF(breite, y));
    p.setFont(t.Text);
    if (zeilen.isEmpty())
        p.drawText(QPointF(0, y + t.Grundlinie), QStringLiteral("Das Gleisbild hat keine schaltbaren Zellen."));
    for (qsizetype i = von; i < bis; ++i) {
        if (i > von && !zeilen[i][SpSpalte].isEmpty())
            p.drawLine(QPointF(0, y), QPointF(breite, y));
        Zeile(p, t, y, zeilen[i]);
        y += t.Zeilenhoehe;
    }
}

[[noreturn]] void Druckfehler(const QString &planName)
{
    throw VelmoFehler(QStringLiteral("Das Gleisbild %1 kann nicht gedruckt werden.").arg(planName));
}

} // namespace

int PlanDrucken(QPagedPaintDevice &geraet, const QImage &plan, const QString &planName,
                const QList<SchaltplanZeile> &zeilen)
{
    QPainter p;
    if (!p.begin(&geraet))
        Druckfehler(planName);
    PlanSeite(p, plan, planName);

    const Tabelle t = TabelleAnlegen(&geraet, zeilen);
    const double titel = QFontMetricsF(Schrift(TitelPunkte, true), &geraet).lineSpacing() * 1.5;
    const int jeSeite = std::max(1, int((geraet.height() - titel) / t.Zeilenhoehe) - 1);
    const QList<qsizetype> anfaenge = Seitenanfaenge(zeilen, jeSeite);
    const int seiten = 1 + int(anfaenge.size());
    const QString ueberschrift = SchaltplanTitel(planName);
    // Lines of half a point.
    QPen linie = p.pen();
    linie.setWidthF(geraet.logicalDpiX() / 144.0);
    p.setPen(linie);
    for (qsizetype s = 0; s < anfaenge.size(); ++s) {
        if (!geraet.newPage())
            Druckfehler(planName);
        Blattseite(p, t, ueberschrift, QStringLiteral("Seite %1 von %2").arg(s + 2).arg(seiten), zeilen, anfaenge[s],
                   s + 1 < anfaenge.size() ? anfaenge[s + 1] : zeilen.size());
    }
    if (!p.end())
        Druckfehler(planName);
    return seiten;
}

QByteArray PlanAlsPdf(const QImage &plan, const QString &planName, const QList<SchaltplanZeile> &zeilen, int *seiten)
{
    QByteArray pdf;
    QBuffer puffer(&pdf);
    puffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&puffer);
        writer.setResolution(int(BildpunkteJeZoll));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Gleisbild %1").arg(planName));
        writer.setCreator(QStringLiteral("Velmo"));
        const int n = PlanDrucken(writer, plan, planName, zeilen);
        if (seiten)
            *seiten = n;
    }
    return pdf;
}
