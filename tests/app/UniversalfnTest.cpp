#include "app/Universalfn.h"

#include "common/TempDir.h"

#include <QFile>
#include <QSettings>
#include <QSize>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Universalfn, UpperPL)
{
    const struct
    {
        QString in, out;
    } cases[] = {
        {"żółw", "ŻÓŁW"},
        {"ąę", "ĄĘ"},
        {"źdźbło ćma śnieg ńa", "ŹDŹBŁO ĆMA ŚNIEG ŃA"},
        {"abcxyz", "ABCXYZ"},
        {"ÄäéÖ 1-2 ĄŁ", "ÄäéÖ 1-2 ĄŁ"}, // other letters stay as they are
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperPL(c.in), c.out) << c.in.toStdString();
        EXPECT_EQ(UpperPL(c.in).size(), c.in.size());
    }
}

TEST(Universalfn, SmallTextFunctions)
{
    EXPECT_EQ(IntToStrZero(7, 3), "007");
    EXPECT_EQ(IntToStrZero(1234, 3), "1234");
    EXPECT_EQ(IntToStrZero(0, 0), "0");
    EXPECT_EQ(IntToStrZero(-5, 4), "00-5");

    EXPECT_EQ(RepeatText("ab", 3), "ababab");
    EXPECT_EQ(RepeatText("ab", 0), "");
    EXPECT_EQ(RepeatText("ab", -2), "");
    EXPECT_EQ(RepeatText("", 5), "");

    EXPECT_EQ(WordCount("  a  bb c "), 3);
    EXPECT_EQ(WordCount(""), 0);
    EXPECT_EQ(WordCount("    "), 0);
    EXPECT_EQ(WordCount("słowo"), 1);
    EXPECT_EQ(WordCount("a\tb"), 1); // only the space separates

    EXPECT_EQ(DateToText(QDate(2012, 3, 5)), "05.03.2012");
    EXPECT_EQ(DateToText(QDate(1999, 12, 31)), "31.12.1999");
}

TEST(Universalfn, ExtendByWordRevealsOneWordAtATime)
{
    const QString source = "  Nie ma dymu";
    const struct
    {
        QString prefix, out;
    } cases[] = {
        {"", "  Nie"},
        {"  Nie", "  Nie ma"},
        {"  Nie ma", "  Nie ma dymu"},
        {"  Nie ma dymu", "  Nie ma dymu"},
        {"  Ni", "  Nie"}, // a word cut in the middle is finished
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtendByWord(c.prefix, source), c.out) << c.prefix.toStdString();
    EXPECT_EQ(ExtendByWord("", ""), "");
}

