// The exercise settings pages: task counts bounded by the content, the
// categories and "Wszystkie", the shared naming setting, the automated
// sequences and the paging time, and filling from a patient.
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/COwnMaterial.h"
#include "content/CWords.h"
#include "mainwindow/CMainPage.h"
#include "mainwindow/CSettingsPages.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using TS = CTherapySettings;

// Content: 7 pictures of "Dom i mieszkanie" (3 with a description), 60 of
// "Zwierzęta", 120 proverbs "Znane", 5 activities "Sport".
class SettingsPagesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        const QString path = dir->file("sdrow.qp");
        ASSERT_TRUE(CreateContentDatabase(path));
        {
            CDbConnection db;
            db.Connect(path);
            auto word = [&](int n, const QString& grupy, const QString& opis) {
                const QString nazwa =
                    QStringLiteral("SLOWO") + QChar('A' + n % 26) + QChar('A' + n / 26);
                db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                           "VALUES (?, ?, ?, ?, ?, ?)",
                           {nazwa, nazwa.toLower(), n, grupy, opis, true});
            };
            for (int n = 0; n < 7; ++n)
                word(n, "D", n < 3 ? "opis" : "");
            for (int n = 7; n < 67; ++n)
                word(n, "Z", "");
            for (int n = 0; n < 120; ++n)
                db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) "
                           "VALUES (?, ?, ?, ?, ?)",
                           {n + 1, "pocz", "kon", "Z", true});
            for (int n = 0; n < 5; ++n)
                db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                           "VALUES (?, ?, ?, ?, ?, ?)",
                           {n + 1, "c", "p1", "p2", "S", true});
        }
        words = new CWords;
        ASSERT_TRUE(words->Open(path)) << words->LastError().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete words;
        delete dir;
    }

    void SetUp() override
    {
        SetDisplayModeFor(1024, 768);
        host.resize(574, 544);
        for (int i = 0; i < CSettingsPages::PageCount; ++i) {
            pageWidgets[i] = new QWidget(&host);
            pageWidgets[i]->resize(574, 544);
        }
        pages = std::make_unique<CSettingsPages>(pageWidgets, &patient, words, &updatingCount);
    }

    // Shows one page, as the page control would.
    CSettingsPages::SPage& Show(int exercise)
    {
        for (QWidget* w : pageWidgets)
            w->hide();
        pageWidgets[exercise]->show();
        host.show();
        return pages->Page(exercise);
    }
    static void Click(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    ExeSet& Block(int exercise) { return patient.Settings().Get_ExeSet(exercise); }

    static TempDir* dir;
    static CWords* words;
    CPatient patient;
    int updatingCount = 0;
    QWidget host;
    std::array<QWidget*, CSettingsPages::PageCount> pageWidgets{};
    std::unique_ptr<CSettingsPages> pages;
};

TempDir* SettingsPagesTest::dir = nullptr;
CWords* SettingsPagesTest::words = nullptr;

