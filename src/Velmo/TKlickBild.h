#pragma once

#include <QLabel>

// A picture the user presses: it shows an image at its natural size from
// the top left corner, reports every press with its button and a left
// click (press and release inside) on its own.
class TKlickBild : public QLabel
{
    Q_OBJECT
public:
    TKlickBild(QWidget *parent, const QString &name, QRect platz);

    // Shows bild; a null image clears the picture.
    void Zeigen(const QImage &bild);
    // The image shown; null when the picture is empty.
    QImage Bild() const { return Gezeigt; }

signals:
    void Gedrueckt(Qt::MouseButton taste);
    void Geklickt();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage Gezeigt;
};
