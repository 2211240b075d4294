#pragma once
// Shared ground of the control tests: the 1024 x 768 layout in colour, a
// shown host window standing in for the therapy window, a 24-bit exercise
// bitmap, a tiny skin container with every image the controls load, and the
// shared context with its 32 letter tiles loaded from it.
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CSharedKomps.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace fixture {

// Skin indices of the tiny container.
enum : int
{
    LabelNormal = 0,
    LabelMask = 1,
    LabelHighlight = 2,
    LabelPressed = 3,
    FrameImage = 10,
    FrameMask = 11,
    PhotoMask = 12,
    DimImage = 236,
    DimMask = 237,
    FirstLetter = 240,
};

constexpr int LabelWidth = 120;
constexpr int LabelHeight = 40;
constexpr int FrameWidth = 60;
constexpr int FrameHeight = 50;
constexpr int PhotoMaskWidth = 40;
constexpr int PhotoMaskHeight = 30;
constexpr int LetterWidth = 20;
constexpr int LetterHeight = 24;

inline QRgb LetterColour(int i)
{
    return qRgb(10 + i * 5, 100, 200 - i * 3);
}
inline const QRgb NormalColour = qRgb(200, 40, 40);
inline const QRgb HighlightColour = qRgb(40, 200, 40);
inline const QRgb PressedColour = qRgb(40, 40, 200);
inline const QRgb FrameColour = qRgb(128, 128, 128);

inline QImage Solid(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(QColor::fromRgb(colour));
    return img;
}

inline QImage Grey(int w, int h, int value)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    img.fill(value);
    return img;
}

// The photo mask: the left half shows the picture, the right half the frame.
inline QImage HalfMask()
{
    QImage img = Grey(PhotoMaskWidth, PhotoMaskHeight, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width() / 2; ++x)
            img.scanLine(y)[x] = 255;
    return img;
}

} // namespace fixture

class ControlsTest : public ::testing::Test
{
protected:
    // Before any placement table a test holds is made, so that none asks.
    ControlsTest() { SetDisplayModeFor(1024, 768); }

    void SetUp() override
    {
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        using namespace fixture;
        CBitmapsContainerWriter w;
        const auto bmp = CBitmapsContainerWriter::Encoding::Bmp;
        w.Set(LabelNormal, Solid(LabelWidth, LabelHeight, NormalColour), bmp);
        w.Set(LabelMask, Grey(LabelWidth, LabelHeight, 255), bmp);
        w.Set(LabelHighlight, Solid(LabelWidth, LabelHeight, HighlightColour), bmp);
        w.Set(LabelPressed, Solid(LabelWidth, LabelHeight, PressedColour), bmp);
        w.Set(FrameImage, Solid(FrameWidth, FrameHeight, FrameColour), bmp);
        w.Set(FrameMask, Grey(FrameWidth, FrameHeight, 255), bmp);
        w.Set(PhotoMask, HalfMask(), bmp);
        w.Set(DimImage, Solid(LetterWidth, LetterHeight, qRgb(0, 0, 0)), bmp);
        w.Set(DimMask, Grey(LetterWidth, LetterHeight, 128), bmp);
        for (int i = 0; i < Alphabet.size(); ++i)
            w.Set(FirstLetter + i, Solid(LetterWidth, LetterHeight, LetterColour(i)), bmp);
        const QString path = dir.file("skins.bc");
        ASSERT_TRUE(w.Save(path));
        ASSERT_EQ(container.Open(path, false), CBitmapsContainer::BC_OK);

        host = std::make_unique<QWidget>();
        host->setGeometry(0, 0, 400, 300);
        target = std::make_unique<QImage>(400, 300, QImage::Format_BGR888);
        target->fill(qRgb(255, 255, 255));
        komps = std::make_unique<CSharedKomps>(host.get());
        komps->Container = &container;
        komps->ExerciseBitmap = target.get();
        komps->ExerciseArea = host.get();
        komps->LoadLetterBitmaps();
        host->show();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    void TearDown() override
    {
        komps.reset();
        host.reset();
        ColorMode = CM_COLOR;
    }

    // What a control shows at a point of its own, as a person would see it.
    static QRgb Shown(QWidget& control, int x, int y)
    {
        return control.grab().toImage().pixel(x, y) | 0xff000000u;
    }
    QRgb At(int x, int y) const { return target->pixel(x, y) | 0xff000000u; }

    TempDir dir;
    CBitmapsContainer container;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<QImage> target;
    std::unique_ptr<CSharedKomps> komps;
};
