// Creation of the therapy window: the numbered resource errors and the layout
// in each display mode.
#include "app/CError.h"
#include "platform/CDbConnection.h"
#include "therapy/TherapyTestBase.h"

#include <QFile>
#include <QLabel>

namespace {

class TherapyCreationTest : public TherapyTestBase
{
protected:
    void TearDown() override
    {
        TherapyTestBase::TearDown();
        SetDisplayModeFor(1280, 1024);
    }
    // The message of the error that creation raised; empty when none.
    QString CreationError()
    {
        try {
            MakeWindow();
        } catch (const CError& e) {
            return e.Message();
        }
        return QString();
    }
};

TEST_F(TherapyCreationTest, MissingResourcesRaiseTheirNumberedErrors)
{
    struct SCase
    {
        const char* name;
        int screenWidth, screenHeight;
        std::function<void()> damage;
        const char* prefix; // "" = no error
    };
    const QString root = dir.path();
    const QString fresh = root + "/fresh";
    const SCase cases[] = {
        {"no skins", 1280, 1024, [&fresh] { QFile::remove(fresh + "/Data/cextb.bc"); }, "#11: "},
        {"no content", 1280, 1024, [&fresh] { QFile::remove(fresh + "/Data/sdrow.qp"); }, "#12: "},
        {"three words", 1280, 1024,
         [&fresh] {
             CDbConnection db;
             db.Connect(fresh + "/Data/sdrow.qp");
             db.Execute("DELETE FROM Slowa WHERE BCIndex > 2");
         },
         "#13: "},
        {"no large photos in 1280", 1280, 1024,
         [&fresh] { QFile::remove(fresh + "/Data/zdjar5.bb"); }, "#15: "},
        {"no large photos in 1024", 1024, 768,
         [&fresh] { QFile::remove(fresh + "/Data/zdjar5.bb"); }, ""},
        {"no small photos in 1024", 1024, 768,
         [&fresh] { QFile::remove(fresh + "/Data/zdjar3.bb"); }, "#15: "},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(therapy_fixture::WriteProgramFolder(root + "/fresh"));
        QDir::setCurrent(root + "/fresh");
        SetDisplayModeFor(c.screenWidth, c.screenHeight);
        c.damage();
        const QString error = CreationError();
        if (*c.prefix) {
            EXPECT_TRUE(error.startsWith(c.prefix)) << error.toStdString();
            EXPECT_TRUE(error.endsWith(
                "Błąd podczas ładowania zasobów!\n\n Proszę zainstalować program ponownie."));
        } else {
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        }
        therapy.reset();
        QDir::setCurrent(root);
        QDir(root + "/fresh").removeRecursively();
    }
}

TEST_F(TherapyCreationTest, LayoutFollowsTheDisplayMode)
{
    struct SCase
    {
        int screenW, screenH;
        QRect menu, exercise;
    };
    const SCase cases[] = {
        {1280, 1024, QRect(0, 32, 1280, 89), QRect(0, 121, 1280, 871)},
        {1024, 768, QRect(0, 0, 1024, 71), QRect(0, 71, 1024, 697)},
        {800, 600, QRect(0, 0, 800, 55), QRect(0, 55, 800, 545)},
        {1920, 1080, QRect(320, 60, 1280, 89), QRect(320, 149, 1280, 871)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.screenW);
        SetDisplayModeFor(c.screenW, c.screenH);
        MakeWindow();
        EXPECT_EQ(therapy->geometry(), QRect(0, 0, c.screenW, c.screenH));
        EXPECT_EQ(therapy->pbMenu->geometry(), c.menu);
        EXPECT_EQ(therapy->pbExercise->geometry(), c.exercise);
        EXPECT_EQ(therapy->ExerciseBitmap().size(), c.exercise.size());
        // The patient's name sits on the strip, laid out from the 1024 values.
        EXPECT_TRUE(c.menu.contains(therapy->lbPacjent->geometry()));
        // The black bands around the design area.
        QImage shot = therapy->grab().toImage();
        if (c.menu.top() > 0) {
            EXPECT_EQ(QColor(shot.pixel(c.screenW / 2, 2)), QColor(Qt::black));
        }
        if (c.menu.left() > 0) {
            EXPECT_EQ(QColor(shot.pixel(2, c.screenH / 2)), QColor(Qt::black));
        }
        therapy.reset();
    }
}

} // namespace
