#pragma once
#include <QByteArray>
#include <QImage>

// Decodes a JPEG file held in memory with libjpeg-turbo. Colour pictures come
// out as Format_BGR888, grey ones as Format_Grayscale8. A damaged stream gives
// false (and a null image), never an exit of the program.
bool DecodeJpeg(const QByteArray& bytes, QImage& out);
