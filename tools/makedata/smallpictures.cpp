#include "smallpictures.h"

#include "colours.h"

#include <QPainter>
#include <QPolygonF>

namespace {

constexpr int Size = 15;

// Off pictures use these greys only.
const QColor OffDark(96, 96, 96);
const QColor OffMid(150, 150, 150);
const QColor OffLight(210, 210, 210);

void outlined(QPainter &p, const QColor &line, const QColor &fill)
{
    p.setPen(QPen(line, 1));
    p.setBrush(fill);
}

// A plain "F" badge, the letter built from bars.
void drawFunctionBadge(QPainter &p, bool on)
{
    outlined(p, on ? QColor(0, 90, 0) : OffDark, on ? QColor(0, 150, 0) : OffMid);
    p.drawRoundedRect(QRectF(1.5, 1.5, 12, 12), 2.5, 2.5);
    const QColor letter = on ? QColor(255, 255, 255) : OffDark;
    p.fillRect(QRect(5, 4, 2, 8), letter);
    p.fillRect(QRect(5, 4, 6, 2), letter);
    p.fillRect(QRect(5, 7, 5, 2), letter);
}

// A horn flaring to the right; sounding, with waves in front of it.
void drawHorn(QPainter &p, bool on)
{
    outlined(p, on ? QColor(120, 80, 0) : OffDark, on ? QColor(230, 170, 30) : OffMid);
    p.drawPolygon(QPolygonF({{1.5, 6.5}, {4.5, 6.5}, {10.5, 2.5}, {10.5, 12.5}, {4.5, 8.5}, {1.5, 8.5}}));
    if (!on)
        return;
    p.setPen(QPen(QColor(200, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 4, 5, 7), -50 * 16, 100 * 16);
    p.drawArc(QRectF(8, 2, 6.5, 11), -50 * 16, 100 * 16);
}

// Two coupler heads hooked into each other.
void drawCoupler(QPainter &p, bool on)
{
    outlined(p, on ? QColor(0, 40, 120) : OffDark, on ? QColor(40, 110, 220) : OffMid);
    p.drawRect(QRectF(0.5, 6.5, 4, 2));
    p.drawRect(QRectF(10.5, 6.5, 4, 2));
    p.drawRect(QRectF(4.5, 3.5, 2, 6));
    p.drawRect(QRectF(8.5, 5.5, 2, 6));
    p.drawLine(QPointF(6.5, 3.5), QPointF(9, 3.5));
    p.drawLine(QPointF(6, 11.5), QPointF(8.5, 11.5));
}

// A coach with three windows, lit when on.
void drawCoachLighting(QPainter &p, bool on)
{
    outlined(p, on ? QColor(0, 60, 30) : OffDark, on ? QColor(0, 120, 60) : OffMid);
    p.drawRoundedRect(QRectF(0.5, 3.5, 14, 8), 1.5, 1.5);
    const QColor window = on ? QColor(255, 230, 0) : OffDark;
    for (int x : {2, 6, 10})
        p.fillRect(QRect(x, 5, 3, 3), window);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? QColor(30, 30, 30) : OffDark);
    p.drawEllipse(QPointF(4, 12.5), 1.5, 1.5);
    p.drawEllipse(QPointF(11, 12.5), 1.5, 1.5);
}

// A headlamp; when on it throws a yellow beam to the right, when off only
// the outline of the beam is drawn.
void drawHeadlight(QPainter &p, bool on)
{
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 225, 40));
        p.drawPolygon(QPolygonF({{6, 5}, {14.5, 1}, {14.5, 14}, {6, 10}}));
    } else {
        p.setPen(QPen(OffMid, 1));
        p.drawLine(QPointF(7, 4.5), QPointF(14, 1.5));
        p.drawLine(QPointF(7.5, 7.5), QPointF(14, 7.5));
        p.drawLine(QPointF(7, 10.5), QPointF(14, 13.5));
    }
    outlined(p, on ? QColor(100, 70, 0) : OffDark, on ? QColor(255, 200, 0) : OffMid);
    p.drawChord(QRectF(1.5, 3.5, 8, 8), 90 * 16, 180 * 16);
    p.drawLine(QPointF(5.5, 3.5), QPointF(5.5, 11.5));
}

