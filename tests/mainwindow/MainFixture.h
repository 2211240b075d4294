#pragma once
// A program folder for the main window: its two skin containers with every
// image its layouts name (flat colours at the sizes the layouts need) and an
// empty patient database. The current folder is the program folder while a
// test runs.
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "platform/DatabaseSchema.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace main_fixture {

inline QImage Flat(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(c);
    return img;
}

inline QImage Mask(int w, int h)
{
    QImage m(w, h, QImage::Format_Grayscale8);
    m.fill(255);
    return m;
}

// A colourful tone per index, so that a grey image tells a colour switch.
inline QColor Tone(int index)
{
    return QColor(40 + (index * 37) % 200, 60 + (index * 53) % 180, 30 + (index * 71) % 210);
}

inline bool WriteWindows(const QString& path)
{
    using Enc = CBitmapsContainerWriter::Encoding;
    CBitmapsContainerWriter w;
    w.Set(0, Flat(20, 20, Tone(0)), Enc::Bmp);
    w.Set(1, Mask(20, 20), Enc::Bmp);
    w.Set(2, Flat(26, 26, Tone(2)), Enc::Bmp);
    w.Set(3, Mask(26, 26), Enc::Bmp);
    w.Set(4, Flat(1024, 768, Tone(4)), Enc::Bmp);
    w.Set(5, Flat(1280, 960, Tone(5)), Enc::Bmp);
    for (int i = 6; i <= 19; ++i)
        w.Set(i, Flat(210, 638, Tone(i)), Enc::Bmp);
    for (int i = 20; i <= 33; ++i)
        w.Set(i, Flat(260, 796, Tone(i)), Enc::Bmp);
    w.Set(36, Flat(200, 200, Tone(36)), Enc::Bmp);
    w.Set(37, Flat(300, 120, Tone(37)), Enc::Bmp);
    w.Set(38, Mask(300, 120), Enc::Bmp);
    return w.Save(path);
}

inline bool WriteButtons(const QString& path)
{
    using Enc = CBitmapsContainerWriter::Encoding;
    CBitmapsContainerWriter w;
    for (int i = 0; i <= 113; i += 2) {
        // 30 to 47 are the grey images of the main buttons (no masks there).
        const bool greyImage = i >= 30 && i <= 47;
        w.Set(i, Flat(64, 64, Tone(i)), Enc::Bmp);
        w.Set(i + 1, greyImage ? Flat(64, 64, Tone(i + 1)) : Mask(64, 64), Enc::Bmp);
    }
    return w.Save(path);
}

// The program folder; becomes the current folder until destroyed.
class ProgramFolder
{
public:
    ProgramFolder() : m_previous(QDir::currentPath())
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
        m_ok = WriteWindows(m_dir.file(QStringLiteral("Data/grwin.bc"))) &&
               WriteButtons(m_dir.file(QStringLiteral("Data/bttofa.bc"))) &&
               CreatePatientDatabase(m_dir.file(QStringLiteral("pacmem.qp")));
        QDir::setCurrent(m_dir.path());
    }
    ~ProgramFolder() { QDir::setCurrent(m_previous); }

    bool ok() const { return m_ok; }
    QString file(const QString& name) const { return m_dir.file(name); }

private:
    TempDir m_dir;
    QString m_previous;
    bool m_ok = false;
};

} // namespace main_fixture
