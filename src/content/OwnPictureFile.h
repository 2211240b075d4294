#pragma once
#include <QImage>
#include <QSize>
#include <QString>

// Reading the therapist's pictures: JPEG, PNG, WebP, BMP or SVG of any size,
// turned upright as their EXIF orientation says. A big JPEG is decoded at a
// reduced size by libjpeg-turbo, a drawing (SVG) drawn at the size needed:
// the picture comes back no smaller than `atLeast` where the file allows.
namespace OwnPictureFile {

// The file filter of the open-file window.
QString FileFilter();
// False with *error (a message for the therapist) when the file cannot be
// read as a picture.
bool Load(const QString& path, QSize atLeast, QImage* out, QString* error);
bool LoadData(const QByteArray& data, QSize atLeast, QImage* out, QString* error);

} // namespace OwnPictureFile
