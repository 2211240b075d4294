#pragma once
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QSvgRenderer;

// The package the pictures come from, installed into the work folder by npm.
inline const QString EmojiPackage = QStringLiteral("fluentui-emoji@1.3.0");

// The folder of the package's SVG icons: $LOQUENA_EMOJI_DIR when set, else
// <work>/npm/node_modules/fluentui-emoji/icons/modern. Empty when neither holds
// the icons.
QString FindEmojiIcons(const QString& workDir);

// As FindEmojiIcons, installing the package with npm into <work>/npm first
// when it is missing. Throws DataBuildError when npm fails.
QString EnsureEmojiIcons(const QString& workDir);

// Renders icons by name, keeping the parsed SVGs.
class EmojiLibrary
{
public:
    explicit EmojiLibrary(QString iconDir);
    ~EmojiLibrary();

    // The icon drawn into a transparent square of `side` pixels. Throws
    // DataBuildError on a missing or unreadable icon.
    QImage Render(const QString& name, int side);
    // A photograph: the icon centred with a margin on a calm light background.
    QImage RenderPhoto(const QString& name, QSize size);

private:
    QSvgRenderer& Renderer(const QString& name);

    QString m_dir;
    QHash<QString, std::shared_ptr<QSvgRenderer>> m_renderers;
    QHash<QString, QImage> m_images; // name + side
};

// The background of photographs and films.
inline constexpr unsigned PhotoBackground = 0xF3EFE6; // warm off-white, RGB
