#include "app/DisplayMode.h"

#include "MessageRecorder.h"
#include "app/Universalfn.h"
#include "common/TempDir.h"

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString TooSmall640 = QStringLiteral(
    "Wymagania sprzętowe programu określają minimalną rozdzielczość, jaką powinien mieć ekran.\n"
    "Twoja aktualna rozdzielczość to 640 na 480, a minimalna potrzebna do uruchomienia programu "
    "wynosi 800 na 600.\n\nPrzejdź do panelu sterowania i zmień rozdzielczość\n(Ustawienia, "
    "Ekrany).");

const QString LowRes1024x600 = QStringLiteral(
    "Wymagania sprzętowe programu określają minimalną rozdzielczość, jaką powinien mieć ekran.\n"
    "Twoja aktualna rozdzielczość to 1024 na 600, a minimalna potrzebna do prawidłowego działania "
    "programu wynosi 1024 na 768.\n\nPrzyciśnij OK, przejdź do panelu sterowania i zmień "
    "rozdzielczość\n(Ustawienia, Ekrany).\n\nUWAGA! Jeśli "
    "przyciśniesz Anuluj to program uruchomi się, ale niektóre elementy mogą być źle "
    "wyświetlane.\nSprawdź czy twój monitor umożliwia przełączenie na wyższą rozdzielczość.");

const QString AcceptWorseLook = QStringLiteral(
    "Przyciskając OK akceptujesz gorszy wygląd programu oraz to, że program może nie spełniać "
    "twoich oczekiwań.");

// A screen of a given size and a private settings store for one test.
class DisplayModeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_previous = SetScreenSizeSource([this] { return m_screen; });
        DisplayModePending = true;
    }
    void TearDown() override { SetScreenSizeSource(m_previous); }

    bool Determine(int w, int h)
    {
        m_screen = QSize(w, h);
        return DetermineDisplayMode();
    }
    static QString Stored()
    {
        QString value;
        RegReadText("", "LowResAccept", value);
        return value;
    }

    TempDir m_dir;
    QSize m_screen;
    ScreenSizeSource m_previous;
};

} // namespace

TEST_F(DisplayModeTest, ModeAndOffsetsForEachScreen)
{
    ASSERT_TRUE(RegWriteText("", "LowResAccept", "true"));
    const struct
    {
        int w, h, mode, designW, designH, offsetX, offsetY;
    } cases[] = {
        {800, 600, DM_800, 800, 600, 0, 0},
        {1024, 600, DM_800, 800, 600, 112, 0},
        {1023, 768, DM_800, 800, 600, 111, 84},
        {1024, 768, DM_1024, 1024, 768, 0, 0},
        {1280, 800, DM_1024, 1024, 768, 128, 16}, // wide but low: the smaller layout
        {1279, 960, DM_1024, 1024, 768, 127, 96},
        {1366, 768, DM_1024, 1024, 768, 171, 0}, // odd difference truncated
        {1280, 960, DM_1280, 1280, 960, 0, 0},
        {1280, 1024, DM_1280, 1280, 960, 0, 32},
        {1920, 1080, DM_1280, 1280, 960, 320, 60},
    };
    for (const auto& c : cases) {
        MessageRecorder user;
        ColorMode = CM_MONO;
        DisplayModePending = true;
        EXPECT_TRUE(Determine(c.w, c.h)) << c.w << "x" << c.h;
        EXPECT_TRUE(user.boxes.isEmpty()) << c.w << "x" << c.h;
        EXPECT_EQ(ScreenWidth, c.w);
        EXPECT_EQ(ScreenHeight, c.h);
        EXPECT_EQ(DisplayMode, c.mode) << c.w << "x" << c.h;
        EXPECT_EQ(DesignWidth, c.designW) << c.w << "x" << c.h;
        EXPECT_EQ(DesignHeight, c.designH) << c.w << "x" << c.h;
        EXPECT_EQ(OffsetX, c.offsetX) << c.w << "x" << c.h;
        EXPECT_EQ(OffsetY, c.offsetY) << c.w << "x" << c.h;
        EXPECT_EQ(ColorMode, CM_COLOR);
        EXPECT_FALSE(DisplayModePending);
    }
}

