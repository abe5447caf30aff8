#pragma once

#include <QByteArrayView>
#include <QImage>

// Reads the bytes of an uncompressed 24-bit Windows bitmap with the plain
// 54-byte header (the format of every picture the program ships) into a
// 32-bit RGB image, exactly as Qt's own bitmap reader would. Any other file
// gives a null image, and the caller hands it to Qt's readers instead.
QImage LiesEinfacheBmp(QByteArrayView daten);
