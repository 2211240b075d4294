#include "content/OwnPictureFile.h"

#include "app/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

namespace {

const QString kUnreadable =
    QStringLiteral("Tego pliku nie można odczytać jako obrazka. Program przyjmuje obrazki "
                   "JPEG, PNG, WebP, BMP i SVG.");

// Turns the picture as the EXIF orientation asks: a mirror or flip first,
// then a quarter turn clockwise (or three quarters).
QImage Upright(QImage image, QImageIOHandler::Transformations t)
{
    if (t == QImageIOHandler::TransformationNone)
        return image;
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(t & QImageIOHandler::TransformationMirror,
                                      t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// The size at which to draw a drawing of `natural` size so that it covers
// `atLeast` with its proportions kept.
QSize DrawingSize(QSize natural, QSize atLeast)
{
    if (natural.isEmpty())
        return atLeast;
    return natural.scaled(atLeast, Qt::KeepAspectRatioByExpanding);
}

} // namespace

QString OwnPictureFile::FileFilter()
{
    return QStringLiteral("Obrazki (*.jpg *.jpeg *.png *.webp *.bmp *.svg);;Wszystkie pliki (*)");
}

bool OwnPictureFile::Load(const QString& path, QSize atLeast, QImage* out, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("Nie można otworzyć pliku \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return LoadData(file.readAll(), atLeast, out, error);
}

bool OwnPictureFile::LoadData(const QByteArray& data, QSize atLeast, QImage* out, QString* error)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    const QImageIOHandler::Transformations turn = reader.transformation();
    const bool quarter = turn & QImageIOHandler::TransformationRotate90;
    QImage image;
    if (format == "jpeg") {
        // Decoded the other way round when it is to be turned a quarter.
        const QSize need = quarter ? atLeast.transposed() : atLeast;
        if (!JpegDecoder::DecodeScaled(data, need, &image))
            image = QImage(); // CMYK and the like: Qt's reader below
    } else if (format == "svg" || format == "svgz") {
        reader.setScaledSize(DrawingSize(reader.size(), atLeast));
    }
    if (image.isNull() && !format.isEmpty()) {
        buffer.seek(0);
        QImageReader again(&buffer, format);
        again.setAutoTransform(false);
        if (format == "svg" || format == "svgz")
            again.setScaledSize(reader.scaledSize());
        again.read(&image);
    }
    if (image.isNull() || image.width() < 2 || image.height() < 2) {
        *error = kUnreadable;
        return false;
    }
    if (image.hasAlphaChannel()) {
        // Transparent parts of a drawing are shown on white, as on paper.
        QImage flat(image.size(), QImage::Format_RGB888);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        image = std::move(flat);
    }
    *out = Upright(std::move(image), turn);
    return true;
}
