#include "BuildStamps.h"
#include "DataBuild.h"
#include "EmojiLibrary.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"
#include "ProcessPool.h"

// The therapy material: the content database, the photo archives, the speech
// and the films, made from data/ and redone only where a source changed.
void BuildMaterial(const DataBuildContext& ctx)
{
    const MaterialSources sources = ReadMaterialSources(ctx.source.path());
    const QStringList problems = CheckMaterialSources(sources);
    if (!problems.isEmpty())
        throw DataBuildError("the material's sources have problems:\n  " + problems.join("\n  "));
    const QString icons = EnsureEmojiIcons(ctx.work.path());
    const QStringList missing = CheckPictures(sources, icons);
    if (!missing.isEmpty())
        throw DataBuildError("missing pictures:\n  " + missing.join("\n  "));

    BuildStamps stamps(ctx.work.filePath("material.stamps"));
    EmojiLibrary emoji(icons);
    ProcessPool pool(2);
    MaterialJob job{ctx, sources, stamps, emoji, pool};
    try {
        BuildContentDatabase(job);
        BuildPhotoArchives(job);
        BuildSpeech(job);
        BuildFilms(job);
        BuildContactSheets(job);
    } catch (...) {
        stamps.Save(); // keep what was finished
        throw;
    }
    stamps.Save();
}
