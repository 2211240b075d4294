#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "graphics/CTransButton.h"
#include "mainwindow/TFormInfo.h"
#include "mainwindow/TFormPomoc.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class InfoTest : public ::testing::Test
{
protected:
    void SetUp() override { Open(1280, 960); }
    void TearDown() override { ColorMode = CM_COLOR; }
    void Open(int w, int h)
    {
        SetDisplayModeFor(w, h);
        ColorMode = CM_COLOR;
        windows = SkinFixture::Get().OpenWindows();
        buttons = SkinFixture::Get().OpenButtons();
        ASSERT_TRUE(windows && buttons);
    }
    // Shows the window modally, lets `look` see it, then closes it with its
    // close button.
    void ShowAndClose(TFormFullScreen& form, const std::function<void()>& look)
    {
        bool looked = false;
        QTimer::singleShot(0, &form, [&] {
            form.grab(); // painted once, as on the screen
            look();
            looked = true;
            CTransButton* close = form.CloseButton();
            QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
            if (form.isVisible()) {
                ADD_FAILURE() << "the close button did not close the window";
                form.reject();
            }
        });
        form.ShowModal();
        EXPECT_TRUE(looked);
    }
    static QColor Under(const TFormFullScreen& form, QPoint at)
    {
        return form.Background()->pixelColor(at);
    }

    std::unique_ptr<CBitmapsContainer> windows;
    std::unique_ptr<CBitmapsContainer> buttons;
};

TEST_F(InfoTest, VersionNoticeAndCreditsLabels)
{
    TFormInfo form(windows.get(), buttons.get());
    EXPECT_EQ(form.Version()->text(), QStringLiteral("wersja 1.5"));
    EXPECT_EQ(form.VersionShadow()->text(), QStringLiteral("wersja 1.5"));
    EXPECT_EQ(form.Version()->palette().color(QPalette::WindowText), QColor(75, 1, 175));
    EXPECT_EQ(form.Version()->font().pixelSize(), 19);
    EXPECT_EQ(form.Version()->pos(), QPoint(36, 40));
    EXPECT_EQ(form.VersionShadow()->pos(), QPoint(37, 41));
    // The first notice line sits on the text block's top, all of them
    // centred over its width.
    for (int i = 0; i < TFormInfo::NoticeCount; ++i) {
        EXPECT_EQ(form.Notice(i)->x(), 260) << i;
        EXPECT_EQ(form.Notice(i)->width(), 640) << i;
        EXPECT_TRUE(form.Notice(i)->alignment() & Qt::AlignHCenter) << i;
    }
    EXPECT_EQ(form.Notice(0)->y(), 326);
    QString all;
    for (int i = 0; i < TFormInfo::NoticeCount; ++i)
        all += form.Notice(i)->text() + "\n";
    for (int i = 0; i < TFormInfo::RoleCount; ++i)
        all += form.Role(i)->text() + "\n";
    for (int i = 0; i < TFormInfo::NameCount; ++i)
        all += form.Name(i)->text() + "\n";
    for (const char* needed : {"Varentis", "prawa zastrzeżone", "Kontakt", "Fluent UI Emoji",
                               "licencja MIT", "eSpeak NG"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(needed))) << needed;
    // Every line stays inside the block and above the close button.
    const QRect block(260, 326, 640, 450);
    for (QObject* child : form.children())
        if (auto* label = qobject_cast<QLabel*>(child);
            label && label != form.Version() && label != form.VersionShadow()) {
            EXPECT_TRUE(block.contains(label->geometry())) << label->objectName().toStdString();
            EXPECT_LT(label->geometry().bottom(), 765) << label->objectName().toStdString();
        }
}

