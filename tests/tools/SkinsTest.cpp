// The skins: the index map covers every image the layouts name, the painter
// makes each at its size, and the data build writes them into the containers.
#include "DataBuild.h"
#include "PhotoSize.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CTransBitmap.h"
#include "skins/SkinMap.h"
#include "skins/SkinSheets.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <set>

namespace {

std::set<int> Range(int from, int to, std::set<int> except = {})
{
    std::set<int> s;
    for (int i = from; i <= to; ++i)
        if (!except.count(i))
            s.insert(i);
    return s;
}

// Every index the layout tables of the program name, per container, written
// down from the layouts themselves (not from the map), so that a gap in the
// map shows here.
std::set<int> NamedByLayouts(SkinFile file)
{
    switch (file) {
    case SkinFile::Grwin:
        // ticks 0-3, backgrounds 4/5, bookmark strips 6-33, help 34/35,
        // frame 36, wait 37/38, info 39/40
        return Range(0, 40);
    case SkinFile::Bttofa:
        // main buttons 0-29 with grey variants 30, 32, 34, 36-47; close 48-53;
        // Tak/Nie/OK 54-71; patient 72-89; statistics 90-113
        return Range(0, 113, {31, 33, 35});
    case SkinFile::Cextb:
        // 220-225, 309 and 315 are named by no layout
        return Range(0, 357, {220, 221, 222, 223, 224, 225, 309, 315});
    }
    return {};
}

const SkinFile kFiles[3] = {SkinFile::Grwin, SkinFile::Bttofa, SkinFile::Cextb};

const std::map<SkinFile, SkinImageSet>& Painted()
{
    static const std::map<SkinFile, SkinImageSet> all = PaintAllSkins();
    return all;
}

QSize SizeOf(SkinFile f, int index)
{
    return Painted().at(f).at(index).size();
}

TEST(SkinMap, CoversEveryIndexTheLayoutsNameAndNoOther)
{
    for (SkinFile f : kFiles) {
        std::set<int> mapped;
        for (const SkinIndexRow& row : SkinIndexRows(f)) {
            EXPECT_TRUE(mapped.insert(row.index).second)
                << SkinFileName(f).toStdString() << " index " << row.index << " given twice";
        }
        const std::set<int> named = NamedByLayouts(f);
        for (int i : named)
            EXPECT_TRUE(mapped.count(i)) << SkinFileName(f).toStdString() << " lacks " << i;
        for (int i : mapped)
            EXPECT_TRUE(named.count(i)) << SkinFileName(f).toStdString() << " has unnamed " << i;
    }
}

TEST(SkinMap, SharedMasksBelongToAnImageOfTheSameSize)
{
    for (const SkinItem& it : SkinMap()) {
        if (it.mask < 0 || it.ownsMask)
            continue;
        const SkinItem* owner = nullptr;
        for (const SkinItem& o : SkinMap())
            if (o.file == it.file && o.ownsMask && o.mask == it.mask)
                owner = &o;
        ASSERT_NE(owner, nullptr) << it.shows.toStdString() << ": mask " << it.mask << " unowned";
        EXPECT_EQ(owner->size, it.size) << it.shows.toStdString();
    }
}

TEST(SkinPainter, EveryImageHasItsSizeFormatAndMask)
{
    for (const SkinItem& it : SkinMap()) {
        const SkinImageSet& set = Painted().at(it.file);
        const std::string what = SkinFileName(it.file).toStdString() + " " + it.shows.toStdString();
        if (it.image >= 0) {
            const QImage& img = set.at(it.image);
            EXPECT_EQ(img.size(), it.size) << what;
            EXPECT_EQ(img.format(), QImage::Format_BGR888) << what;
        }
        if (it.mono >= 0) {
            const QImage& mono = set.at(it.mono);
            EXPECT_EQ(mono.size(), it.size) << what;
            EXPECT_TRUE(mono.convertToFormat(QImage::Format_RGB32).allGray()) << what;
        }
        if (it.mask >= 0) {
            const QImage& mask = set.at(it.mask);
            EXPECT_EQ(mask.format(), QImage::Format_Grayscale8) << what;
            EXPECT_EQ(mask.size(), it.size) << what << ": mask " << it.mask;
        }
    }
}

TEST(SkinPainter, MasksHaveSoftEdgesAndAreNotEmpty)
{
    // A mask that is all 0 hides its image; one with only 0 and 255 has hard edges.
    for (const SkinItem& it : SkinMap()) {
        if (!it.ownsMask)
            continue;
        const QImage& mask = Painted().at(it.file).at(it.mask);
        int full = 0, soft = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const uchar v = mask.constScanLine(y)[x];
                full += v == 255;
                soft += v > 0 && v < 255;
            }
        EXPECT_GT(full + soft, 0) << it.shows.toStdString();
        EXPECT_GT(soft, 0) << it.shows.toStdString();
    }
}

