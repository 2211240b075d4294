#include "BuildStamps.h"
#include "DataBuild.h"
#include "EmojiLibrary.h"
#include "MaterialDeps.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"
#include "ProcessPool.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <cmath>

namespace {

const QString FilmVersion = "film 1";

double Lerp(double a, double b, double u)
{
    return a + (b - a) * u;
}

// Progress of a sprite's move at frame f: one smooth move, or `rep` plain ones.
double MovePhase(const FilmSprite& s, int frame)
{
    const double t = double(frame) / (FilmFrames - 1);
    if (s.Repeat == 1)
        return t * t * (3 - 2 * t);
    const double raw = t * s.Repeat;
    return raw >= s.Repeat ? 1.0 : raw - std::floor(raw);
}

void DrawSprite(QPainter& p, const FilmSprite& s, int frame, QSize size, EmojiLibrary& emoji)
{
    const double t = double(frame) / (FilmFrames - 1);
    if (t < s.Show0 || t > s.Show1)
        return;
    const double seconds = double(frame) / FilmFps;
    const double u = MovePhase(s, frame);
    const double w = size.width() / 100.0, h = size.height() / 100.0;
    double x = Lerp(s.X, s.ToX, u), y = Lerp(s.Y, s.ToY, u);
    if (s.OscHz > 0) {
        x += s.OscX * std::sin(2 * M_PI * s.OscHz * seconds);
        y += s.OscY * std::sin(2 * M_PI * s.OscHz * seconds);
    }
    const double side = Lerp(s.Size, s.ToSize, u) * h;
    double angle = Lerp(s.Rot0, s.Rot1, t);
    if (s.WobHz > 0)
        angle += s.WobDeg * std::sin(2 * M_PI * s.WobHz * seconds);
    const int maxSide = int(std::ceil(std::max(s.Size, s.ToSize) * h));
    const QImage image = emoji.Render(s.Picture, std::max(8, maxSide));
    p.save();
    p.translate(x * w, y * h);
    p.rotate(angle);
    if (s.Flip)
        p.scale(-1, 1);
    p.drawImage(QRectF(-side / 2, -side / 2, side, side), image);
    p.restore();
}

QStringList FfmpegArguments(const QString& colour, const QString& grey)
{
    const QString frameSize = QString("%1x%2").arg(FilmSize.width()).arg(FilmSize.height());
    const QStringList encode = {"-c:v",     "mpeg1video", "-q:v", "4",
                                "-pix_fmt", "yuv420p",    "-f",   "mpeg"};
    return QStringList{"-hide_banner",
                       "-loglevel",
                       "error",
                       "-y",
                       "-f",
                       "rawvideo",
                       "-pix_fmt",
                       "rgb24",
                       "-s",
                       frameSize,
                       "-r",
                       QString::number(FilmFps),
                       "-i",
                       "-",
                       "-filter_complex",
                       "[0:v]split=2[c][g];[g]hue=s=0[gg]",
                       "-map",
                       "[c]"} +
           encode + QStringList{colour, "-map", "[gg]"} + encode + QStringList{grey};
}

void Replace(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::rename(from, to))
        throw DataBuildError("cannot move " + from + " to " + to);
}

} // namespace

QImage RenderFilmFrame(const SourceAction& action, int frame, QSize size, EmojiLibrary& emoji)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(QColor::fromRgb(PhotoBackground));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const FilmSprite& s : action.Film)
        DrawSprite(p, s, frame, size, emoji);
    return image;
}

void BuildFilms(MaterialJob& job)
{
    QDir().mkpath(job.ctx.dataPath("asm"));
    QDir().mkpath(job.ctx.dataPath("asmgr"));
    int made = 0;
    QSet<QString> outputs;
    for (const SourceAction& a : job.sources.Actions) {
        const QString colour = job.ctx.dataPath(QString("asm/%1.mpg").arg(a.ID));
        const QString grey = job.ctx.dataPath(QString("asmgr/%1.mpg").arg(a.ID));
        outputs << colour << grey;
        const QByteArray hash =
            BuildStamps::Hash({FilmVersion, a.FilmText, QString::number(FilmFrames),
                               QString::number(FilmSize.width())});
        if (!job.ctx.force && job.stamps.UpToDate(colour, hash) && job.stamps.UpToDate(grey, hash))
            continue;
        QByteArray frames;
        frames.reserve(qsizetype(FilmFrames) * FilmSize.width() * FilmSize.height() * 3);
        for (int f = 0; f < FilmFrames; ++f) {
            const QImage image = RenderFilmFrame(a, f, FilmSize, job.emoji);
            for (int y = 0; y < image.height(); ++y)
                frames.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                              image.width() * 3);
        }
        ProcessPool::Job p;
        p.Program = "ffmpeg";
        p.Arguments = FfmpegArguments(colour + ".part", grey + ".part");
        p.Input = std::move(frames);
        p.Name = QString("film %1").arg(a.ID);
        BuildStamps& stamps = job.stamps;
        p.OnSuccess = [colour, grey, hash, &stamps]() {
            for (const QString& path : {colour, grey}) {
                ScrambleFilm(path + ".part");
                Replace(path + ".part", path);
                stamps.Record(path, hash);
            }
        };
        job.pool.Add(std::move(p));
        if (++made % 10 == 0)
            Progress(QString("material: films %1 of %2").arg(made).arg(job.sources.Actions.size()));
    }
    job.pool.Finish();
    const int pruned = PruneDataFolder(job.ctx, "asm", "*.mpg", outputs) +
                       PruneDataFolder(job.ctx, "asmgr", "*.mpg", outputs);
    Progress(QString("material: films: %1 made, %2 up to date, %3 removed")
                 .arg(made)
                 .arg(job.sources.Actions.size() - made)
                 .arg(pruned));
}