TEST(Universalfn, LeftCharactersCountsCodePoints)
{
    const QString clef = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units
    struct SCase
    {
        QString text;
        int count;
        QString out;
    } cases[] = {
        {"Żółw", 3, "Żół"},
        {"Żółw", 4, "Żółw"},
        {"Żółw", 10, "Żółw"},
        {"ab" + clef + "c", 3, "ab" + clef},
        {"ab" + clef + "c", 2, "ab"},
        {clef + clef + clef, 2, clef + clef},
        {"", 5, ""},
        {"abc", 0, ""},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(LeftCharacters(c.text, c.count), c.out) << c.text.toStdString() << c.count;
    // A lone half of a pair counts as one character of its own.
    EXPECT_EQ(LeftCharacters(QString(clef.at(0)) + "x", 1), QString(clef.at(0)));
}

TEST(Universalfn, ToLetterHex)
{
    const struct
    {
        std::uint32_t value;
        int digits;
        const char* out;
    } cases[] = {
        {0, 1, "A"},  {0, 0, "A"},   {255, 1, "PP"},     {26, 4, "AABK"},
        {15, 1, "P"}, {16, 1, "BA"}, {1, 8, "AAAAAAAB"}, {0xFFFFFFFF, 1, "PPPPPPPP"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToLetterHex(c.value, c.digits), c.out) << c.value;
}

TEST(Universalfn, FileExistsAndDiskSpace)
{
    TempDir dir;
    QFile file(dir.file("a.wav"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExistsEx(dir.file("a.wav")));
    EXPECT_FALSE(FileExistsEx(dir.file("b.wav")));
    EXPECT_FALSE(FileExistsEx(""));
    // A folder is not a file, with or without its closing slash.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Nagrania"));
    EXPECT_FALSE(FileExistsEx(dir.file("Nagrania")));
    EXPECT_FALSE(FileExistsEx(dir.file("Nagrania") + '/'));
    EXPECT_FALSE(FileExistsEx(dir.path()));

    std::uint64_t total = 1, free = 1;
    ASSERT_TRUE(DiskSpace(dir.path(), &total, &free));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    EXPECT_TRUE(DiskSpace(dir.path(), nullptr, &free));

    EXPECT_FALSE(DiskSpace(dir.file("no/such/folder"), &total, &free));
    EXPECT_EQ(total, 0u);
    EXPECT_EQ(free, 0u);
}

namespace {

// Two images whose every pixel tells where it came from: source pixels are
// (x, y, 1), dest pixels start as (0, 0, 0).
struct Canvases
{
    QImage source{100, 80, QImage::Format_BGR888};
    QImage dest{100, 80, QImage::Format_BGR888};
    Canvases()
    {
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixelColor(x, y, QColor(x, y, 1));
        dest.fill(Qt::black);
    }
    QRegion Copied() const
    {
        QRegion r;
        for (int y = 0; y < dest.height(); ++y)
            for (int x = 0; x < dest.width(); ++x)
                if (dest.pixelColor(x, y).blue() == 1)
                    r += QRect(x, y, 1, 1);
        return r;
    }
    // Every copied pixel came from the source at offset (dx, dy) back.
    bool CameFrom(int dx, int dy) const
    {
        for (const QRect& r : Copied())
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (dest.pixelColor(x, y) != QColor(x - dx, y - dy, 1))
                        return false;
        return true;
    }
};

bool SameArea(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

} // namespace

TEST(Universalfn, RestoreUncoveredCopiesWhatTheMovedBlockLeft)
{
    // A 40 x 40 block at (20, 20).
    const struct
    {
        int dx, dy;
        QRegion expected;
    } cases[] = {
        // Left strip 10 wide and bottom strip 5 high of the old rectangle.
        {10, -5, QRegion(20, 20, 10, 35) + QRegion(20, 55, 40, 5)},
        {-10, 5, QRegion(50, 25, 10, 35) + QRegion(20, 20, 40, 5)},
        {0, 7, QRegion(20, 20, 40, 7)},
        {-3, 0, QRegion(57, 20, 3, 40)},
        {0, 0, QRegion()},
        {50, 0, QRegion(20, 20, 40, 40)}, // no overlap: the whole old block
        {0, -40, QRegion(20, 20, 40, 40)},
    };
    for (const auto& c : cases) {
        Canvases canvas;
        const QRegion changed =
            RestoreUncovered(canvas.dest, canvas.source, 20 + c.dx, 20 + c.dy, 20, 20, 60, 60);
        EXPECT_TRUE(SameArea(canvas.Copied(), c.expected)) << c.dx << "," << c.dy;
        EXPECT_TRUE(SameArea(changed, c.expected)) << c.dx << "," << c.dy;
        EXPECT_TRUE(canvas.CameFrom(0, 0));
    }
}

TEST(Universalfn, RestoreUncoveredStaysInsideTheImages)
{
    Canvases canvas;
    const QRegion changed = RestoreUncovered(canvas.dest, canvas.source, 90, 70, 80, 60, 120, 100);
    // Moved by (10, 10) from (80, 60); the image ends at 100 x 80.
    const QRegion inside = QRegion(80, 60, 20, 10) + QRegion(80, 70, 10, 10);
    EXPECT_TRUE(SameArea(changed, inside));
    EXPECT_TRUE(SameArea(canvas.Copied(), inside));
}

TEST(Universalfn, RestoreFrameCopiesTheRingMoved)
{
    // Outer 48 x 48 at (10, 10) with a 4-pixel ring around a 40 x 40 inner block,
    // drawn at (30, 20) on dest.
    const QRect outer(10, 10, 48, 48);
    Canvases canvas;
    const QRegion changed = RestoreFrame(canvas.dest, 30, 20, 14, 14, 54, 54, outer, canvas.source);
    const QRegion ring = QRegion(30, 20, 48, 48) - QRegion(34, 24, 40, 40);
    EXPECT_TRUE(SameArea(canvas.Copied(), ring));
    EXPECT_TRUE(SameArea(changed, ring));
    EXPECT_TRUE(canvas.CameFrom(20, 10));

    // An inner rectangle that covers the height leaves only the side bands.
    Canvases sides;
    RestoreFrame(sides.dest, 10, 10, 14, 0, 54, 80, outer, sides.source);
    EXPECT_TRUE(SameArea(sides.Copied(), QRegion(10, 10, 4, 48) + QRegion(54, 10, 4, 48)));
    // An inner rectangle as large as the outer one copies nothing.
    Canvases none;
    EXPECT_TRUE(RestoreFrame(none.dest, 10, 10, 10, 10, 58, 58, outer, none.source).isEmpty());
}

TEST(Universalfn, RestoreWorksAcrossImageFormats)
{
    Canvases canvas;
    QImage screen(100, 80, QImage::Format_RGB32); // a widget's back-buffer
    screen.fill(Qt::black);
    RestoreUncovered(screen, canvas.source, 30, 20, 20, 20, 60, 60);
    EXPECT_EQ(screen.pixelColor(25, 30), QColor(25, 30, 1));
    EXPECT_EQ(screen.pixelColor(35, 30), QColor(Qt::black));
}

class SettingsStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    TempDir m_dir;
};

TEST_F(SettingsStore, TextRoundTripsAndOtherTypesFailTheRead)
{
    QString out = "old";
    EXPECT_FALSE(RegReadText("", "LowResAccept", out));
    EXPECT_EQ(out, "");

    ASSERT_TRUE(RegWriteText("", "LowResAccept", "true"));
    EXPECT_TRUE(RegReadText("", "LowResAccept", out));
    EXPECT_EQ(out, "true");
    ASSERT_TRUE(RegWriteText("Group", "Name", "zażółć"));
    EXPECT_TRUE(RegReadText("Group", "Name", out));
    EXPECT_EQ(out, "zażółć");

    {
        QSettings other("Varentis", "Loquena.czI");
        other.setValue("Size", QSize(3, 4));
        other.setValue("Bytes", QByteArray("\x01\x02", 2));
        other.setValue("List", QStringList{"a", "b"});
        other.sync();
    }
    for (const char* name : {"Size", "Bytes", "List"}) {
        out = "old";
        EXPECT_FALSE(RegReadText("", name, out)) << name;
        EXPECT_EQ(out, "") << name;
    }
}

TEST_F(SettingsStore, WriteFailsWhenTheStoreCannotBeWritten)
{
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.file("sub"));
    const bool stored = RegWriteText("", "LowResAccept", "true");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (getuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    EXPECT_FALSE(stored);
}