TEST_F(DisplayModeTest, BelowTheMinimumWarnsAndRefuses)
{
    {
        MessageRecorder user;
        EXPECT_FALSE(Determine(640, 480));
        ASSERT_EQ(user.boxes.size(), 1);
        EXPECT_EQ(user.boxes[0].text, TooSmall640);
        EXPECT_EQ(user.boxes[0].caption, "Loquena Cz. I");
        EXPECT_EQ(user.boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(user.boxes[0].buttons, QMessageBox::Ok);
        // The globals are still valid for whatever runs on the way out.
        EXPECT_EQ(DisplayMode, DM_800);
        EXPECT_EQ(OffsetX, -80);
        EXPECT_EQ(OffsetY, -60);
        EXPECT_FALSE(DisplayModePending);
    }
    // An accepted low resolution does not lift the minimum.
    ASSERT_TRUE(RegWriteText("", "LowResAccept", "true"));
    for (const QSize size : {QSize(799, 600), QSize(800, 599), QSize(0, 0)}) {
        MessageRecorder user;
        EXPECT_FALSE(Determine(size.width(), size.height()));
        ASSERT_EQ(user.boxes.size(), 1);
        EXPECT_EQ(user.boxes[0].icon, QMessageBox::Warning);
    }
}

TEST_F(DisplayModeTest, LowResolutionQuestionsAnsweredEachWay)
{
    {
        // OK on the first question: the user goes to change the resolution.
        MessageRecorder user({QMessageBox::Ok});
        EXPECT_FALSE(Determine(1024, 600));
        ASSERT_EQ(user.boxes.size(), 1);
        EXPECT_EQ(user.boxes[0].text, LowRes1024x600);
        EXPECT_EQ(user.boxes[0].caption, "Loquena Cz. I");
        EXPECT_EQ(user.boxes[0].icon, QMessageBox::Information);
        EXPECT_EQ(user.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(Stored(), "");
        EXPECT_EQ(DisplayMode, DM_800);
    }
    {
        // Cancel, then Cancel: not accepted, nothing stored.
        MessageRecorder user({QMessageBox::Cancel, QMessageBox::Cancel});
        EXPECT_FALSE(Determine(1024, 600));
        ASSERT_EQ(user.boxes.size(), 2);
        EXPECT_EQ(user.boxes[1].text, AcceptWorseLook);
        EXPECT_EQ(user.boxes[1].icon, QMessageBox::Information);
        EXPECT_EQ(user.boxes[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(Stored(), "");
    }
    {
        // Cancel, then OK: accepted and remembered.
        MessageRecorder user({QMessageBox::Cancel, QMessageBox::Ok});
        EXPECT_TRUE(Determine(1024, 600));
        EXPECT_EQ(user.boxes.size(), 2);
        EXPECT_EQ(Stored(), "true");
        EXPECT_EQ(DisplayMode, DM_800);
        EXPECT_EQ(OffsetX, 112);
        EXPECT_EQ(OffsetY, 0);
    }
    {
        // The next start with the same screen asks nothing.
        MessageRecorder user;
        EXPECT_TRUE(Determine(1024, 600));
        EXPECT_TRUE(user.boxes.isEmpty());
    }
}

TEST_F(DisplayModeTest, OnlyExactlyTrueCountsAsAccepted)
{
    for (const char* value : {"True", "TRUE", " true", "true ", "1", "yes", ""}) {
        ASSERT_TRUE(RegWriteText("", "LowResAccept", value));
        MessageRecorder user({QMessageBox::Ok});
        EXPECT_FALSE(Determine(800, 600)) << value;
        EXPECT_EQ(user.boxes.size(), 1) << value;
    }
    // A value of another type is no acceptance either.
    {
        QSettings store("Varentis", "Loquena.czI");
        store.setValue("LowResAccept", QStringList{"true", "true"});
        store.sync();
    }
    MessageRecorder user({QMessageBox::Ok});
    EXPECT_FALSE(Determine(800, 600));
    EXPECT_EQ(user.boxes.size(), 1);
}

TEST_F(DisplayModeTest, SetDisplayModeForAsksNothing)
{
    MessageRecorder user;
    SetDisplayModeFor(640, 480);
    EXPECT_TRUE(user.boxes.isEmpty());
    EXPECT_EQ(DisplayMode, DM_800);
    EXPECT_FALSE(DisplayModePending);
}

// The question's text tells the user to press "Anuluj": the real box's
// buttons must read so.
TEST_F(DisplayModeTest, LowResolutionQuestionHasPolishButtons)
{
    const AppMessageFn previous = SetAppMessageHandler({}); // the real boxes
    QList<QStringList> seen;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.append(
            {box->button(QMessageBox::Ok)->text(), box->button(QMessageBox::Cancel)->text()});
        box->button(QMessageBox::Cancel)->click();
    });
    user.start(10);
    const bool goOn = Determine(1024, 600);
    user.stop();
    SetAppMessageHandler(previous);
    EXPECT_FALSE(goOn);
    const QStringList polish{"OK", "Anuluj"};
    EXPECT_EQ(seen, QList<QStringList>({polish, polish}));
    EXPECT_EQ(Stored(), "");
}
