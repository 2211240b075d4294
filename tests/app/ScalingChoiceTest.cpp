#include "app/ScalingChoice.h"

#include "app/Universalfn.h"
#include "common/TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

// A private settings store for one test.
class ScalingChoiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    static QString Stored()
    {
        QString value;
        RegReadText("", ScalingChoice::SettingName, value);
        return value;
    }
    static bool Enabled(const QStringList& options)
    {
        return ScalingChoice::Enabled(QStringList{"loquena"} + options);
    }

    TempDir m_dir;
};

} // namespace

TEST_F(ScalingChoiceTest, OnUnlessTurnedOffForTheRunOrInTheSettings)
{
    EXPECT_TRUE(Enabled({}));
    EXPECT_FALSE(Enabled({"--no-scaling"}));
    EXPECT_EQ(Stored(), ""); // one run only
    EXPECT_TRUE(Enabled({}));

    EXPECT_FALSE(Enabled({"--scaling=off"}));
    EXPECT_EQ(Stored(), "off");
    EXPECT_FALSE(Enabled({})); // kept for the next starts
    EXPECT_FALSE(Enabled({"--other"}));

    EXPECT_TRUE(Enabled({"--scaling=on"}));
    EXPECT_EQ(Stored(), "on");
    EXPECT_TRUE(Enabled({}));
    EXPECT_FALSE(Enabled({"--scaling=on", "--no-scaling"}));
    // Unknown values store nothing; the program's own name is no option.
    EXPECT_TRUE(Enabled({"--scaling=maybe"}));
    EXPECT_EQ(Stored(), "on");
    EXPECT_TRUE(ScalingChoice::Enabled({"--no-scaling"}));
}

TEST_F(ScalingChoiceTest, FactorOfTheScreen)
{
    EXPECT_DOUBLE_EQ(ScalingChoice::FactorFor({1280, 1024}), 1.0);
    EXPECT_DOUBLE_EQ(ScalingChoice::FactorFor({1920, 1080}), 1.125);
    EXPECT_DOUBLE_EQ(ScalingChoice::FactorFor({2560, 1440}), 1.5);
    EXPECT_DOUBLE_EQ(ScalingChoice::FactorFor({3840, 2160}), 2.25);
    EXPECT_DOUBLE_EQ(ScalingChoice::FactorFor({}), 1.0); // no screen
}

TEST(ScalingChoiceText, TheGlyphCacheLimitGrowsWithTheScreensRatioUnlessTheUserSetOne)
{
    const char* limit = "QT_MAX_CACHED_GLYPH_SIZE";
    const QByteArray before = qgetenv(limit);
    const bool wasSet = qEnvironmentVariableIsSet(limit);
    struct Case
    {
        double ratio;
        const char* users;    // null: none set
        const char* expected; // null: left unset
    };
    const Case cases[] = {
        {1.0, nullptr, nullptr}, {0.5, nullptr, nullptr}, {1.125, nullptr, "72"},
        {2.25, nullptr, "144"},  {3.0, nullptr, "192"},   {2.25, "500", "500"},
        {1.0, "30", "30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        if (c.users)
            qputenv(limit, c.users);
        else
            qunsetenv(limit);
        ScalingChoice::KeepTextCached(c.ratio);
        EXPECT_EQ(qEnvironmentVariableIsSet(limit), c.expected != nullptr);
        if (c.expected) {
            EXPECT_EQ(qgetenv(limit), QByteArray(c.expected));
        }
    }
    if (wasSet)
        qputenv(limit, before);
    else
        qunsetenv(limit);
}
