#pragma once
// Ground of the typing exercises' tests: the 1024 x 768 layout in colour, a
// shown host window standing in for the therapy window with its exercise
// area, photo control, alphabet and hint button built from the therapy
// window's tables, a tiny skin container and photo archive, and a content
// database of a few words (some with a riddle) and proverbs. Draws take the
// records in table order.
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "exercises/CExercise.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CStatEx.h"
#include "therapy/CTherapyPlaces.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace wp_fixture {

constexpr QRgb BackColour = 0xff102030;
constexpr int PlaceholderIndex = 344;
constexpr QSize PhotoMaskSize(490, 368);

// Every skin image the typing exercises, the photo control and the alphabet
// read in the 1024 layout; masks are opaque.
inline QSize SkinSize(int i)
{
    struct SRange
    {
        int first, last, w, h;
    };
    static const SRange ranges[] = {
        {198, 199, 500, 376}, {200, 200, 490, 368}, {204, 205, 400, 58},  {216, 216, 400, 58},
        {228, 229, 800, 120}, {236, 237, 58, 58},   {240, 271, 58, 58},   {328, 329, 900, 150},
        {332, 333, 600, 70},  {342, 342, 600, 70},  {344, 344, 490, 368},
    };
    for (const SRange& r : ranges)
        if (i >= r.first && i <= r.last)
            return QSize(r.w, r.h);
    return QSize();
}

inline bool IsMask(int i)
{
    return i == 199 || i == 200 || i == 205 || i == 229 || i == 237 || i == 329 || i == 333;
}

// A flat colour that tells the index.
inline QRgb SkinColour(int i)
{
    return qRgb((i * 37) % 200 + 40, (i * 59) % 200 + 40, (i * 83) % 200 + 40);
}

inline QImage SkinImage(int i)
{
    const QSize size = SkinSize(i);
    if (IsMask(i)) {
        QImage m(size, QImage::Format_Grayscale8);
        m.fill(255);
        return m;
    }
    QImage img(size, QImage::Format_BGR888);
    img.fill(QColor::fromRgb(SkinColour(i)));
    return img;
}

inline QRgb PhotoColour(int i)
{
    return qRgb(250, 20 + i * 20, 10);
}

struct SWord
{
    const char* Nazwa;
    const char* Opis;
};
// In table order; all of category "D", BCIndex = position.
inline const SWord Words[] = {
    {"KOT", "Miauczy i łapie myszy."},
    {"DOM", ""},
    {"RYBA", "Pływa w wodzie."},
    {"LAS", ""},
};
struct SProverb
{
    const char* Pocz;
    const char* Kon;
};
inline const SProverb Proverbs[] = {
    {"GDZIE DWÓCH SIĘ BIJE", "TAM TRZECI KORZYSTA"},
    {"BEZ PRACY", "NIE MA KOŁACZY"},
};

} // namespace wp_fixture

// Stands in for the therapy window's keyboard: a key's character goes to the
// alphabet as a press of its letter, once while the key is held.
class SKeyHost : public QWidget
{
public:
    CKompAlphabet* Alphabet = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString text = event->text();
        if (text.isEmpty() || !Alphabet || text[0] == m_last)
            return;
        m_last = text[0];
        Alphabet->KeyPress(text[0]);
    }
    void keyReleaseEvent(QKeyEvent*) override { m_last = QChar(); }

private:
    QChar m_last;
};

// Fixes the display mode before any placement table of the fixture is made,
// so that none asks for it.
struct SFixedMode
{
    SFixedMode() { SetDisplayModeFor(1024, 768); }
};

class TypingExerciseTest : public ::testing::Test
{
protected:
    SFixedMode mode;

