#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// The program's own formats, as the material step writes them. Each throws
// DataBuildError on failure.

// A sound in its scrambled ".wv" form.
QByteArray ScrambleSound(const QByteArray& wave);
QByteArray UnscrambleSound(const QByteArray& wv);
// Puts a plain MPEG film file into its scrambled form, in place.
void ScrambleFilm(const QString& path);
// Undoes ScrambleFilm (for checks).
void UnscrambleFilm(const QString& path);
// A new, empty content database with its three tables; `path` must not exist.
void CreateEmptyContentDatabase(const QString& path);
// A photo archive: image i at index i, JPEG.
void SavePhotoArchive(const QString& path, const QList<QImage>& photos, int jpegQuality);