TEST_F(SettingsPagesTest, FormNamesAndCaptions)
{
    EXPECT_EQ(pageWidgets[0]->objectName(), "tshWybieranieNazwy");
    EXPECT_EQ(pageWidgets[10]->objectName(), "tshPowtarzanieNazwCzynnosci");
    const char* const names[] = {
        "WY_sbLZ",       "WY_cbDom",     "WY_cbWszystkie",  "UK_rbDodLiteryTak",   "PWP_cbTrudne",
        "PWY_rbCztery",  "DC_cbI",       "DC_rbCoRobi",     "WYL_cbCyfry",         "WYL_rbLosowo",
        "PP_sbAutoTime", "PNO_rbCoRobi", "PNC_cbWszystkie", "PNO_gbSposobNazwania"};
    for (const char* name : names)
        EXPECT_NE(host.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(host.findChild<QGroupBox*>("PWY_gbNazwyDoWyboru")->title(), "Zdania do wyboru:");
    EXPECT_EQ(host.findChild<QCheckBox*>("ZO_cbOwoce")->text(), "Owoce i warzywa");
    EXPECT_EQ(host.findChild<QCheckBox*>("PNC_cbU")->text(), "Poruszanie się");
    EXPECT_EQ(pages->Page(TS::WYL).lbTitle->text(), "Zautomatyzowane ciągi słowne");
    EXPECT_TRUE(pages->Page(TS::WYL).sbLZ->isHidden());
}

// Unticking every category leaves 0..0 and no tasks; ticking one brings back
// the wanted count within what the category holds and 50.
TEST_F(SettingsPagesTest, TaskCountFollowsTheCategories)
{
    Block(TS::WY).LZ = 15;
    pages->ShowSettings();
    auto& p = Show(TS::WY);
    EXPECT_EQ(p.sbLZ->minimum(), 1);
    EXPECT_EQ(p.sbLZ->maximum(), 50); // 67 matching, at most 50
    EXPECT_EQ(p.lbLZ->text(), "15");
    EXPECT_TRUE(p.cbWszystkie->isChecked());

    Click(p.cbWszystkie);
    EXPECT_EQ(Block(TS::WY).Flags & 0x1FF, 0);
    EXPECT_EQ(Block(TS::WY).Flags & TS::ChoicesMask, 0x1000); // options untouched
    for (int t = 0; t < 9; ++t)
        EXPECT_FALSE(p.cbKat[t]->isChecked());
    EXPECT_EQ(p.sbLZ->minimum(), 0);
    EXPECT_EQ(p.sbLZ->maximum(), 0);
    EXPECT_EQ(Block(TS::WY).LZ, 0);
    EXPECT_EQ(p.lbLZ->text(), "0");

    Click(p.cbKat[0]); // "Dom i mieszkanie": 7 pictures
    EXPECT_EQ(Block(TS::WY).Flags & 0x1FF, 1);
    EXPECT_EQ(p.sbLZ->maximum(), 7);
    EXPECT_EQ(Block(TS::WY).LZ, 7);
    EXPECT_EQ(p.lbLZ->text(), "7");
    EXPECT_FALSE(p.cbWszystkie->isChecked());

    Click(p.cbKat[1]); // 67 in all: the wanted 15 comes back
    EXPECT_EQ(Block(TS::WY).LZ, 15);
    EXPECT_EQ(p.sbLZ->value(), 15);
    EXPECT_EQ(pages->WantedLZ(TS::WY), 15);

    // Ticking the last ones ticks "Wszystkie".
    for (int t = 2; t < 9; ++t)
        Click(p.cbKat[t]);
    EXPECT_TRUE(p.cbWszystkie->isChecked());
    EXPECT_EQ(Block(TS::WY).Flags, 0x11FF);

    // The bar sets the count and the wanted count.
    p.sbLZ->setValue(33);
    EXPECT_EQ(Block(TS::WY).LZ, 33);
    EXPECT_EQ(p.lbLZ->text(), "33");
    EXPECT_EQ(pages->WantedLZ(TS::WY), 33);
    EXPECT_EQ(updatingCount, 0);
}

TEST_F(SettingsPagesTest, ContentCapsTheCountByKind)
{
    Block(TS::WY).Flags = 0x1001; // "Dom" only: 7 pictures
    Block(TS::WY).LZ = 15;
    Block(TS::ZO).Flags = 0x0001; // 3 described pictures
    Block(TS::PWP).Flags = 0x0001;
    Block(TS::PWP).LZ = 40;       // 120 proverbs
    Block(TS::DC).Flags = 0x5008; // "Sport": 5 activities
    pages->ShowSettings();
    EXPECT_EQ(pages->Page(TS::WY).sbLZ->minimum(), 1);
    EXPECT_EQ(pages->Page(TS::WY).sbLZ->maximum(), 7);
    EXPECT_EQ(pages->Page(TS::WY).lbLZ->text(), "7");
    EXPECT_EQ(Block(TS::WY).LZ, 7);
    EXPECT_EQ(pages->WantedLZ(TS::WY), 15);
    EXPECT_EQ(pages->Page(TS::ZO).sbLZ->maximum(), 3);
    EXPECT_EQ(Block(TS::ZO).LZ, 3);
    EXPECT_EQ(pages->Page(TS::PWP).sbLZ->maximum(), 50);
    EXPECT_EQ(Block(TS::PWP).LZ, 40);
    EXPECT_EQ(pages->Page(TS::DC).sbLZ->maximum(), 5);
    EXPECT_EQ(Block(TS::DC).LZ, 5);

    QScrollBar bar;
    QLabel label;
    EXPECT_THROW(pages->SetMinMax_LZ(&bar, &label, 4, 10, Block(TS::WY)), std::exception);
}

// Showing a patient changes nothing stored but the counts beyond the content
// and the times beyond their bars.
TEST_F(SettingsPagesTest, ShowingChangesNothingButClamping)
{
    TS& s = patient.Settings();
    s.Get_ExeSet(TS::UK).Flags = 0x3002; // "Zwierzęta", hint, extra letters
    s.Get_ExeSet(TS::PWY).Flags = 0x2003;
    s.Get_ExeSet(TS::WYL).Flags = 0x1A000; // days and digits, random, automatic
    s.Get_ExeSet(TS::WYL).LZ = 17;
    s.Get_ExeSet(TS::PP).AutoTime = 3;    // below 6
    s.Get_ExeSet(TS::PNO).AutoTime = 500; // above 240
    s.SetSelected(TS::PP, true);
    ExeSet before[TS::ExerciseCount];
    for (int i = 0; i < TS::ExerciseCount; ++i)
        before[i] = s.Get_ExeSet(i);
    pages->ShowSettings();
    for (int i = 0; i < TS::ExerciseCount; ++i) {
        SCOPED_TRACE(i);
        const ExeSet& now = s.Get_ExeSet(i);
        EXPECT_EQ(now.Flags, before[i].Flags);
        if (i == TS::DC || i == TS::PNC)
            EXPECT_EQ(now.LZ, 5); // 5 activities
        else if (i == TS::ZO)
            EXPECT_EQ(now.LZ, 3); // 3 pictures with a description
        else
            EXPECT_EQ(now.LZ, before[i].LZ);
        if (i == TS::PP)
            EXPECT_EQ(now.AutoTime, 6);
        else if (i == TS::PNO)
            EXPECT_EQ(now.AutoTime, 240);
        else
            EXPECT_EQ(now.AutoTime, before[i].AutoTime);
    }
    EXPECT_EQ(s.Selected(), 1 << TS::PP);

    // The controls show the bits.
    EXPECT_TRUE(pages->Page(TS::UK).rbPodpowiedzTak->isChecked());
    EXPECT_TRUE(pages->Page(TS::UK).rbDodLiteryTak->isChecked());
    EXPECT_TRUE(pages->Page(TS::PWY).rbCztery->isChecked());
    EXPECT_TRUE(pages->Page(TS::WY).rbTrzy->isChecked());
    EXPECT_TRUE(pages->Page(TS::WP).rbPodpowiedzNie->isChecked());
    auto& wyl = pages->Page(TS::WYL);
    EXPECT_EQ(wyl.lbLZ->text(), "17");
    EXPECT_TRUE(wyl.cbDni->isChecked());
    EXPECT_FALSE(wyl.cbMiesiace->isChecked());
    EXPECT_TRUE(wyl.cbCyfry->isChecked());
    EXPECT_TRUE(wyl.rbLosowo->isChecked());
    EXPECT_TRUE(wyl.rbAuto->isChecked());
    EXPECT_EQ(wyl.rbAuto->text(), "Automatycznie co 10 sek.");
    EXPECT_TRUE(pages->Page(TS::PP).rbReczne->isChecked());
    EXPECT_EQ(pages->Page(TS::PP).rbAuto->text(), "Automatycznie co 6 sek.");
    EXPECT_TRUE(pages->Page(TS::DC).rbCoRobi->isChecked());
    EXPECT_TRUE(pages->Page(TS::PNC).rbCoRobi->isChecked());
    EXPECT_EQ(updatingCount, 0);
}

TEST_F(SettingsPagesTest, SequencesAddUpTheirCards)
{
    pages->ShowSettings();
    auto& p = Show(TS::WYL);
    EXPECT_EQ(p.lbLZ->text(), "29");
    Click(p.cbDni);
    EXPECT_EQ(Block(TS::WYL).LZ, 22);
    EXPECT_EQ(p.lbLZ->text(), "22");
    Click(p.cbMiesiace);
    Click(p.cbCyfry);
    EXPECT_EQ(Block(TS::WYL).LZ, 0);
    EXPECT_EQ(p.lbLZ->text(), "0");
    EXPECT_EQ(Block(TS::WYL).Flags & 0xE000, 0);
    Click(p.cbMiesiace);
    EXPECT_EQ(p.lbLZ->text(), "12");

    Click(p.rbLosowo);
    EXPECT_TRUE(Block(TS::WYL).Flags & TS::WylRandomBit);
    Click(p.rbKolejno);
    EXPECT_FALSE(Block(TS::WYL).Flags & TS::WylRandomBit);
    Click(p.rbAuto);
    EXPECT_FALSE(Block(TS::WYL).Flags & TS::ManualPagingBit);
    Click(p.rbReczne);
    EXPECT_TRUE(Block(TS::WYL).Flags & TS::ManualPagingBit);
}

// The naming of activities is one setting, kept in PNC's block.
TEST_F(SettingsPagesTest, NamingIsSharedByBothActivityPages)
{
    Block(TS::PNC).Flags &= ~TS::ActionWhatDoesBit;
    Block(TS::DC).Flags |= TS::ActionWhatDoesBit; // DC's own bit means nothing
    pages->ShowSettings();
    EXPECT_TRUE(pages->Page(TS::DC).rbCoPrzedstawia->isChecked());
    auto& dc = Show(TS::DC);
    Click(dc.rbCoRobi);
    EXPECT_TRUE(Block(TS::PNC).Flags & TS::ActionWhatDoesBit);
    EXPECT_TRUE(pages->Page(TS::PNC).rbCoRobi->isChecked());
    EXPECT_FALSE(pages->Page(TS::PNC).rbCoPrzedstawia->isChecked());

    auto& pnc = Show(TS::PNC);
    Click(pnc.rbCoPrzedstawia);
    EXPECT_FALSE(Block(TS::PNC).Flags & TS::ActionWhatDoesBit);
    EXPECT_TRUE(pages->Page(TS::DC).rbCoPrzedstawia->isChecked());

    // The choices of DC go into DC's own block.
    Click(Show(TS::DC).rbDwa);
    EXPECT_EQ(Block(TS::DC).Flags & TS::ChoicesMask, 0);
    Click(Show(TS::DC).rbCztery);
    EXPECT_EQ(Block(TS::DC).Flags & TS::ChoicesMask, 0x2000);
}

TEST_F(SettingsPagesTest, TimeBarSelectsAutomaticPaging)
{
    pages->ShowSettings();
    auto& p = Show(TS::PNC);
    EXPECT_TRUE(p.rbReczne->isChecked());
    EXPECT_EQ(p.sbAutoTime->minimum(), 12);
    EXPECT_EQ(p.sbAutoTime->maximum(), 240);
    p.sbAutoTime->setValue(30);
    EXPECT_EQ(Block(TS::PNC).AutoTime, 30);
    EXPECT_EQ(p.rbAuto->text(), "Automatycznie co 30 sek.");
    EXPECT_TRUE(p.rbAuto->isChecked());
    EXPECT_FALSE(Block(TS::PNC).Flags & TS::ManualPagingBit);
    EXPECT_TRUE(Block(TS::PNC).Flags & TS::ActionWhatDoesBit); // naming untouched

    // The hints and extra letters of UK.
    auto& uk = Show(TS::UK);
    Click(uk.rbPodpowiedzTak);
    Click(uk.rbDodLiteryTak);
    EXPECT_EQ(Block(TS::UK).Flags & 0x3000, 0x3000);
    Click(uk.rbPodpowiedzNie);
    EXPECT_EQ(Block(TS::UK).Flags & 0x3000, 0x2000);
}

// 800x600: everything shrinks with the page; the task count goes up under
// the title, the categories under it, the paging group beside it, and the
// other right-hand groups stay in line with the left-hand column.
TEST_F(SettingsPagesTest, SmallScreenLayout)
{
    SetDisplayModeFor(800, 600);
    for (QWidget* w : pageWidgets)
        w->resize(448, 424);
    pages->AdjustForDisplayMode();
    for (int e = 0; e < CSettingsPages::PageCount; ++e) {
        SCOPED_TRACE(e);
        auto& p = pages->Page(e);
        QGroupBox* below = p.gbKat ? p.gbKat : p.gbTypyWyliczanek;
        EXPECT_EQ(p.gbLZ->geometry(), QRect(25, p.bevTitle->y() + 10, 144, 94));
        EXPECT_EQ(below->y(), p.gbLZ->geometry().bottom() + 1);
        EXPECT_EQ(p.gbLZ->font().pixelSize(), 13);
        EXPECT_EQ(p.lbLZ->font().pixelSize(), 23);
        if (p.gbPrzewijanie) {
            EXPECT_EQ(p.gbPrzewijanie->geometry(), QRect(170, p.gbLZ->y(), 448 - 170, 94));
            // The time bar keeps its distances to the group's edges.
            EXPECT_EQ(p.sbAutoTime->geometry(), QRect(25, 68, 448 - 170 - 25 - 19, 13));
        }
        for (QGroupBox* g :
             {p.gbNazwyDoWyboru, p.gbPodpowiedz, p.gbDodLitery, p.gbSposobNazwania, p.gbKolejnosc})
            if (g) {
                EXPECT_TRUE(g->y() == p.gbLZ->y() || g->y() == below->y())
                    << g->objectName().toStdString();
            }
    }
    EXPECT_EQ(pages->Page(TS::DC).gbSposobNazwania->y(), pages->Page(TS::DC).gbKat->y());
    EXPECT_EQ(pages->Page(TS::UK).gbDodLitery->y(), pages->Page(TS::UK).gbKat->y());
    EXPECT_EQ(pages->Page(TS::WY).gbNazwyDoWyboru->y(), pages->Page(TS::WY).gbLZ->y());
    SetDisplayModeFor(1024, 768);
}

// Pages of the window's page control bring their own title and rule.
TEST_F(SettingsPagesTest, PagesWithTheirOwnTitles)
{
    QWidget control;
    std::array<QWidget*, CSettingsPages::PageCount> own{};
    const char* const codes[] = {"WY", "UK",  "WP", "ZO",  "PWP", "PWY",
                                 "DC", "WYL", "PP", "PNO", "PNC"};
    for (int i = 0; i < CSettingsPages::PageCount; ++i) {
        const QByteArray title = QByteArray("lb") + codes[i] + "_Title";
        const QByteArray rule = QByteArray("bev") + codes[i] + "_Title";
        own[i] = new CMainPage(&control, "tshPage", QStringLiteral("Tytuł"), title.constData(),
                               rule.constData());
    }
    CSettingsPages other(own, &patient, words);
    for (int i = 0; i < CSettingsPages::PageCount; ++i) {
        SCOPED_TRACE(i);
        auto* page = static_cast<CMainPage*>(own[i]);
        EXPECT_EQ(other.Page(i).lbTitle, page->Title());
        EXPECT_EQ(other.Page(i).bevTitle, page->Rule());
        EXPECT_EQ(page->findChildren<QLabel*>(page->Title()->objectName()).size(), 1);
        EXPECT_EQ(page->objectName(), "tshPage");
    }
}

} // namespace

