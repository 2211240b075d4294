#pragma once
#include "CBitmapsContainerWriter.h"
#include "common/TempDir.h"
#include "graphics/CBitmapsContainer.h"

#include <QColor>
#include <QImage>
#include <memory>

// Small window and button containers for the main window's family, written
// once per test program: every image a flat colour that tells its index
// (SkinColour), masks of known values, the sizes that the layouts require.
class SkinFixture
{
public:
    static SkinFixture& Get()
    {
        static SkinFixture fixture;
        return fixture;
    }

    static QColor SkinColour(int index) { return QColor(index, 255 - index, (index * 7) % 256); }
    // The tick's mask: half strength, so that the tick shows what lies under it.
    static constexpr int TickMask = 128;
    // Button masks: opaque inside a 4-pixel transparent border.
    static constexpr int ButtonBorder = 4;

    std::unique_ptr<CBitmapsContainer> OpenWindows() const { return Open(m_dir.file("grwin.bc")); }
    std::unique_ptr<CBitmapsContainer> OpenButtons() const { return Open(m_dir.file("bttofa.bc")); }

    // The frame source: pixel (x, y) has blue x and green y, so that every
    // copy can be traced back to where it came from.
    static QImage FrameSource()
    {
        QImage s(200, 200, QImage::Format_BGR888);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                s.setPixelColor(x, y, QColor(77, y, x));
        return s;
    }

private:
    using Enc = CBitmapsContainerWriter::Encoding;

    SkinFixture()
    {
        CBitmapsContainerWriter grwin;
        Flat(grwin, 0, 20, 20);
        grwin.Set(1, Mask(20, 20, TickMask, 0), Enc::Bmp);
        Flat(grwin, 2, 26, 26);
        grwin.Set(3, Mask(26, 26, TickMask, 0), Enc::Bmp);
        for (int i = 6; i <= 19; ++i)
            Flat(grwin, i, 210, 638);
        for (int i = 20; i <= 33; ++i)
            Flat(grwin, i, 260, 796);
        Flat(grwin, 34, 1024, 768);
        Flat(grwin, 35, 1280, 960);
        grwin.Set(36, FrameSource(), Enc::Bmp);
        Flat(grwin, 39, 1024, 768);
        Flat(grwin, 40, 1280, 960);
        grwin.Save(m_dir.file("grwin.bc"));

        CBitmapsContainerWriter bttofa;
        for (int i = 48; i <= 70; i += 2) {
            Flat(bttofa, i, 64, 64);
            bttofa.Set(i + 1, Mask(64, 64, 255, ButtonBorder), Enc::Bmp);
        }
        bttofa.Save(m_dir.file("bttofa.bc"));
    }

    static void Flat(CBitmapsContainerWriter& w, int index, int width, int height)
    {
        QImage img(width, height, QImage::Format_BGR888);
        img.fill(SkinColour(index));
        w.Set(index, img, Enc::Bmp);
    }
    static QImage Mask(int width, int height, int value, int border)
    {
        QImage m(width, height, QImage::Format_Grayscale8);
        m.fill(0u);
        for (int y = border; y < height - border; ++y)
            for (int x = border; x < width - border; ++x)
                m.scanLine(y)[x] = static_cast<uchar>(value);
        return m;
    }
    static std::unique_ptr<CBitmapsContainer> Open(const QString& path)
    {
        auto bc = std::make_unique<CBitmapsContainer>();
        if (bc->Open(path, false) != 0)
            return nullptr;
        return bc;
    }

    TempDir m_dir;
};
