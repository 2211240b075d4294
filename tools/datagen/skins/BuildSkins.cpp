#include "DataBuild.h"
#include "SkinArt.h"
#include "SkinMap.h"
#include "SkinSheets.h"

#include <QFile>
#include <QFontInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "CBitmapsContainerWriter.h"

namespace {
const SkinFile kFiles[3] = {SkinFile::Grwin, SkinFile::Bttofa, SkinFile::Cextb};

QStringList Outputs(const DataBuildContext& ctx)
{
    QStringList out;
    for (SkinFile f : kFiles)
        out << ctx.dataPath(SkinFileName(f));
    out << ctx.dataPath("sp.b");
    return out;
}

QString StampPath(const DataBuildContext& ctx)
{
    return ctx.work.filePath("skins/stamp");
}

bool UpToDate(const DataBuildContext& ctx)
{
    if (ctx.force)
        return false;
    QFile stamp(StampPath(ctx));
    if (!stamp.open(QIODevice::ReadOnly) ||
        stamp.readAll().trimmed() != QByteArray::number(SkinPainterVersion))
        return false;
    for (const QString& path : Outputs(ctx))
        if (!QFile::exists(path))
            return false;
    return true;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw DataBuildError("skins: cannot write " + path);
}

void WriteSplash(const DataBuildContext& ctx)
{
    const QString path = ctx.dataPath("sp.b");
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw DataBuildError("skins: cannot write " + path);
    QImageWriter writer(&f, "jpeg");
    writer.setQuality(92);
    if (!writer.write(PaintSplash()) || !f.commit())
        throw DataBuildError("skins: cannot write the splash picture: " + writer.errorString());
}

void WriteContainer(const DataBuildContext& ctx, SkinFile file, const SkinImageSet& images)
{
    CBitmapsContainerWriter writer;
    for (const SkinIndexRow& row : SkinIndexRows(file)) {
        const bool jpeg = row.item->jpeg && row.role != "mask";
        writer.Set(row.index, images.at(row.index),
                   jpeg ? CBitmapsContainerWriter::Encoding::Jpeg
                        : CBitmapsContainerWriter::Encoding::Bmp,
                   92);
    }
    QString error;
    const QString path = ctx.dataPath(SkinFileName(file));
    if (!writer.Save(path, &error))
        throw DataBuildError("skins: cannot write " + path + ": " + error);
    Progress(
        QString("skins: wrote Data/%1 (%2 images)").arg(SkinFileName(file)).arg(images.size()));
}
} // namespace

void BuildSkins(const DataBuildContext& ctx)
{
    if (UpToDate(ctx)) {
        Progress("skins: up to date");
        return;
    }
    ctx.work.mkpath("skins");
    Progress("skins: painting with the font " + QFontInfo(SkinArt::Font(20)).family());
    const std::map<SkinFile, SkinImageSet> all = PaintAllSkins();
    for (SkinFile f : kFiles) {
        for (bool big : {true, false}) {
            const QString name = QString("skins/sheet_%1_%2.png")
                                     .arg(SkinFileName(f).section('.', 0, 0))
                                     .arg(big ? "1280" : "1024");
            if (!ContactSheet(f, big, all.at(f)).save(ctx.work.filePath(name)))
                throw DataBuildError("skins: cannot write " + ctx.work.filePath(name));
        }
    }
    // Every image on its own too, for looking at one at full size.
    ctx.work.mkpath("skins/images");
    for (SkinFile f : kFiles)
        for (const auto& [index, image] : all.at(f))
            image.save(ctx.work.filePath(QString("skins/images/%1_%2.png")
                                             .arg(SkinFileName(f).section('.', 0, 0))
                                             .arg(index, 3, 10, QChar('0'))));
    WriteFile(ctx.work.filePath("skins/skins.md"), SkinMapMarkdown().toUtf8());
    Progress("skins: contact sheets in " + ctx.work.filePath("skins"));
    WriteSplash(ctx);
    Progress("skins: wrote Data/sp.b");
    for (SkinFile f : kFiles)
        WriteContainer(ctx, f, all.at(f));
    WriteFile(StampPath(ctx), QByteArray::number(SkinPainterVersion));
}
