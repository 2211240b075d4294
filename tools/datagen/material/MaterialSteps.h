#pragma once
#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>

struct DataBuildContext;
struct MaterialSources;
struct SourceAction;
class BuildStamps;
class EmojiLibrary;
class ProcessPool;

// What every part of the material step works with.
struct MaterialJob
{
    const DataBuildContext& ctx;
    const MaterialSources& sources;
    BuildStamps& stamps;
    EmojiLibrary& emoji;
    ProcessPool& pool;
};

// Films: 4 s at 25 frames a second, small enough for a quick build.
inline constexpr int FilmFrames = 100;
inline constexpr int FilmFps = 25;
inline constexpr QSize FilmSize{320, 240};

void BuildContentDatabase(MaterialJob& job); // Data/sdrow.qp
void BuildPhotoArchives(MaterialJob& job);   // Data/zdjar3.bb, Data/zdjar5.bb
void BuildSpeech(MaterialJob& job);          // Data/ws, dws, ps, as, sp, dml
void BuildFilms(MaterialJob& job);           // Data/asm, Data/asmgr
void BuildContactSheets(MaterialJob& job);   // <work>/contact-words.png, contact-films.png

// One frame of an activity's film, drawn from its recipe.
QImage RenderFilmFrame(const SourceAction& action, int frame, QSize size, EmojiLibrary& emoji);

// Removes the files matching `pattern` in Data/<folder> that are not in `keep`
// (paths): the material step owns these folders, so what a source no longer
// names goes. Returns how many were removed.
int PruneDataFolder(const DataBuildContext& ctx, const QString& folder, const QString& pattern,
                    const QSet<QString>& keep);

// The human recording that replaces synthesis for a sound key ("ws/KOT"), if any.
QString VoiceOverride(const QString& sourceDir, const QString& key);
