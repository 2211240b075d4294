// Pictures of the main window's family with the real skins, for a person to
// look at: runs only when LOQUENA_SKINS_DIR names a program folder whose
// Data/ holds the built skins and LOQUENA_SHOTS_DIR a folder for the PNGs.
#include "app/DisplayMode.h"
#include "common/MessageAnswerer.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/BookmarkLayout.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/TFormInfo.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormPomoc.h"

#include <QDir>
#include <QPainter>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class LookTest : public ::testing::TestWithParam<std::tuple<QSize, int>>
{
protected:
    void SetUp() override
    {
        skins = qEnvironmentVariable("LOQUENA_SKINS_DIR");
        shots = qEnvironmentVariable("LOQUENA_SHOTS_DIR");
        if (skins.isEmpty() || shots.isEmpty())
            GTEST_SKIP() << "LOQUENA_SKINS_DIR and LOQUENA_SHOTS_DIR not set";
        QDir().mkpath(shots);
        const auto [screen, colour] = GetParam();
        SetDisplayModeFor(screen.width(), screen.height());
        ColorMode = colour;
        ASSERT_EQ(windows.Open(skins + "/Data/grwin.bc", false), 0);
        ASSERT_EQ(buttons.Open(skins + "/Data/bttofa.bc", false), 0);
        suffix = QStringLiteral("%1x%2-%3")
                     .arg(screen.width())
                     .arg(screen.height())
                     .arg(colour == CM_COLOR ? "colour" : "grey");
    }
    void TearDown() override { ColorMode = CM_COLOR; }
    void Save(const QImage& image, const QString& name)
    {
        EXPECT_TRUE(image.save(shots + "/" + name + "-" + suffix + ".png")) << name.toStdString();
    }
    // The message window as the screen shows it: outside the rounded outline
    // lies whatever is behind (here magenta, so the corners show).
    QImage Outlined(TFormMessage& form)
    {
        QImage shot(form.size(), QImage::Format_RGB32);
        shot.fill(Qt::magenta);
        QPainter p(&shot);
        p.setClipRegion(form.mask());
        p.drawPixmap(0, 0, form.grab());
        return shot;
    }

    QString skins, shots, suffix;
    CBitmapsContainer windows, buttons;
};

TEST_P(LookTest, BookmarkStripOnTheMainBackground)
{
    CDynamicPlace layout;
    layout.Container = &windows;
    const int first = AddBookmarkLayout(layout);
    layout.Add(PT_BITMAP, 0);
    const int background = layout.Get_iCurrent();
    layout.SetBitmap(DM_1280, 5, -1, -1);
    layout.SetBitmap(DM_1024, 4, -1, -1);
    QWidget form;
    form.resize(ScreenWidth, ScreenHeight);
    auto* box = new QWidget(&form);
    CKompBookmarks strip(box);
    layout.Set_iCurrent(first);
    strip.Setup(layout);
    strip.SetTickMask(0b10000000101); // WY, WP, PNC
    strip.SetCurrent(4);              // WP raised: its tick over its own image
    layout.Set_iCurrent(background);
    QImage screen = layout.GetBackground()->convertToFormat(QImage::Format_RGB32);
    QPainter p(&screen);
    p.drawImage(box->pos(), strip.Buffer());
    p.end();
    Save(screen, "bookmarks");
}

TEST_P(LookTest, MessageWindow)
{
    TFormMessage form(&windows, &buttons);
    QList<QImage> pictures;
    const auto previous = TFormMessage::SetShowHook([&](TFormMessage& f) {
        pictures << Outlined(f);
        f.done(TFormMessage::mrOk);
    });
    form.Ask(QStringLiteral("Czy na pewno chcesz wyjść z programu?"));
    form.Inform(TFormMessage::KindWarning, QStringLiteral("Brak aktywnego pacjenta!"), {},
                QStringLiteral("Dodaj pacjenta do listy, kliknij przycisk dodaj"),
                QStringLiteral("a następnie wpisz nazwisko i imię."));
    form.Inform(TFormMessage::KindWarning,
                QStringLiteral("Musisz wybrać ćwiczenia aby rozpocząć terapię."),
                QStringLiteral("Klikaj w miejscu małych kwadracików, aby wybrać"),
                QStringLiteral("ćwiczenie albo kliknij pomoc aby dowiedzieć"),
                QStringLiteral("się więcej o tym, jak używać programu."), true);
    form.Ask(QStringLiteral("Dla tego pacjenta istnieją nagrania"),
             QStringLiteral("i zostaną one również usunięte."), {},
             QStringLiteral("Czy chcesz kontynuować usuwanie?"));
    TFormMessage::SetShowHook(previous);
    ASSERT_EQ(pictures.size(), 4);
    const char* names[] = {"message-ask", "message-warning", "message-compact", "message-ask4"};
    for (int i = 0; i < 4; ++i)
        Save(pictures[i], names[i]);
}

TEST_P(LookTest, InformationAndHelpWindows)
{
    TFormInfo info(&windows, &buttons);
    TFormPomoc help(&windows, &buttons);
    for (TFormFullScreen* form :
         {static_cast<TFormFullScreen*>(&info), static_cast<TFormFullScreen*>(&help)}) {
        QImage picture;
        QTimer::singleShot(0, form, [&] {
            picture = form->grab().toImage();
            form->close();
        });
        form->ShowModal();
        Save(picture, form == &info ? "info" : "help");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, LookTest,
                         ::testing::Combine(::testing::Values(QSize(1280, 960), QSize(800, 600),
                                                              QSize(1024, 768)),
                                            ::testing::Values(int(CM_COLOR), int(CM_MONO))));

} // namespace
