// Therapy settings: choosing and ordering exercises, the option helpers, and
// the stored form in a real patient table.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbTable.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int> OrderOf(const CTherapySettings& settings)
{
    return std::vector<int>(settings.Order().begin(), settings.Order().end());
}

QString ErrorOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const CError& error) {
        return error.Message();
    }
    return QString();
}

} // namespace

TEST(TherapySettings, DefaultsAndTheIndexRange)
{
    CTherapySettings settings;
    const int expected[11][3] = {
        {10, 0, 0x11FF},  {10, 0, 0x01FF},  {10, 0, 0x01FF},  {10, 0, 0x01FF},
        {10, 0, 0x0001},  {10, 0, 0x1001},  {10, 0, 0x51FF},  {29, 10, 0xF000},
        {10, 10, 0x1001}, {10, 10, 0x11FF}, {10, 15, 0x51FF},
    };
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(settings.Get_ExeSet(i).LZ, expected[i][0]);
        EXPECT_EQ(settings.Get_ExeSet(i).AutoTime, expected[i][1]);
        EXPECT_EQ(settings.Get_ExeSet(i).Flags, expected[i][2]);
    }
    EXPECT_EQ(settings.Selected(), 0);
    EXPECT_EQ(settings.SelectedCount(), 0);
    for (int bad : {11, -1}) {
        EXPECT_EQ(ErrorOf([&] { settings.Get_ExeSet(bad); }),
                  "CTherapySettings::Get_ExeSet - Przekroczony zakres indeksu");
    }

    // Reset brings every change back.
    settings.Get_ExeSet(3).LZ = 4;
    settings.SetSelected(5, true);
    settings.SetWylDays(false);
    settings.Reset();
    EXPECT_EQ(settings.Get_ExeSet(3).LZ, 10);
    EXPECT_EQ(settings.Get_ExeSet(7).LZ, 29);
    EXPECT_EQ(settings.Selected(), 0);
    EXPECT_TRUE(OrderOf(settings).empty());
}

TEST(TherapySettings, OrderFollowsTheOrderOfChoosing)
{
    CTherapySettings settings;
    settings.SetSelected(2, true);
    settings.SetSelected(0, true);
    settings.SetSelected(10, true);
    settings.SetSelected(0, true); // already chosen: stays where it is
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{2, 0, 10}));
    EXPECT_EQ(settings.Selected(), 0x405);

    settings.SetSelected(3, false); // not chosen: nothing changes
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{2, 0, 10}));
    settings.SetSelected(0, false);
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{2, 10}));
    EXPECT_EQ(settings.Selected(), 0x404);
    EXPECT_EQ(settings.SelectedCount(), 2);
}

TEST(TherapySettings, SelectedMaskKeepsPlacesAndAppendsNewInIndexOrder)
{
    CTherapySettings settings;
    settings.SetSelected(2, true);
    settings.SetSelectedMask(0x5); // bits 0 and 2
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{2, 0}));

    settings.SetSelected(9, true);
    settings.SetSelectedMask((1 << 9) | (1 << 7) | (1 << 2) | (1 << 1)); // drops 0, adds 1 and 7
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{2, 9, 1, 7}));
    EXPECT_EQ(settings.Selected(), (1 << 9) | (1 << 7) | (1 << 2) | (1 << 1));

    settings.SetSelectedMask(0);
    EXPECT_EQ(settings.SelectedCount(), 0);
}

TEST(TherapySettings, ChoicesAndWordSequences)
{
    struct Case
    {
        int n;
        int bits;
    };
    for (const Case c :
         {Case{2, 0x0000}, Case{3, 0x1000}, Case{4, 0x2000}, Case{1, 0x0000}, Case{5, 0x0000}}) {
        SCOPED_TRACE(c.n);
        ExeSet block{10, 0, 0x31FF};
        CTherapySettings::SetChoices(block, c.n);
        EXPECT_EQ(block.Flags, 0x01FF | c.bits); // the categories stay
    }

    CTherapySettings settings;
    ExeSet& wyl = settings.Get_ExeSet(7);
    settings.SetWylDigits(false);
    settings.SetWylDigits(false); // already off: subtracted once
    EXPECT_EQ(wyl.LZ, 19);
    EXPECT_EQ(wyl.Flags & 0x8000, 0);
    settings.SetWylDigits(true);
    EXPECT_EQ(wyl.LZ, 29);
    settings.SetWylDays(false);
    settings.SetWylMonths(false);
    settings.SetWylDigits(false);
    EXPECT_EQ(wyl.LZ, 0);
    EXPECT_EQ(wyl.Flags, 0x1000); // manual paging kept
    settings.SetWylMonths(true);
    EXPECT_EQ(wyl.LZ, 12);
    EXPECT_EQ(wyl.Flags, 0x5000);
}

class TherapySettingsStore : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        connection.Connect(path);
        table.SetTableName("Pacjenci");
        table.Open();
        table.Append();
        table.FieldByName("NazwiskoImie").SetString("Nowak Jan");
        table.Post();
    }

    // Writes raw values into the patient's row: CwWybrane and column
    // WY_L + offset.
    void WriteRaw(const QString& letters, const std::vector<std::pair<int, qint64>>& columns)
    {
        const int k = table.FieldIndex("WY_L");
        table.Edit();
        table.FieldByName("CwWybrane").SetString(letters);
        for (const auto& [offset, value] : columns)
            table.Fields(k + offset).SetInteger(value);
        table.Post();
    }

    CDbConnection connection;
    CDbTable table{&connection};
};

