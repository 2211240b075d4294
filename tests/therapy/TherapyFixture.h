#pragma once
// A small program folder for the therapy window: its skin container with the
// images the window and WY read (sizes as the real skins have them), both
// photo archives, a content database of a few words, and the skins of the
// result window. Each image is a flat colour that tells which index it is.
#include "CBitmapsContainerWriter.h"
#include "common/TempDir.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QDir>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <set>

namespace therapy_fixture {

// Size of each skin image of "Data/cextb.bc" that the fixture holds.
inline QSize SkinSize(int i)
{
    struct SRange
    {
        int first, last, w, h;
    };
    static const SRange ranges[] = {
        {0, 23, 64, 64},      {24, 27, 290, 16},    {28, 29, 290, 30},    {30, 35, 290, 48},
        {36, 39, 362, 20},    {40, 41, 362, 37},    {42, 47, 362, 60},    {48, 69, 230, 28},
        {70, 91, 288, 35},    {92, 92, 1024, 71},   {93, 93, 1280, 89},   {198, 199, 500, 376},
        {200, 200, 490, 368}, {201, 202, 626, 470}, {203, 203, 616, 462}, {204, 205, 400, 58},
        {206, 207, 500, 73},  {208, 211, 432, 78},  {212, 215, 540, 98},  {218, 219, 44, 44},
        {236, 237, 58, 58},   {238, 239, 72, 72},   {240, 271, 58, 58},   {272, 303, 72, 72},
        {316, 341, 80, 80},
    };
    for (const SRange& r : ranges)
        if (i >= r.first && i <= r.last)
            return QSize(r.w, r.h);
    return QSize();
}

inline bool IsMask(int i)
{
    static const std::set<int> single = {200, 203, 205, 207, 211, 215, 219, 237, 239};
    if (single.count(i))
        return true;
    if (i <= 91 && i % 2 == 1 && !(i >= 28 && i <= 29) && !(i >= 40 && i <= 41))
        return true;
    return i >= 316 && i <= 341 && i % 2 == 1;
}

// A flat image with a one-pixel frame; masks are opaque inside a soft edge.
inline QImage SkinImage(QSize size, bool mask, int index)
{
    if (mask) {
        QImage m(size, QImage::Format_Grayscale8);
        m.fill(255);
        for (int x = 0; x < size.width(); ++x) {
            m.scanLine(0)[x] = 0;
            m.scanLine(size.height() - 1)[x] = 0;
        }
        return m;
    }
    QImage img(size, QImage::Format_BGR888);
    img.fill(QColor((index * 37) % 200 + 40, (index * 59) % 200 + 40, (index * 83) % 200 + 40));
    return img;
}

inline bool WriteSkins(const QString& path)
{
    CBitmapsContainerWriter writer;
    for (int i = 0; i <= 341; ++i) {
        const QSize size = SkinSize(i);
        if (size.isValid())
            writer.Set(i, SkinImage(size, IsMask(i), i), CBitmapsContainerWriter::Encoding::Bmp);
    }
    return writer.Save(path);
}

inline bool WritePhotos(const QString& path, QSize size, int count)
{
    CBitmapsContainerWriter writer;
    for (int i = 0; i < count; ++i)
        writer.Set(i, SkinImage(size, false, 500 + i), CBitmapsContainerWriter::Encoding::Bmp);
    return writer.Save(path);
}

// The result window's frame (grwin.bc 36) and its buttons (bttofa.bc 54-65).
inline bool WriteWindowSkins(const QString& grwin, const QString& bttofa)
{
    CBitmapsContainerWriter windows;
    windows.Set(36, SkinImage(QSize(200, 200), false, 36), CBitmapsContainerWriter::Encoding::Bmp);
    CBitmapsContainerWriter buttons;
    for (int i = 54; i <= 65; ++i)
        buttons.Set(i, SkinImage(QSize(64, 64), i % 2 == 1, i),
                    CBitmapsContainerWriter::Encoding::Bmp);
    return windows.Save(grwin) && buttons.Save(bttofa);
}

// Names of the fixture's words, all of category "D" (bit 0).
inline QStringList WordNames()
{
    return {"DOM", "KOT", "PIES", "LAS", "RYBA", "OKNO", "STÓŁ", "KRZESŁO"};
}

inline bool WriteContent(const QString& path)
{
    if (!CreateContentDatabase(path))
        return false;
    CDbConnection db;
    db.Connect(path);
    const QStringList names = WordNames();
    for (int i = 0; i < names.size(); ++i)
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                   "VALUES (?, ?, ?, 'D', '', 1)",
                   {names[i], names[i].toLower(), i});
    for (int i = 1; i <= 4; ++i) {
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, 'Z', 1)",
                   {i, QString("początek %1").arg(i), QString("koniec %1").arg(i)});
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                   "VALUES (?, ?, ?, ?, 'H', 1)",
                   {i, QString("czynność %1").arg(i), "robi", "coś"});
    }
    db.Disconnect();
    return true;
}

// The whole folder; returns false when a file could not be made.
inline bool WriteProgramFolder(const QString& root)
{
    QDir().mkpath(root + "/Data");
    return WriteSkins(root + "/Data/cextb.bc") &&
           WritePhotos(root + "/Data/zdjar5.bb", QSize(616, 462), WordNames().size()) &&
           WritePhotos(root + "/Data/zdjar3.bb", QSize(490, 368), WordNames().size()) &&
           WriteContent(root + "/Data/sdrow.qp") &&
           WriteWindowSkins(root + "/Data/grwin.bc", root + "/Data/bttofa.bc") &&
           CreatePatientDatabase(root + "/pacmem.qp");
}

} // namespace therapy_fixture