TEST(SkinPainter, LayoutsGetTheSizesTheyRequire)
{
    struct Case
    {
        SkinFile file;
        std::vector<int> indices;
        QSize size;
    };
    const QSize frame1024 = PhotoSize1024 + QSize(10, 8), frame1280 = PhotoSize1280 + QSize(10, 8);
    const Case cases[] = {
        {SkinFile::Grwin, {4, 34, 39}, {1024, 768}}, // full-screen backgrounds
        {SkinFile::Grwin, {5, 35, 40}, {1280, 960}},
        {SkinFile::Grwin, {6, 7, 12, 19}, {210, 638}}, // the bookmark paint box
        {SkinFile::Grwin, {20, 21, 30, 33}, {260, 796}},
        {SkinFile::Cextb, {92}, {1024, 71}}, // pbMenu
        {SkinFile::Cextb, {93}, {1280, 89}},
        {SkinFile::Cextb, {200, 344}, PhotoSize1024}, // photo mask, placeholder
        {SkinFile::Cextb, {203, 345}, PhotoSize1280},
        {SkinFile::Cextb, {198, 199}, frame1024}, // photo at (5, 4) in its frame
        {SkinFile::Cextb, {201, 202}, frame1280},
        {SkinFile::Cextb, {240, 255, 271, 236, 237}, SizeOf(SkinFile::Cextb, 240)},
        {SkinFile::Cextb, {272, 290, 303, 238, 239}, SizeOf(SkinFile::Cextb, 272)},
    };
    for (const Case& c : cases)
        for (int i : c.indices)
            EXPECT_EQ(SizeOf(c.file, i), c.size) << SkinFileName(c.file).toStdString() << " " << i;

    // The frame source must be large enough to give corners and bands.
    EXPECT_GE(SizeOf(SkinFile::Grwin, 36).width(), 200);
    EXPECT_GE(SizeOf(SkinFile::Grwin, 36).height(), 200);
    // The tick fills its square: 26 and 20 pixels.
    EXPECT_EQ(SizeOf(SkinFile::Grwin, 2), QSize(26, 26));
    EXPECT_EQ(SizeOf(SkinFile::Grwin, 0), QSize(20, 20));
    // Sixteen letter tiles fit across the exercise area, two rows below the ZO input label.
    EXPECT_LE(16 * SizeOf(SkinFile::Cextb, 272).width(), 1280);
    EXPECT_LE(654 + SizeOf(SkinFile::Cextb, 206).height() +
                  2 * SizeOf(SkinFile::Cextb, 272).height(),
              871);
    // An exercise title drawn into the menu box at (13, 9) / (16, 11) stays left of
    // the drop arrow, which takes the right 0.8 box heights.
    EXPECT_LE(13 + SizeOf(SkinFile::Cextb, 48).width(),
              SizeOf(SkinFile::Cextb, 34).width() - SizeOf(SkinFile::Cextb, 34).height() * 4 / 5);
    EXPECT_LE(16 + SizeOf(SkinFile::Cextb, 70).width(),
              SizeOf(SkinFile::Cextb, 46).width() - SizeOf(SkinFile::Cextb, 46).height() * 4 / 5);
    // The PWP hint and input labels are 68 apart, the DC captions 86.
    EXPECT_LE(SizeOf(SkinFile::Cextb, 334).height(), 68);
    EXPECT_LE(SizeOf(SkinFile::Cextb, 310).height(), 86);
}

