#include "EmojiLibrary.h"

#include "DataBuild.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>

namespace {

bool HasIcons(const QString& dir)
{
    return !dir.isEmpty() && QFileInfo::exists(dir + "/cat.svg");
}

QString PackageIcons(const QString& workDir)
{
    return QDir(workDir).filePath("npm/node_modules/fluentui-emoji/icons/modern");
}

} // namespace

QString FindEmojiIcons(const QString& workDir)
{
    const QString fromEnv = qEnvironmentVariable("LOQUENA_EMOJI_DIR");
    if (HasIcons(fromEnv))
        return fromEnv;
    if (!workDir.isEmpty() && HasIcons(PackageIcons(workDir)))
        return PackageIcons(workDir);
    return QString();
}

QString EnsureEmojiIcons(const QString& workDir)
{
    const QString found = FindEmojiIcons(workDir);
    if (!found.isEmpty())
        return found;
    const QString prefix = QDir(workDir).filePath("npm");
    QDir().mkpath(prefix);
    Progress(QString("material: installing %1 with npm into %2").arg(EmojiPackage, prefix));
    QProcess npm;
    npm.setProcessChannelMode(QProcess::ForwardedChannels);
    npm.start("npm", {"install", "--no-audit", "--no-fund", "--prefix", prefix, EmojiPackage});
    if (!npm.waitForStarted())
        throw DataBuildError("npm is not installed; it is needed to fetch the pictures (" +
                             EmojiPackage + "). Run scripts/install-deps.sh.");
    npm.waitForFinished(-1);
    if (npm.exitStatus() != QProcess::NormalExit || npm.exitCode() != 0)
        throw DataBuildError(
            QString("npm install %1 failed (exit code %2)").arg(EmojiPackage).arg(npm.exitCode()));
    if (!HasIcons(PackageIcons(workDir)))
        throw DataBuildError("npm installed " + EmojiPackage + " but " + PackageIcons(workDir) +
                             " holds no icons");
    return PackageIcons(workDir);
}

EmojiLibrary::EmojiLibrary(QString iconDir) : m_dir(std::move(iconDir)) {}

EmojiLibrary::~EmojiLibrary() = default;

QSvgRenderer& EmojiLibrary::Renderer(const QString& name)
{
    auto it = m_renderers.find(name);
    if (it == m_renderers.end()) {
        const QString path = m_dir + "/" + name + ".svg";
        auto renderer = std::make_shared<QSvgRenderer>(path);
        if (!renderer->isValid())
            throw DataBuildError("missing or unreadable picture " + path);
        renderer->setAspectRatioMode(Qt::KeepAspectRatio);
        it = m_renderers.insert(name, renderer);
    }
    return **it;
}

QImage EmojiLibrary::Render(const QString& name, int side)
{
    const QString key = name + "@" + QString::number(side);
    auto it = m_images.find(key);
    if (it != m_images.end())
        return *it;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    Renderer(name).render(&p, QRectF(0, 0, side, side));
    p.end();
    m_images.insert(key, image);
    return image;
}

QImage EmojiLibrary::RenderPhoto(const QString& name, QSize size)
{
    QImage photo(size, QImage::Format_RGB888);
    photo.fill(QColor::fromRgb(PhotoBackground));
    const int margin = size.height() / 10;
    const int side = size.height() - 2 * margin;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    Renderer(name).render(&p, QRectF((size.width() - side) / 2.0, margin, side, side));
    return photo;
}
