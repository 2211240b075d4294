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