TEST(SkinPainter, StatesOfOneButtonOrLabelShareOneSize)
{
    const std::vector<std::pair<SkinFile, std::vector<int>>> groups = {
        {SkinFile::Cextb, {0, 2, 4}},
        {SkinFile::Cextb, {6, 8, 10}},
        {SkinFile::Cextb, {12, 14, 16}},
        {SkinFile::Cextb, {18, 20, 22}},
        {SkinFile::Cextb, {316, 318, 320}},
        {SkinFile::Cextb, {322, 324, 326}},
        {SkinFile::Cextb, {336, 338, 340}},
        {SkinFile::Cextb, {346, 348, 350}},
        {SkinFile::Cextb, {352, 354, 356}},
        {SkinFile::Cextb, {30, 32, 34}},
        {SkinFile::Cextb, {42, 44, 46}},
        {SkinFile::Cextb, {208, 209, 210}},
        {SkinFile::Cextb, {212, 213, 214}},
        {SkinFile::Cextb, {304, 306, 308}},
        {SkinFile::Cextb, {310, 312, 314}},
        {SkinFile::Cextb, {226, 227, 228, 230}},
        {SkinFile::Cextb, {231, 232, 233, 235}},
        {SkinFile::Bttofa, {0, 2, 4, 42, 43, 44}},
        {SkinFile::Bttofa, {6, 8, 10, 36, 37, 38}},
        {SkinFile::Bttofa, {12, 14, 16, 45, 46, 47}},
        {SkinFile::Bttofa, {18, 20, 22, 39, 40, 41}},
        {SkinFile::Bttofa, {24, 26, 28, 30, 32, 34}},
        {SkinFile::Bttofa, {48, 50, 52}},
        {SkinFile::Bttofa, {54, 56, 58, 60, 62, 64, 66, 68, 70}},
        {SkinFile::Bttofa, {72, 74, 76, 78, 80, 82, 84, 86, 88}},
        {SkinFile::Bttofa, {90, 92, 94, 96, 98, 100, 102, 104, 106, 108, 110, 112}},
    };
    for (const auto& [file, indices] : groups)
        for (int i : indices)
            EXPECT_EQ(SizeOf(file, i), SizeOf(file, indices.front()))
                << SkinFileName(file).toStdString() << " " << i;
}

TEST(SkinPainter, GreyVariantsKeepTheirContrast)
{
    // Grey buttons and the grey lit label must still show a dark outline on a
    // light face (or the reverse), so that their shape and text read.
    const std::vector<std::pair<SkinFile, int>> greys = {
        {SkinFile::Bttofa, 30}, {SkinFile::Bttofa, 38}, {SkinFile::Bttofa, 44},
        {SkinFile::Bttofa, 47}, {SkinFile::Cextb, 235}, {SkinFile::Cextb, 230}};
    for (const auto& [file, index] : greys) {
        const QImage img = Painted().at(file).at(index).convertToFormat(QImage::Format_Grayscale8);
        int lo = 255, hi = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                lo = std::min<int>(lo, img.constScanLine(y)[x]);
                hi = std::max<int>(hi, img.constScanLine(y)[x]);
            }
        EXPECT_GT(hi - lo, 120) << SkinFileName(file).toStdString() << " " << index;
    }
}

