#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A paint box over an image of its own size: the program draws into Bild at
// any time and calls Zeigen(); the paint event only copies Bild to the screen.
// When the size changes the image is made anew and NeuZeichnen refills it.
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

signals:
    void MausGedrueckt(QMouseEvent *event);
    void MausBewegt(QMouseEvent *event);
    void MausLosgelassen(QMouseEvent *event);
    void ErstesMalGezeigt();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool Gemalt = false;
    QRect Ausstehend;
    QList<QRect> Markiert;
};