INSTANTIATE_ON_BOTH_STORES(TherapySettingsStore);

TEST_P(TherapySettingsStore, StoredFormLettersAndPackedColumns)
{
    CTherapySettings settings;
    settings.SetSelected(2, true);  // WP
    settings.SetSelected(0, true);  // WY
    settings.SetSelected(10, true); // PNC
    settings.Get_ExeSet(9).LZ = 12;
    settings.Get_ExeSet(9).AutoTime = 240;
    settings.Get_ExeSet(10).Flags = 0x11FF; // "Co przedstawia?": bit 14 clear
    settings.Save(table);
    EXPECT_EQ(table.State(), CDbDataSet::EState::Browse);

    // Read back from the file, not from the data set's copy.
    table.Close();
    table.Open();
    EXPECT_EQ(table.FieldByName("CwWybrane").AsString(), "CAK");
    const int k = table.FieldIndex("WY_L");
    EXPECT_EQ(table.FieldName(k + 1), "WY_F");
    EXPECT_EQ(table.Fields(k + 2 * 9).AsInteger(), (240 << 16) | 12);
    EXPECT_EQ(table.Fields(k + 2 * 7).AsInteger(), (10 << 16) | 29);
    EXPECT_EQ(table.Fields(k + 2 * 10 + 1).AsInteger() & 0x4000, 0);
    EXPECT_EQ(table.Fields(k + 2 * 6 + 1).AsInteger(), 0x51FF); // DC's own flags untouched

    CTherapySettings loaded;
    loaded.Load(table);
    EXPECT_EQ(OrderOf(loaded), (std::vector<int>{2, 0, 10}));
    EXPECT_EQ(loaded.Selected(), settings.Selected());
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(loaded.Get_ExeSet(i).LZ, settings.Get_ExeSet(i).LZ);
        EXPECT_EQ(loaded.Get_ExeSet(i).AutoTime, settings.Get_ExeSet(i).AutoTime);
        EXPECT_EQ(loaded.Get_ExeSet(i).Flags, settings.Get_ExeSet(i).Flags);
    }
}

TEST_P(TherapySettingsStore, LoadReadsLettersCaseBlindAndUnpacksColumns)
{
    // k, B, a space and a: PNC, UK, WY in that order; high half 15, low 12.
    WriteRaw("kB a", {{0, (15 << 16) | 12}, {1, 0x11FF}});
    CTherapySettings settings;
    settings.SetSelected(5, true); // whatever was there before is reset
    settings.Load(table);
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{10, 1, 0}));
    EXPECT_EQ(settings.Get_ExeSet(0).LZ, 12);
    EXPECT_EQ(settings.Get_ExeSet(0).AutoTime, 15);

    // A value with the top bit set unpacks without a sign.
    WriteRaw("z!", {{0, qint64(0xFFFF0003u)}});
    settings.Load(table);
    EXPECT_EQ(settings.SelectedCount(), 0);
    EXPECT_EQ(settings.Get_ExeSet(0).LZ, 3);
    EXPECT_EQ(settings.Get_ExeSet(0).AutoTime, 0xFFFF);
}

TEST_P(TherapySettingsStore, FixCountsGivesATaskToBlocksWithCategories)
{
    struct Case
    {
        int exercise;
        int flags;
        int expectedLZ;
    };
    const Case cases[] = {
        {0, 0x0001, 1},  // WY with a category
        {0, 0x1000, 0},  // WY with options only: no category
        {4, 0x0010, 0},  // PWP: bit 4 is not a proverb category
        {4, 0x0008, 1},  // PWP: the fourth proverb category
        {8, 0x1002, 1},  // PP
        {9, 0x0100, 1},  // PNO: the ninth picture category
        {7, 0xF000, 0},  // WYL is never touched
        {10, 0x4000, 0}, // PNC with the naming bit only
        {0, 0x1200, 1},  // WY with "Własne" alone
        {3, 0x0200, 1},  // ZO with "Własne" alone
        {6, 0x0200, 0},  // DC: bit 9 is no activity category
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exercise);
        SCOPED_TRACE(c.flags);
        WriteRaw("", {{2 * c.exercise, 0}, {2 * c.exercise + 1, c.flags}});
        CTherapySettings settings;
        settings.Load(table);
        EXPECT_EQ(settings.Get_ExeSet(c.exercise).LZ, c.expectedLZ);
        EXPECT_EQ(settings.Get_ExeSet(c.exercise).Flags, c.flags);
    }
}

TEST_P(TherapySettingsStore, TableWithoutSettingsColumns)
{
    connection.Execute("CREATE TABLE Inna (id " + IntegerKey() + ", CwWybrane TEXT, WY_L INTEGER)");
    connection.Execute("INSERT INTO Inna (CwWybrane, WY_L) VALUES ('BA', 5)");
    CDbTable other(&connection);
    other.SetTableName("Inna");
    other.Open();

    // Too few columns after WY_L: the letters are read, the blocks keep the
    // defaults.
    CTherapySettings settings;
    settings.Load(other);
    EXPECT_EQ(OrderOf(settings), (std::vector<int>{1, 0}));
    EXPECT_EQ(settings.Get_ExeSet(0).LZ, 10);

    // Saving there fails before anything is written.
    EXPECT_FALSE(ErrorOf([&] { settings.Save(other); }).isEmpty());
    EXPECT_EQ(other.State(), CDbDataSet::EState::Browse);
}