TEST(SkinMap, DocumentationIsTheGeneratedMap)
{
    QFile doc(QStringLiteral(LOQUENA_SOURCE_DIR) + "/docs/skins.md");
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly)) << "docs/skins.md missing";
    const QString generated = SkinMapMarkdown();
    if (QString::fromUtf8(doc.readAll()) != generated) {
        const QString fresh = QDir::temp().filePath("skins.md");
        QFile out(fresh);
        if (out.open(QIODevice::WriteOnly))
            out.write(generated.toUtf8());
        ADD_FAILURE() << "docs/skins.md is stale: the generated map is in " << fresh.toStdString()
                      << " (and in <work>/skins/skins.md after a data build)";
    }
}

// The data build run once into a temporary folder for the tests below.
class BuiltSkins : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_tmp = new TempDir;
        s_ctx = new DataBuildContext;
        s_ctx->source = QDir(s_tmp->path());
        s_ctx->out = QDir(s_tmp->file("out"));
        s_ctx->work = QDir(s_tmp->file("work"));
        s_ctx->out.mkpath("Data");
        s_ctx->work.mkpath(".");
        BuildSkins(*s_ctx);
    }
    static void TearDownTestSuite()
    {
        delete s_ctx;
        delete s_tmp;
    }
    void SetUp() override { m_width = ScreenWidth, m_height = ScreenHeight, m_colour = ColorMode; }
    void TearDown() override
    {
        SetDisplayModeFor(m_width, m_height);
        ColorMode = m_colour;
    }
    static QString Path(SkinFile f) { return s_ctx->dataPath(SkinFileName(f)); }

    static TempDir* s_tmp;
    static DataBuildContext* s_ctx;
    int m_width = 0, m_height = 0, m_colour = CM_COLOR;
};
TempDir* BuiltSkins::s_tmp = nullptr;
DataBuildContext* BuiltSkins::s_ctx = nullptr;

TEST_F(BuiltSkins, SplashIsAJpegPictureAndSheetsAreDrawn)
{
    QImage splash;
    ASSERT_TRUE(splash.load(s_ctx->dataPath("sp.b"), "JPEG"));
    EXPECT_EQ(splash.size(), QSize(592, 296));
    for (const char* sheet :
         {"sheet_cextb_1280.png", "sheet_cextb_1024.png", "sheet_grwin_1280.png",
          "sheet_grwin_1024.png", "sheet_bttofa_1280.png", "sheet_bttofa_1024.png"})
        EXPECT_TRUE(QFile::exists(s_ctx->work.filePath(QString("skins/") + sheet))) << sheet;
}

TEST_F(BuiltSkins, EveryIndexReadsBackThroughTheContainerReader)
{
    for (SkinFile f : kFiles) {
        CBitmapsContainer bc;
        ASSERT_EQ(bc.Open(Path(f), false), 0) << SkinFileName(f).toStdString();
        for (const SkinIndexRow& row : SkinIndexRows(f)) {
            QImage img;
            ASSERT_EQ(bc.LoadTo(&img, row.index), 0)
                << SkinFileName(f).toStdString() << " " << row.index;
            EXPECT_EQ(img.size(), row.item->size)
                << SkinFileName(f).toStdString() << " " << row.index;
            EXPECT_EQ(img.format(),
                      row.role == "mask" ? QImage::Format_Grayscale8 : QImage::Format_BGR888)
                << SkinFileName(f).toStdString() << " " << row.index;
        }
        // Indices no layout names are empty records.
        QImage none;
        if (f == SkinFile::Cextb) {
            EXPECT_NE(bc.LoadTo(&none, 220), 0);
        }
    }
}

TEST_F(BuiltSkins, ASecondRunRewritesNothing)
{
    const QDateTime before = QFileInfo(s_ctx->dataPath("cextb.bc")).lastModified();
    BuildSkins(*s_ctx);
    EXPECT_EQ(QFileInfo(s_ctx->dataPath("cextb.bc")).lastModified(), before);
}