    void SetUp() override
    {
        using namespace wp_fixture;
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 0;

        CBitmapsContainerWriter skins;
        for (int i = 0; i < 400; ++i)
            if (SkinSize(i).isValid())
                skins.Set(i, SkinImage(i), CBitmapsContainerWriter::Encoding::Bmp);
        ASSERT_TRUE(skins.Save(dir.file("cextb.bc")));
        ASSERT_EQ(container.Open(dir.file("cextb.bc"), false), CBitmapsContainer::BC_OK);
        CBitmapsContainerWriter photos;
        for (int i = 0; i < 4; ++i) {
            QImage img(PhotoMaskSize, QImage::Format_BGR888);
            img.fill(QColor::fromRgb(PhotoColour(i)));
            photos.Set(i, img, CBitmapsContainerWriter::Encoding::Bmp);
        }
        ASSERT_TRUE(photos.Save(dir.file("zdjar3.bb")));
        ASSERT_EQ(archive.Open(dir.file("zdjar3.bb"), false), CBitmapsContainer::BC_OK);
        ASSERT_TRUE(WriteContent(dir.file("sdrow.qp")));
        ASSERT_TRUE(words.Open(dir.file("sdrow.qp"))) << words.LastError().toStdString();
        words.SetRandomSource([](int) { return 0; });

        window = std::make_unique<SKeyHost>();
        window->setGeometry(0, 0, 1024, 768);
        area = new QWidget(window.get());
        area->setGeometry(0, 0, 1024, 700);
        bitmap = std::make_unique<QImage>(1024, 700, QImage::Format_BGR888);
        komps = std::make_unique<CSharedKomps>(window.get());
        komps->Container = &container;
        komps->ExerciseBitmap = bitmap.get();
        komps->ExerciseArea = area;
        komps->Words = &words;
        komps->DelayCall = &delayCall;
        komps->LoadLetterBitmaps();

        photoTable.Container = &container;
        CTherapyPlaces::FillPhoto(photoTable);
        photo = new CKompPhoto(window.get(), bitmap.get(), bitmap.get());
        photo->Archive = &archive;
        photo->Place(photoTable, 0, 0);
        photo->hide();
        alphabetTable.Container = &container;
        CTherapyPlaces::FillAlphabet(alphabetTable);
        alphabet = new CKompAlphabet(window.get(), bitmap.get(), bitmap.get());
        alphabet->Create(alphabetTable, 0, komps->Letters, 0);
        alphabet->MoveTo(area->width() / 2 - alphabet->width() / 2,
                         area->height() - alphabet->height());
        alphabet->hide();
        hintButton = new CTransButton(window.get(), 0, std::function<void()>{}, nullptr);
        komps->Photo = photo;
        komps->KompAlphabet = alphabet;
        komps->HintButton = hintButton;
        window->Alphabet = alphabet;

        colours.Container = &container;
        colours.Add(PT_COLOR, 0);
        // Colours in the table are 0x00BBGGRR.
        colours.SetColor(
            DM_1024, (qBlue(BackColour) << 16) | (qGreen(BackColour) << 8) | qRed(BackColour), -1);
        colours.Set_iCurrent(1);

        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        StopContentSound();
        komps.reset();
        window.reset();
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 1400;
    }

    static bool WriteContent(const QString& path)
    {
        using namespace wp_fixture;
        if (!CreateContentDatabase(path))
            return false;
        CDbConnection db;
        db.Connect(path);
        int i = 0;
        for (const SWord& w : Words) {
            const QString name = QString::fromUtf8(w.Nazwa);
            db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                       "VALUES (?, ?, ?, 'D', ?, 1)",
                       {name, name.toLower(), i++, QString::fromUtf8(w.Opis)});
        }
        i = 1;
        for (const SProverb& p : Proverbs) {
            db.Execute(
                "INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, 'Z', 1)",
                {i++, QString::fromUtf8(p.Pocz), QString::fromUtf8(p.Kon)});
        }
        db.Disconnect();
        return true;
    }

    // The settings of one exercise: `tasks` tasks of category bit 0, with or
    // without the automatic hint.
    void Settings(int index, int tasks, bool autoHint)
    {
        ExeSet& set = settings.Get_ExeSet(index);
        set.LZ = tasks;
        set.Flags = 1 | (autoHint ? CTherapySettings::AutoHintBit : 0);
        stat = CStatEx();
        stat.Cw = index;
        stat.LZ = tasks;
    }

    // Types a character on the keyboard (characters outside Latin-1 go to the
    // alphabet as the window would pass them on).
    void Key(QChar c)
    {
        if (c.unicode() < 0x80)
            QTest::keyClick(window.get(), c.toLatin1());
        else
            alphabet->KeyPress(c);
    }
    void Keys(const QString& text)
    {
        for (QChar c : text)
            Key(c);
    }
    // Clicks a letter's tile on the on-screen alphabet.
    void Click(QChar c)
    {
        const int i = alphabet->FindLetter(c);
        ASSERT_GE(i, 0);
        const QPoint centre((i % alphabet->Columns) * alphabet->CellWidth + alphabet->CellWidth / 2,
                            (i / alphabet->Columns) * alphabet->CellHeight +
                                alphabet->CellHeight / 2);
        QTest::mouseClick(alphabet, Qt::LeftButton, Qt::NoModifier, centre);
    }
    uint8_t LetterState(QChar c) const
    {
        return alphabet->Letters[static_cast<std::size_t>(alphabet->FindLetter(c))].LetterState;
    }
    bool HintEnabled() const { return hintButton->State() != CTransButton::EState::Disabled; }
    QRgb At(int x, int y) const { return bitmap->pixel(x, y) | 0xff000000u; }
    // The colour of the photo's picture part in the exercise bitmap.
    QRgb PhotoShown() const
    {
        return At(photo->X + photo->PhotoX + 20, photo->Y + photo->PhotoY + 20);
    }

    TempDir dir;
    CBitmapsContainer container;
    CBitmapsContainer archive;
    CWords words;
    CDelayCall delayCall;
    std::unique_ptr<SKeyHost> window;
    QWidget* area = nullptr;
    std::unique_ptr<QImage> bitmap;
    std::unique_ptr<CSharedKomps> komps;
    CDynamicPlace photoTable;
    CDynamicPlace alphabetTable;
    CDynamicPlace colours;
    CKompPhoto* photo = nullptr;
    CKompAlphabet* alphabet = nullptr;
    CTransButton* hintButton = nullptr;
    CTherapySettings settings;
    CStatEx stat;
};
