#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A paint box over an image of its own size: the program draws into Bild at
// any time and calls Zeigen(); the paint event only copies Bild to the screen.
// When the size changes the image is made anew and NeuZeichnen refills it.
// Enlarged by a whole factor, the box shows every pixel of Bild as a square
// block (Bild is then that much smaller than the box), and its mouse
// signals carry the pixel of Bild under the pointer.
class TBildFlaeche : public QWidget
{
    Q_OBJECT
public:
    explicit TBildFlaeche(QWidget *parent, const QString &name);

    QImage Bild;
    std::function<void()> NeuZeichnen;
    // The tooltip at a point of the box; none where it gives an empty text.
    std::function<QString(QPoint)> Tipp;

    // Brings the whole image, or only the rectangle r of it, to the screen.
    // Rectangles shown one after the other (a plan of many cells being
    // drawn) are gathered and brought to the screen together once the event
    // loop runs again.
    void Zeigen() { update(); }
    void Zeigen(const QRect &r);
    // Red frames drawn over the image on the screen only (cells whose
    // command the server refused); they never enter Bild.
    void RahmenSetzen(const QList<QRect> &rahmen);
    const QList<QRect> &Rahmen() const { return Markiert; }
    // Thin lines drawn over the image on the screen only, in screen pixels.
    void LinienSetzen(const QList<QLine> &linien);

    // Enlarges the box's picture f times; Bild is made anew for it and
    // NeuZeichnen refills it.
    void FaktorSetzen(int f);
    int Faktor() const { return Vergroesserung; }
    // The size of Bild for the box's size.
    QSize BildGroesse() const;

signals:
    void MausGedrueckt(QMouseEvent *event);
    void MausBewegt(QMouseEvent *event);
    void MausLosgelassen(QMouseEvent *event);
    void ErstesMalGezeigt();
    void MausVerlassen();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // The event at the pixel of Bild under the pointer.
    QMouseEvent ImBild(const QMouseEvent &event) const;
    void BildAnlegen();
    int Vergroesserung = 1;
    QList<QLine> Gitter;
    bool Gemalt = false;
    QRect Ausstehend;
    QList<QRect> Markiert;
};
