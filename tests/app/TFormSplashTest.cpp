#include "app/TFormSplash.h"

#include "common/TempDir.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Navy(0, 0, 128);

QImage Picture()
{
    QImage image(300, 150, QImage::Format_RGB32);
    image.fill(QColor(230, 120, 20));
    return image;
}

// Writes Data/sp.b under dir.
void WriteSplash(const TempDir& dir, const QByteArray& bytes)
{
    QDir(dir.path()).mkpath("Data");
    QFile file(dir.file("Data/sp.b"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray JpegBytes(const TempDir& dir)
{
    const QString path = dir.file("picture.jpg");
    EXPECT_TRUE(Picture().save(path, "JPG", 95));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QList<QLabel*> VisibleLabels(const TFormSplash& splash)
{
    QList<QLabel*> visible;
    for (QLabel* label : splash.findChildren<QLabel*>())
        if (label->isVisibleTo(&splash))
            visible.append(label);
    return visible;
}

bool Near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) < 10 && std::abs(a.green() - b.green()) < 10 &&
           std::abs(a.blue() - b.blue()) < 10;
}

} // namespace

TEST(TFormSplash, PictureSetsTheSizeAndHidesTheText)
{
    TempDir dir;
    WriteSplash(dir, JpegBytes(dir));
    TFormSplash splash(dir.file("Data/sp.b"));
    EXPECT_EQ(splash.windowTitle(), "Loquena Cz. I Splash");
    ASSERT_NE(splash.Picture(), nullptr);
    EXPECT_EQ(splash.size(), QSize(300, 150));
    EXPECT_TRUE(VisibleLabels(splash).isEmpty());
    EXPECT_TRUE(Near(splash.grab().toImage().pixelColor(150, 75), QColor(230, 120, 20)));
}

TEST(TFormSplash, WithoutAReadablePictureShowsTheNameOnNavy)
{
    TempDir dir;
    const QByteArray jpeg = JpegBytes(dir);
    const struct
    {
        const char* name;
        bool write;
        QByteArray bytes;
    } cases[] = {
        {"missing", false, {}},
        {"empty", true, QByteArray()},
        {"not a JPEG", true, QByteArray("BM this is no picture")},
        {"truncated", true, jpeg.left(jpeg.size() / 2)},
        {"damaged header", true, QByteArray(jpeg).replace(0, 4, "\0\0\0\0")},
    };
    for (const auto& c : cases) {
        TempDir folder;
        if (c.write)
            WriteSplash(folder, c.bytes);
        TFormSplash splash(folder.file("Data/sp.b"));
        EXPECT_EQ(splash.Picture(), nullptr) << c.name;
        EXPECT_EQ(splash.size(), QSize(592, 296)) << c.name;
        QStringList texts;
        for (QLabel* label : VisibleLabels(splash))
            texts << label->text();
        texts.sort();
        EXPECT_EQ(texts,
                  (QStringList{"--= Varentis =--", "Afazji", "Część I", "Loquena", "Terapia"}))
            << c.name;
        const QImage shown = splash.grab().toImage();
        EXPECT_EQ(shown.pixelColor(590, 2), Navy) << c.name;
        EXPECT_EQ(shown.pixelColor(300, 280), Navy) << c.name;
    }
}

TEST(TFormSplash, LabelsSitWhereTheLayoutPutsThem)
{
    TFormSplash splash("no/such/sp.b");
    const struct
    {
        const char* name;
        QPoint at;
        int pixelSize;
        QColor colour;
    } cases[] = {
        {"lbNazwa1", {64, 64}, 60, Qt::white},         {"lbNazwa2", {64, 128}, 60, Qt::white},
        {"lbNazwa3", {64, 192}, 60, Qt::white},        {"lbCzesc", {464, 216}, 30, Qt::red},
        {"lbVarentis", {0, 0}, 21, QColor(0, 255, 0)},
    };
    for (const auto& c : cases) {
        const QLabel* label = splash.findChild<QLabel*>(c.name);
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->pos(), c.at) << c.name;
        EXPECT_EQ(label->font().pixelSize(), c.pixelSize) << c.name;
        EXPECT_TRUE(label->font().bold()) << c.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), c.colour) << c.name;
        EXPECT_LE(label->geometry().right(), 592) << c.name;
    }
}

TEST(TFormSplash, DoubleClickOnTheWindowOrALabelHidesIt)
{
    for (const char* where : {"window", "lbNazwa2", "lbCzesc"}) {
        auto splash = std::make_unique<TFormSplash>("no/such/sp.b");
        splash->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.get()));
        QWidget* target = splash.get();
        if (QString(where) != "window")
            target = splash->findChild<QLabel*>(where);
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(splash->isVisible()) << where;
        splash.reset(); // start-up still deletes it afterwards
    }
}
