#include "BuildStamps.h"
#include "DataBuild.h"
#include "MaterialDeps.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"
#include "MaterialWave.h"
#include "ProcessPool.h"
#include "SpeechText.h"
#include "platform/CWaveImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Slower than espeak-ng's default: the listeners have aphasia.
const QStringList EspeakOptions = {"-v", "pl", "-s", "140", "-g", "4"};
const QString SpeechVersion = "speech 1";

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DataBuildError("cannot write " + path);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataBuildError("cannot read " + path);
    return file.readAll();
}

// Checks a sound before it goes into Data/, then scrambles and writes it. The
// check is the program's own: a file the program would refuse to play (24-bit
// samples, more than two channels, sizes left unfilled by a recorder that
// wrote to a pipe) must stop the build, not be left silent in a therapy.
void InstallSound(const QString& key, const QByteArray& wave, const QString& from,
                  const QString& out)
{
    CWaveImage image;
    if (!image.Parse(wave.constData(), wave.size()))
        throw DataBuildError(QString("%1: %2 is not a WAVE file the program can play (PCM, 8 or "
                                     "16 bits, mono or stereo, complete)")
                                 .arg(key, from));
    const double seconds = double(image.Frames()) / image.Rate();
    if (seconds < 0.2)
        throw DataBuildError(
            QString("%1: %2 lasts only %3 s").arg(key, from).arg(seconds, 0, 'f', 2));
    WriteFile(out, ScrambleSound(wave));
}

} // namespace

int PruneDataFolder(const DataBuildContext& ctx, const QString& folder, const QString& pattern,
                    const QSet<QString>& keep)
{
    int removed = 0;
    const QDir dir(ctx.dataPath(folder));
    for (const QString& name : dir.entryList({pattern, "*.part"}, QDir::Files)) {
        const QString path = dir.filePath(name);
        if (!keep.contains(path) && QFile::remove(path))
            ++removed;
    }
    return removed;
}

QString VoiceOverride(const QString& sourceDir, const QString& key)
{
    const QString path = sourceDir + "/voice/" + key + ".wav";
    return QFileInfo::exists(path) ? path : QString();
}

void BuildSpeech(MaterialJob& job)
{
    const QString sourceDir = job.ctx.source.path();
    const QList<SpeechItem> items = SpeechItems(job.sources);
    int made = 0, recorded = 0;
    QSet<QString> outputs;
    for (const SpeechItem& item : items) {
        const QString out = job.ctx.dataPath(item.Key + ".wv");
        outputs.insert(out);
        const QString voice = VoiceOverride(sourceDir, item.Key);
        const QStringList recipe = {SpeechVersion, EspeakOptions.join(' '), item.Text,
                                    QString::number(item.Tone.size()), voice};
        QStringList toneText;
        for (int f : item.Tone)
            toneText << QString::number(f);
        const QByteArray hash = BuildStamps::Hash(
            recipe + toneText, voice.isEmpty() ? QStringList() : QStringList{voice});
        if (!job.ctx.force && job.stamps.UpToDate(out, hash))
            continue;
        if (!voice.isEmpty()) {
            InstallSound(item.Key, ReadFile(voice), voice, out);
            job.stamps.Record(out, hash);
            ++recorded;
        } else if (!item.Tone.isEmpty()) {
            InstallSound(item.Key, MakeToneWave(item.Tone), "the tone", out);
            job.stamps.Record(out, hash);
            ++made;
        } else {
            const QString raw = job.ctx.work.filePath("speech/" + item.Key + ".wav");
            QDir().mkpath(QFileInfo(raw).path());
            ProcessPool::Job p;
            p.Program = "espeak-ng";
            p.Arguments = EspeakOptions + QStringList{"-w", raw, item.Text};
            p.Name = item.Key;
            BuildStamps& stamps = job.stamps;
            const QString key = item.Key;
            p.OnSuccess = [key, raw, out, hash, &stamps]() {
                InstallSound(key, ReadFile(raw), "espeak-ng's output", out);
                stamps.Record(out, hash);
            };
            job.pool.Add(std::move(p));
            ++made;
        }
        if ((made + recorded) % 100 == 0)
            Progress(QString("material: speech %1 of %2").arg(made + recorded).arg(items.size()));
    }
    job.pool.Finish();
    int pruned = 0;
    for (const char* folder : {"ws", "dws", "ps", "as", "sp", "dml"})
        pruned += PruneDataFolder(job.ctx, folder, "*.wv", outputs);
    Progress(
        QString("material: speech: %1 sounds made, %2 from recordings, %3 up to date, %4 removed")
            .arg(made)
            .arg(recorded)
            .arg(items.size() - made - recorded)
            .arg(pruned));
}
