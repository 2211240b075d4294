#include "MaterialDeps.h"

#include "DataBuild.h"

#if __has_include("content/ContentScramble.h")
#include "content/ContentScramble.h"
#define LOQUENA_HAVE_SCRAMBLE 1
#endif
#if __has_include("platform/DatabaseSchema.h")
#include "platform/DatabaseSchema.h"
#define LOQUENA_HAVE_SCHEMA 1
#endif
#if __has_include("CBitmapsContainerWriter.h")
#include "CBitmapsContainerWriter.h"
#define LOQUENA_HAVE_BCWRITER 1
#endif

#include <exception>

namespace {

[[noreturn, maybe_unused]] void Missing(const char* what)
{
    throw DataBuildError(QString("this build has no %1 yet").arg(what));
}

} // namespace

QByteArray ScrambleSound(const QByteArray& wave)
{
#ifdef LOQUENA_HAVE_SCRAMBLE
    return ScrambleWv(wave);
#else
    Q_UNUSED(wave);
    Missing("sound scrambler");
#endif
}

QByteArray UnscrambleSound(const QByteArray& wv)
{
#ifdef LOQUENA_HAVE_SCRAMBLE
    return UnscrambleWv(wv);
#else
    Q_UNUSED(wv);
    Missing("sound scrambler");
#endif
}

void ScrambleFilm(const QString& path)
{
#ifdef LOQUENA_HAVE_SCRAMBLE
    if (!ScrambleFilmFile(path))
        throw DataBuildError("cannot scramble the film " + path);
#else
    Q_UNUSED(path);
    Missing("film scrambler");
#endif
}

void UnscrambleFilm(const QString& path)
{
#ifdef LOQUENA_HAVE_SCRAMBLE
    if (!UnscrambleFilmFile(path))
        throw DataBuildError("cannot unscramble the film " + path);
#else
    Q_UNUSED(path);
    Missing("film scrambler");
#endif
}

void CreateEmptyContentDatabase(const QString& path)
{
#ifdef LOQUENA_HAVE_SCHEMA
    try {
        if (!CreateContentDatabase(path))
            throw DataBuildError("cannot create " + path + ": the file exists");
    } catch (const DataBuildError&) {
        throw;
    } catch (const std::exception& e) {
        throw DataBuildError(QString("cannot create %1: %2").arg(path, e.what()));
    }
#else
    Q_UNUSED(path);
    Missing("content database schema");
#endif
}

void SavePhotoArchive(const QString& path, const QList<QImage>& photos, int jpegQuality)
{
#ifdef LOQUENA_HAVE_BCWRITER
    CBitmapsContainerWriter writer;
    for (int i = 0; i < photos.size(); ++i)
        writer.Set(i, photos[i], CBitmapsContainerWriter::Encoding::Jpeg, jpegQuality);
    QString error;
    if (!writer.Save(path, &error))
        throw DataBuildError("cannot write " + path + ": " + error);
#else
    Q_UNUSED(path);
    Q_UNUSED(photos);
    Q_UNUSED(jpegQuality);
    Missing("bitmap container writer");
#endif
}
