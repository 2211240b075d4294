// The skinned text button: its face cut from a skinned button's pictures for
// each state and colour mode, stretched to any size without the picture's
// icon, with the round shape of its mask and the caption written on it.
#include "mainwindow/CSkinTextButton.h"
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Border = 4; // transparent edge of the mask
const CSkinTextButton::SSkin kSkin = {{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}}};

QColor BodyOf(int index)
{
    return QColor(20 + 10 * index, 200 - 10 * index, 120);
}

// Pictures of 88 x 70 like the main buttons': a flat body with a red icon in
// the middle; masks opaque inside a transparent border.
std::unique_ptr<CBitmapsContainer> Skins(const TempDir& dir)
{
    CBitmapsContainerWriter writer;
    for (int state = 0; state < 3; ++state) {
        for (int grey = 0; grey < 2; ++grey) {
            const int index = 3 * state + grey;
            QImage picture(88, 70, QImage::Format_BGR888);
            picture.fill(BodyOf(index));
            for (int y = 15; y < 55; ++y)
                for (int x = 28; x < 60; ++x)
                    picture.setPixelColor(x, y, Qt::red);
            writer.Set(index, picture, CBitmapsContainerWriter::Encoding::Bmp);
        }
        QImage mask(88, 70, QImage::Format_Grayscale8);
        mask.fill(0u);
        for (int y = Border; y < 70 - Border; ++y)
            for (int x = Border; x < 88 - Border; ++x)
                mask.scanLine(y)[x] = 255;
        writer.Set(3 * state + 2, mask, CBitmapsContainerWriter::Encoding::Bmp);
    }
    EXPECT_TRUE(writer.Save(dir.file("bttofa.bc")));
    auto container = std::make_unique<CBitmapsContainer>();
    EXPECT_EQ(container->Open(dir.file("bttofa.bc"), false), 0);
    return container;
}

class SkinTextButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        skins = Skins(dir);
    }
    void TearDown() override { ColorMode = CM_COLOR; }

    TempDir dir;
    std::unique_ptr<CBitmapsContainer> skins;
};

TEST_F(SkinTextButtonTest, EachStateAndModeTakesItsPictureStretchedWithoutTheIcon)
{
    QWidget host;
    CSkinTextButton button(QString(), &host, skins.get(), kSkin);
    button.setGeometry(0, 0, 300, 44);
    const struct
    {
        int mode, state, picture;
    } cases[] = {
        {CM_COLOR, CSkinTextButton::FaceNormal, 0},  {CM_COLOR, CSkinTextButton::FaceHover, 3},
        {CM_COLOR, CSkinTextButton::FacePressed, 6}, {CM_MONO, CSkinTextButton::FaceNormal, 1},
        {CM_MONO, CSkinTextButton::FacePressed, 7},
    };
    for (const auto& c : cases) {
        ColorMode = c.mode;
        const QImage face = button.Face(c.state);
        ASSERT_EQ(face.size(), QSize(300, 44)) << c.picture;
        int red = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                red += face.pixelColor(x, y) == QColor(Qt::red);
        EXPECT_EQ(red, 0) << "the picture's icon is left out: " << c.picture;
        for (const QPoint at : {QPoint(150, 22), QPoint(8, 22), QPoint(291, 22), QPoint(150, 6)})
            EXPECT_EQ(face.pixelColor(at).rgb(), BodyOf(c.picture).rgb())
                << c.picture << " at " << at.x() << "," << at.y();
        // The mask's transparent edge all round, at the picture's width.
        for (const QPoint at : {QPoint(0, 0), QPoint(150, 1), QPoint(150, 42), QPoint(2, 22),
                                QPoint(298, 22), QPoint(299, 43)})
            EXPECT_EQ(face.pixelColor(at).alpha(), 0) << at.x() << "," << at.y();
        EXPECT_EQ(face.pixelColor(150, 22).alpha(), 255);
    }
}

// Made before the program has read its skins, a button takes them when it is
// painted.
TEST_F(SkinTextButtonTest, TheProgramsSkinsAreTakenWhenPainted)
{
    QWidget host;
    CSkinTextButton button(QString(), &host, nullptr, kSkin);
    button.setGeometry(0, 0, 120, 40);
    CBitmapsContainer* const before = ButtonsContainer;
    ButtonsContainer = nullptr;
    EXPECT_TRUE(button.Face(CSkinTextButton::FaceNormal).isNull());
    ButtonsContainer = skins.get();
    const QImage face = button.Face(CSkinTextButton::FaceNormal);
    ButtonsContainer = before;
    ASSERT_FALSE(face.isNull());
    EXPECT_EQ(face.pixelColor(60, 20).rgb(), BodyOf(0).rgb());
}

TEST_F(SkinTextButtonTest, TheCaptionIsWrittenOnTheFaceAndAPlainButtonStandsInWithoutSkins)
{
    QWidget host;
    CSkinTextButton captioned(QStringLiteral("Własne materiały…"), &host, skins.get(), kSkin);
    captioned.setGeometry(0, 0, 200, 40);
    const QImage face = captioned.Face(CSkinTextButton::FaceNormal);
    int white = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            white += face.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_GT(white, 60);

    // Pictures the skin has not got.
    const CSkinTextButton::SSkin missing = {{{50, 51, 52}, {53, 54, 55}, {56, 57, 58}}};
    CSkinTextButton plain(QStringLiteral("Własne\nnagrania"), &host, skins.get(), missing);
    plain.setGeometry(0, 40, 200, 40);
    EXPECT_TRUE(plain.Face(CSkinTextButton::FaceNormal).isNull());
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    int clicks = 0;
    QObject::connect(&plain, &QPushButton::clicked, [&clicks] { ++clicks; });
    QObject::connect(&captioned, &QPushButton::clicked, [&clicks] { clicks += 10; });
    QTest::mouseClick(&plain, Qt::LeftButton);
    QTest::mouseClick(&captioned, Qt::LeftButton);
    EXPECT_EQ(clicks, 11);
}

} // namespace