TEST_F(InfoTest, LabelsKeepTheirRelativeLayoutScaledInSmallerModes)
{
    auto relative = [](const TFormInfo& f) {
        QList<QPoint> r;
        const QPoint origin = f.Notice(0)->pos();
        for (int i = 0; i < TFormInfo::RoleCount; ++i)
            r << f.Role(i)->pos() - origin;
        for (int i = 0; i < TFormInfo::NameCount; ++i)
            r << f.Name(i)->pos() - origin;
        for (int i = 0; i < TFormInfo::NoticeCount; ++i)
            r << f.Notice(i)->pos() - origin;
        return r;
    };
    const QList<QPoint> big = relative(TFormInfo(windows.get(), buttons.get()));
    struct Case
    {
        int w, h, num, den;
        QPoint block;
    };
    for (const Case c : {Case{1024, 768, 8, 10, {208, 260}}, Case{800, 600, 5, 8, {162, 203}},
                         Case{1920, 1080, 1, 1, {580, 386}}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Open(c.w, c.h);
        TFormInfo form(windows.get(), buttons.get());
        EXPECT_EQ(form.Notice(0)->pos(), c.block);
        EXPECT_EQ(form.geometry(), QRect(0, 0, c.w, c.h));
        const QList<QPoint> small = relative(form);
        ASSERT_EQ(small.size(), big.size());
        for (int i = 0; i < big.size(); ++i) {
            EXPECT_NEAR(small[i].x(), big[i].x() * c.num / c.den, 1) << i;
            EXPECT_NEAR(small[i].y(), big[i].y() * c.num / c.den, 1) << i;
        }
        EXPECT_EQ(form.Notice(1)->font().pixelSize(), 17 * c.num / c.den);
    }
}

TEST_F(InfoTest, BackgroundAndCloseButtonComeAtShowAndGoAtClose)
{
    TFormInfo form(windows.get(), buttons.get());
    EXPECT_EQ(form.Background(), nullptr);
    ShowAndClose(form, [&] {
        ASSERT_NE(form.Background(), nullptr);
        EXPECT_EQ(form.Background()->size(), QSize(1280, 960));
        EXPECT_EQ(Under(form, {5, 5}), SkinFixture::SkinColour(40));
        EXPECT_EQ(form.CloseButton()->geometry(), QRect(855, 765, 64, 64));
        const QImage shot = form.grab().toImage();
        EXPECT_EQ(shot.pixelColor(855 + 32, 765 + 32), SkinFixture::SkinColour(48));
        EXPECT_EQ(shot.pixelColor(855 + 1, 765 + 1), SkinFixture::SkinColour(40));
    });
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Background(), nullptr);
}

TEST_F(InfoTest, HelpWindowPlacesItsButtonAndBackgroundPerMode)
{
    struct Case
    {
        int w, h;
        QRect button;
        int image;     // -1: derived from the 1280 image
        QPoint origin; // where the design area starts
    };
    for (const Case c : {Case{1280, 960, {1174, 860, 64, 64}, 35, {0, 0}},
                         Case{1024, 768, {936, 684, 64, 64}, 34, {0, 0}},
                         Case{800, 600, {733, 537, 64, 64}, 35, {0, 0}},
                         Case{1920, 1080, {1494, 920, 64, 64}, 35, {320, 60}}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Open(c.w, c.h);
        TFormPomoc form(windows.get(), buttons.get());
        EXPECT_EQ(form.geometry(), QRect(0, 0, c.w, c.h));
        ShowAndClose(form, [&] {
            EXPECT_EQ(form.CloseButton()->geometry(), c.button);
            ASSERT_NE(form.Background(), nullptr);
            EXPECT_EQ(form.Background()->size(), QSize(c.w, c.h));
            EXPECT_EQ(Under(form, c.origin + QPoint(100, 100)), SkinFixture::SkinColour(c.image));
            if (c.origin.x() > 0) {
                EXPECT_EQ(Under(form, {5, 5}), QColor(Qt::black));
            }
        });
    }
}

TEST_F(InfoTest, AColourSwitchShowsGreyBackgroundAndButtonAtTheNextShow)
{
    TFormPomoc form(windows.get(), buttons.get());
    ShowAndClose(form, [&] {
        EXPECT_EQ(Under(form, {5, 5}), SkinFixture::SkinColour(35));
        EXPECT_EQ(form.CloseButton()->CurrentComposite()->pixelColor(32, 32),
                  SkinFixture::SkinColour(48));
    });
    ColorMode = CM_MONO;
    for (int round = 0; round < 2; ++round)
        ShowAndClose(form, [&] {
            const QColor bg = Under(form, {5, 5});
            EXPECT_TRUE(bg.red() == bg.green() && bg.green() == bg.blue());
            const QColor b = form.CloseButton()->CurrentComposite()->pixelColor(32, 32);
            EXPECT_TRUE(b.red() == b.green() && b.green() == b.blue());
            EXPECT_NE(b, bg);
        });
    ColorMode = CM_COLOR;
    ShowAndClose(form, [&] {
        EXPECT_EQ(form.CloseButton()->CurrentComposite()->pixelColor(32, 32),
                  SkinFixture::SkinColour(48));
    });
}

} // namespace