namespace {

// "Własne": a tenth box on the picture pages, outside "Wszystkie", that
// stands for bit 9 and counts the own words (here two for everyone and one
// for another patient).
TEST_F(SettingsPagesTest, OwnCategoryBoxOnThePicturePages)
{
    TempDir ownDir;
    COwnMaterial own(ownDir.path());
    ASSERT_TRUE(own.Open());
    for (const auto& [name, patient] :
         {std::pair{"MAMA", -1}, std::pair{"TATA", -1}, std::pair{"BUREK", 999}}) {
        COwnWord word;
        word.Nazwa = name;
        word.Pacjent = patient;
        COwnMaterial::SMedia media;
        media.Voice = MakeWave(22050, 1, 16, 4000);
        ASSERT_TRUE(own.Save(word, media)) << own.LastError().toStdString();
    }
    words->SetOwnWords(own);
    struct Restore
    {
        ~Restore()
        {
            TempDir empty;
            COwnMaterial none(empty.path());
            none.Open();
            words->SetOwnWords(none);
        }
    } restore;

    for (int e : {TS::WY, TS::UK, TS::WP, TS::ZO, TS::PNO})
        EXPECT_EQ(pages->Page(e).cbWlasne->text(), "Własne") << e;
    for (int e : {TS::DC, TS::PNC, TS::PWP, TS::PP})
        EXPECT_EQ(pages->Page(e).cbWlasne, nullptr) << e;

    Block(TS::WY) = {15, 0, 0x11FF}; // stored before "Własne" existed
    pages->ShowSettings();
    auto& p = Show(TS::WY);
    EXPECT_TRUE(p.cbWszystkie->isChecked());
    EXPECT_FALSE(p.cbWlasne->isChecked());
    EXPECT_EQ(p.sbLZ->maximum(), 50);

    Click(p.cbWszystkie); // all nine off: "Własne" keeps its state
    EXPECT_FALSE(p.cbWlasne->isChecked());
    EXPECT_EQ(p.sbLZ->maximum(), 0);
    Click(p.cbWlasne);
    EXPECT_EQ(Block(TS::WY).Flags, 0x1200);
    EXPECT_FALSE(p.cbWszystkie->isChecked());
    EXPECT_EQ(p.sbLZ->maximum(), 2); // BUREK belongs to another patient
    EXPECT_EQ(p.lbLZ->text(), "2");
    Click(p.cbWszystkie);
    EXPECT_EQ(Block(TS::WY).Flags, 0x13FF);
    EXPECT_TRUE(p.cbWlasne->isChecked());
    Click(p.cbWlasne);
    EXPECT_EQ(Block(TS::WY).Flags, 0x11FF);
    EXPECT_TRUE(p.cbWszystkie->isChecked());
}

} // namespace