// A chimney blowing clouds of steam.
void drawSteam(QPainter &p, bool on)
{
    outlined(p, on ? QColor(70, 100, 160) : OffDark, on ? QColor(255, 255, 255) : OffLight);
    p.drawEllipse(QPointF(5, 5.5), 2.5, 2.5);
    p.drawEllipse(QPointF(9.5, 3.5), 3, 3);
    p.drawEllipse(QPointF(11.5, 7.5), 2.5, 2.5);
    outlined(p, on ? QColor(40, 0, 0) : OffDark, on ? QColor(150, 30, 30) : OffMid);
    p.drawRect(QRectF(3.5, 9.5, 6, 2));
    p.drawRect(QRectF(4.5, 11.5, 4, 3));
}

// The F0 light: three lamps in a triangle.
void drawThreeDots(QPainter &p, bool on)
{
    outlined(p, on ? QColor(120, 90, 0) : OffDark, on ? Colour::RouteMark : OffMid);
    p.drawEllipse(QPointF(7.5, 4), 2.5, 2.5);
    p.drawEllipse(QPointF(3.5, 10.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 10.5), 2.5, 2.5);
}

const QColor ArrowRed(200, 0, 0);

void drawArrowRight(QPainter &p)
{
    outlined(p, QColor(100, 0, 0), ArrowRed);
    p.drawPolygon(QPolygonF({{1, 6}, {8, 6}, {8, 2.5}, {14, 7.5}, {8, 12.5}, {8, 9}, {1, 9}}));
}

void drawArrowLeft(QPainter &p)
{
    p.setTransform(QTransform().translate(Size, 0).scale(-1, 1));
    drawArrowRight(p);
}

void drawDoubleArrow(QPainter &p)
{
    outlined(p, QColor(100, 0, 0), ArrowRed);
    p.drawPolygon(QPolygonF({{1, 7.5}, {5, 3}, {5, 6}, {10, 6}, {10, 3}, {14, 7.5}, {10, 12}, {10, 9}, {5, 9}, {5, 12}}));
}

template <typename Draw>
QImage picture(Draw draw)
{
    QImage image(Size, Size, QImage::Format_RGB32);
    image.fill(Colour::Background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

} // namespace

QList<SmallPicture> smallPictures()
{
    struct Pair
    {
        const char *off;
        const char *on;
        void (*draw)(QPainter &, bool);
    };
    const Pair pairs[] = {
        {"func_off.bmp", "func_on.bmp", drawFunctionBadge},
        {"hupe_aus.bmp", "hupe_ein.bmp", drawHorn},
        {"kupplung_aus.bmp", "kupplung_ein.bmp", drawCoupler},
        {"wagenlicht_aus.bmp", "wagenlicht_ein.bmp", drawCoachLighting},
        {"licht_aus.bmp", "licht_ein.bmp", drawHeadlight},
        {"dampf_aus.bmp", "dampf_ein.bmp", drawSteam},
        {"Func_off.bmp", "Func_on.bmp", drawThreeDots},
    };
    QList<SmallPicture> pictures;
    for (const Pair &pair : pairs) {
        pictures.append({pair.off, picture([&](QPainter &p) { pair.draw(p, false); })});
        pictures.append({pair.on, picture([&](QPainter &p) { pair.draw(p, true); })});
    }
    pictures.append({"pfeil_dop.bmp", picture(drawDoubleArrow)});
    pictures.append({"pfeil_re.bmp", picture(drawArrowRight)});
    pictures.append({"pfeil_li.bmp", picture(drawArrowLeft)});
    return pictures;
}
