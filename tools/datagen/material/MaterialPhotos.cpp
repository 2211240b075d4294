#include "BuildStamps.h"
#include "DataBuild.h"
#include "EmojiLibrary.h"
#include "MaterialDeps.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"
#include "PhotoSize.h"

namespace {

const QString PhotoVersion = "photos 1";
constexpr int PhotoQuality = 90;

} // namespace

void BuildPhotoArchives(MaterialJob& job)
{
    struct Archive
    {
        const char* name;
        QSize size;
    };
    for (const Archive& archive :
         {Archive{"zdjar3.bb", PhotoSize1024}, Archive{"zdjar5.bb", PhotoSize1280}}) {
        const QString path = job.ctx.dataPath(archive.name);
        QStringList texts{PhotoVersion, EmojiPackage, QString::number(archive.size.width()),
                          QString::number(archive.size.height()), QString::number(PhotoQuality)};
        for (const SourceWord& w : job.sources.Words)
            texts << w.Picture;
        const QByteArray hash = BuildStamps::Hash(texts);
        if (!job.ctx.force && job.stamps.UpToDate(path, hash)) {
            Progress(QString("material: %1 up to date").arg(archive.name));
            continue;
        }
        QList<QImage> photos;
        for (const SourceWord& w : job.sources.Words)
            photos << job.emoji.RenderPhoto(w.Picture, archive.size);
        SavePhotoArchive(path, photos, PhotoQuality);
        job.stamps.Record(path, hash);
        Progress(QString("material: %1: %2 photographs %3x%4")
                     .arg(archive.name)
                     .arg(photos.size())
                     .arg(archive.size.width())
                     .arg(archive.size.height()));
    }
}