TEST_F(BuiltSkins, LayoutEntriesLoadInEveryDisplayMode)
{
    // Entries written as the layouts write them, read as the controls read them:
    // in a written mode a size mismatch throws, in a derived one images scale.
    CBitmapsContainer grwin, cextb, bttofa;
    ASSERT_EQ(grwin.Open(Path(SkinFile::Grwin), false), 0);
    ASSERT_EQ(cextb.Open(Path(SkinFile::Cextb), false), 0);
    ASSERT_EQ(bttofa.Open(Path(SkinFile::Bttofa), false), 0);
    struct Mode
    {
        int w, h;
        QSize strip, photo;
    };
    const Mode modes[] = {{1280, 960, {260, 796}, PhotoSize1280},
                          {1024, 768, {210, 638}, PhotoSize1024},
                          {800,
                           600,
                           {162, 497},
                           QSize(PhotoSize1280.width() * 5 / 8, PhotoSize1280.height() * 5 / 8)}};
    for (const Mode& m : modes) {
        SetDisplayModeFor(m.w, m.h);
        // The bookmark strip's image at the paint box's size.
        CDynamicPlace strip;
        strip.Container = &grwin;
        strip.Add(PT_PLACE | PF_CENTERED, 13);
        strip.SetPlace(DM_1280, 28, 92, 260, 796, 0);
        strip.SetPlace(DM_1024, 21, 73, 210, 638, 0);
        strip.Add(PT_BITMAP, 0);
        strip.SetBitmap(DM_1280, 20, -1, -1);
        strip.SetBitmap(DM_1024, 6, -1, -1);
        strip.Set_iCurrent(1);
        const int w = strip.Get_CWidth(), h = strip.Get_CHeight();
        strip.Next();
        std::unique_ptr<QImage> none;
        ASSERT_NO_THROW(none = strip.SuitableBitmap(strip.CurrentDP(), false, w, h)) << m.w;
        EXPECT_EQ(none->size(), QSize(w, h)) << m.w;

        // The photo frame with its mask, and the photo mask.
        CDynamicPlace photo;
        photo.Container = &cextb;
        photo.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        photo.SetBitmap(DM_1280, 201, -1, 202);
        photo.SetBitmap(DM_1024, 198, -1, 199);
        photo.Add(PT_BITMAP, 0);
        photo.SetBitmap(DM_1280, -1, -1, 203);
        photo.SetBitmap(DM_1024, -1, -1, 200);
        photo.Set_iCurrent(1);
        CTransBitmap frame;
        photo.GetTransBitmap(frame);
        ASSERT_TRUE(frame.Image() && frame.Mask());
        EXPECT_EQ(frame.Mask()->size(), frame.Image()->size());
        photo.Next();
        const std::unique_ptr<QImage> mask = photo.SuitableBitmap(photo.CurrentDP(), true, 0, 0);
        EXPECT_EQ(mask->size(), m.photo) << m.w;

        // A hint label that borrows the name label's mask.
        CDynamicPlace label;
        label.Container = &cextb;
        label.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        label.SetBitmap(DM_1280, 217, -1, 207);
        label.SetBitmap(DM_1024, 216, -1, 205);
        label.Set_iCurrent(1);
        CTransBitmap hint;
        ASSERT_NO_THROW(label.GetTransBitmap(hint)) << m.w;
        ASSERT_TRUE(hint.Mask());
        EXPECT_EQ(hint.Mask()->size(), hint.Image()->size());
    }
}

TEST_F(BuiltSkins, MainButtonsComeOutGreyInTheGreyMode)
{
    CBitmapsContainer bttofa;
    ASSERT_EQ(bttofa.Open(Path(SkinFile::Bttofa), false), 0);
    SetDisplayModeFor(1024, 768);
    CDynamicPlace table;
    table.Container = &bttofa;
    table.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    table.SetBitmap(DM_1024, 0, 44, 1); // start, normal
    table.Set_iCurrent(1);
    for (int mode : {CM_COLOR, CM_MONO}) {
        ColorMode = mode;
        CTransBitmap start;
        table.GetTransBitmap(start);
        ASSERT_TRUE(start.Image());
        EXPECT_EQ(start.Image()->convertToFormat(QImage::Format_RGB32).allGray(), mode == CM_MONO);
    }
}

} // namespace
