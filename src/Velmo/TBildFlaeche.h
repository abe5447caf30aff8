#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A paint box that shows a part of an image it does not own: the program
// draws into that image at any time and calls Zeigen(); the paint event only
// copies the part from the origin on to the screen, and the ground colour
// where the image ends. Holding no picture of its own, the box costs no
// memory beside the image it shows. Enlarged by a whole factor, the box
// shows every pixel of the image as a square block, and its mouse signals
// carry the pixel of the shown part under the pointer.
class TBildFlaeche : public QWidget
{
    Q_OBJECT
public:
    explicit TBildFlaeche(QWidget *parent, const QString &name);

    // The box shows quelle from the origin on; where quelle ends, grund.
    // quelle must outlive the box.
    void QuelleSetzen(const QImage *quelle, const QColor &grund);
    // The pixel of the image shown at the box's top left.
    void UrsprungSetzen(QPoint ursprung);
    // Called when the box's size or factor changed, so that its owner can
    // draw the image and the overlays for the new size.
    std::function<void()> NeuZeichnen;
    // The tooltip at a point of the box; none where it gives an empty text.
    std::function<QString(QPoint)> Tipp;

    // Brings the whole shown part, or only the rectangle r of it (counted
    // from the origin), to the screen.
    // Rectangles shown one after the other (a plan of many cells being
    // drawn) are gathered and brought to the screen together once the event
    // loop runs again.
    void Zeigen() { update(); }
    void Zeigen(const QRect &r);
    // Red frames drawn over the image on the screen only (cells whose
    // command the server refused); they never enter the image.
    void RahmenSetzen(const QList<QRect> &rahmen);
    const QList<QRect> &Rahmen() const { return Markiert; }
    // Thin lines drawn over the image on the screen only, in screen pixels.
    void LinienSetzen(const QList<QLine> &linien);

    // Enlarges the box's picture f times; NeuZeichnen is called for it.
    void FaktorSetzen(int f);
    int Faktor() const { return Vergroesserung; }
    // The size of the part of the image the box shows.
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
    // The event at the pixel of the shown part under the pointer.
    QMouseEvent ImBild(const QMouseEvent &event) const;
    void Geaendert();
    const QImage *Quelle = nullptr;
    QColor Grund;
    QPoint Ursprung;
    int Vergroesserung = 1;
    QList<QLine> Gitter;
    bool Gemalt = false;
    QRect Ausstehend;
    QList<QRect> Markiert;
};
