#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "common/MessageAnswerer.h"
#include "graphics/CTransButton.h"
#include "mainwindow/TFormMessage.h"
#include "statistics/CNagrywanie.h"

#include <QKeyEvent>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

using A = MessageAnswerer;

class MessageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 960);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(message.Open(SkinFixture::Get().OpenWindows(), SkinFixture::Get().OpenButtons(),
                                 [this](int kind) { sounds << kind; }));
        form = message.get();
    }
    void TearDown() override
    {
        message.Close();
        ColorMode = CM_COLOR;
    }

    MessageWindowFixture message;
    TFormMessage* form = nullptr;
    QList<int> sounds;
};

// Where the frame's pixel (x, y) comes from in the source, by the tiling
// rules: corners 65 wide, top band 125 and bottom band 65 high, edges in
// 60-pixel pieces from the source's middle, the middle rows repeating the
// frame's rows 65..125.
QPoint SourceOf(int x, int y, int w, int h)
{
    const int sw = 200, sh = 200;
    int sy;
    if (y < 125)
        sy = y;
    else if (y >= h - 65)
        sy = sh - (h - y);
    else
        sy = 65 + (y - 125) % 60;
    int sx;
    if (x < 65)
        sx = x;
    else if (x >= w - 65)
        sx = sw - (w - x);
    else
        sx = sw / 2 - 60 + (x - 65) % 60;
    return {sx, sy};
}

TEST(MessageFrame, TiledFromTheSourceForEverySize)
{
    const QImage source = SkinFixture::FrameSource();
    const QSize sizes[] = {{615, 283}, {131, 191}, {400, 400}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QImage f = TFormMessage::BuildFrame(source, size.width(), size.height());
        ASSERT_EQ(f.size(), size);
        int wrong = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QPoint s = SourceOf(x, y, size.width(), size.height());
                const QColor c = f.pixelColor(x, y);
                if (c != QColor(77, s.y(), s.x()) && ++wrong < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " from " << c.blue() << ","
                                  << c.green() << ", expected " << s.x() << "," << s.y();
            }
        EXPECT_EQ(wrong, 0);
    }
    // The 615-wide window: the top band's last piece (545..550) is 5 pixels
    // of the source's 40..45, and row 218 is already the bottom band.
    const QImage f = TFormMessage::BuildFrame(source, 615, 283);
    EXPECT_EQ(f.pixelColor(549, 10), QColor(77, 10, 44));
    EXPECT_EQ(f.pixelColor(550, 10), QColor(77, 10, 135));
    EXPECT_EQ(f.pixelColor(300, 217), QColor(77, 65 + 92 % 60, 40 + 235 % 60));
    EXPECT_EQ(f.pixelColor(300, 218), QColor(77, 135, 40 + 235 % 60));
}

TEST_F(MessageTest, CreatedWithRoundedOutlineFrameAndButtonsOverIt)
{
    EXPECT_EQ(form->size(), QSize(615, 283));
    EXPECT_FALSE(form->FrameStale());
    EXPECT_EQ(form->Frame().pixelColor(300, 150), QColor(77, 65 + 25 % 60, 40 + 235 % 60));
    const QRegion outline = form->mask();
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(614, 282)));
    EXPECT_TRUE(outline.contains(QPoint(8, 8)));
    EXPECT_TRUE(outline.contains(QPoint(0, 141)));
    EXPECT_TRUE(outline.contains(QPoint(307, 0)));

    EXPECT_EQ(form->ButtonTak()->geometry(), QRect(192, 172, 64, 64));
    EXPECT_EQ(form->ButtonOK()->geometry(), QRect(280, 172, 64, 64));
    EXPECT_EQ(form->ButtonNie()->geometry(), QRect(368, 172, 64, 64));
    // Outside its mask a button shows the frame under it, inside its image.
    form->show();
    QApplication::processEvents();
    const QImage* tak = form->ButtonTak()->CurrentComposite();
    ASSERT_TRUE(tak && !tak->isNull());
    EXPECT_EQ(tak->pixelColor(1, 1), form->Frame().pixelColor(193, 173));
    EXPECT_EQ(tak->pixelColor(32, 32), SkinFixture::SkinColour(54));
    form->hide();
}

TEST_F(MessageTest, RowsAreLaidOutByHowManyAreGiven)
{
    struct Case
    {
        QStringList given;
        QStringList shown;
    };
    const Case cases[] = {
        {{"Jeden", "", "", ""}, {"", "Jeden", "", ""}},
        {{"Jeden", "Dwa", "", ""}, {"", "Jeden", "Dwa", ""}},
        {{"Jeden", "", "Trzy", ""}, {"Jeden", "", "Trzy", ""}},
        {{"Jeden", "Dwa", "", "Cztery"}, {"Jeden", "Dwa", "", "Cztery"}},
        {{"Jeden", "Dwa", "Trzy", "Cztery"}, {"Jeden", "Dwa", "Trzy", "Cztery"}},
    };
    MessageAnswerer answerer;
    for (const Case& c : cases)
        form->Inform(TFormMessage::KindInformation, c.given[0], c.given[1], c.given[2], c.given[3]);
    ASSERT_EQ(answerer.shown.size(), static_cast<qsizetype>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(answerer.shown[i].rows, cases[i].shown) << i;
}

TEST_F(MessageTest, AskShowsTakLeftOfNieAndAnswersByTheButtonClicked)
{
    MessageAnswerer answerer({A::Tak, A::Nie, A::Escape});
    EXPECT_TRUE(form->Ask(QStringLiteral("Czy na pewno chcesz wyjść z programu?")));
    EXPECT_FALSE(form->Ask(QStringLiteral("Czy naprawdę chcesz usunąć pacjenta?")));
    EXPECT_FALSE(form->Ask(QStringLiteral("Czy na pewno chcesz usunąć wypowiedź?")));
    ASSERT_EQ(answerer.shown.size(), 3);
    const A::Shown& s = answerer.shown[0];
    EXPECT_EQ(s.kind, TFormMessage::KindQuestion);
    EXPECT_EQ(s.rows, QStringList({"", "Czy na pewno chcesz wyjść z programu?", "", ""}));
    EXPECT_TRUE(s.tak && s.nie);
    EXPECT_FALSE(s.ok);
    EXPECT_LT(s.takPlace.right(), s.niePlace.left());
    EXPECT_EQ(s.position, QPoint(640 - 307, 480 - 141)); // centred on the screen
    EXPECT_EQ(sounds, QList<int>({1, 1, 1}));
}

TEST_F(MessageTest, InformShowsOnlyOKAndPlaysTheSoundOfItsKind)
{
    MessageAnswerer answerer({A::OK, A::OK, A::OK, A::OK});
    form->Inform(TFormMessage::KindWarning, QStringLiteral("Brak aktywnego pacjenta!"), {},
                 QStringLiteral("Dodaj pacjenta do listy, kliknij przycisk dodaj"),
                 QStringLiteral("a następnie wpisz nazwisko i imię."));
    form->Inform(TFormMessage::KindError,
                 QStringLiteral("Wystąpił błąd podczas próby odtworzenia nagrania."));
    form->Inform(TFormMessage::KindInformation, QStringLiteral("Gotowe."));
    ASSERT_EQ(answerer.shown.size(), 3);
    EXPECT_TRUE(answerer.shown[0].ok);
    EXPECT_FALSE(answerer.shown[0].tak || answerer.shown[0].nie);
    EXPECT_EQ(answerer.shown[0].kind, TFormMessage::KindWarning);
    EXPECT_EQ(answerer.shown[0].rows[0], QStringLiteral("Brak aktywnego pacjenta!"));
    EXPECT_EQ(answerer.shown[1].rows[1],
              QStringLiteral("Wystąpił błąd podczas próby odtworzenia nagrania."));
    EXPECT_EQ(form->result(), TFormMessage::mrOk);
    EXPECT_EQ(sounds, QList<int>({2, 3, 0}));
    // An Ask after notices shows the question's buttons again.
    MessageAnswerer yes({A::Tak});
    EXPECT_TRUE(form->Ask(QStringLiteral("Pytanie?")));
    EXPECT_TRUE(yes.shown[0].tak && !yes.shown[0].ok);
}

TEST_F(MessageTest, CompactLayoutHoldsOnlyForItsOwnMessage)
{
    MessageAnswerer answerer;
    const QString r1 = QStringLiteral("Niewystarczająca ilość miejsca na dysku /!");
    form->Inform(TFormMessage::KindError, r1, QStringLiteral("Zwolnij miejsce!"),
                 QStringLiteral("Możesz to zrobić, np. usuwając"),
                 QStringLiteral("część nagrań zapisanych w statystyce."), true);
    form->Inform(TFormMessage::KindError, r1, QStringLiteral("b"), QStringLiteral("c"),
                 QStringLiteral("d"), false);
    ASSERT_EQ(answerer.shown.size(), 2);
    const A::Shown& compact = answerer.shown[0];
    const A::Shown& normal = answerer.shown[1];
    EXPECT_EQ(compact.places[0].top(), 44 - 8);
    EXPECT_EQ(compact.places[1].top(), 72 + 4);
    EXPECT_EQ(compact.places[2].top(), 100);
    EXPECT_EQ(compact.places[3].top(), 128 - 4);
    // 21 pixels is 16 points; 3 points less is 13 points, 17 pixels.
    EXPECT_EQ(compact.fontPixels, QList<int>({21, 17, 17, 17}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(normal.places[i], QRect(0, 44 + 28 * i, 615, 27)) << i;
        EXPECT_EQ(normal.fontPixels[i], 21) << i;
    }
    EXPECT_EQ(form->Row(0)->geometry().top(), 44);
}

TEST_F(MessageTest, ReloadSkinsTurnsFrameAndButtonsGreyAtTheNextShow)
{
    ColorMode = CM_MONO;
    form->ReloadSkins();
    EXPECT_TRUE(form->FrameStale());
    MessageAnswerer answerer({A::Tak});
    EXPECT_TRUE(form->Ask(QStringLiteral("Szaro?")));
    EXPECT_FALSE(form->FrameStale());
    const QColor c = form->Frame().pixelColor(300, 150);
    EXPECT_EQ(c.red(), c.green());
    EXPECT_EQ(c.green(), c.blue());
    const QImage* tak = form->ButtonTak()->CurrentComposite();
    ASSERT_TRUE(tak && !tak->isNull());
    const QColor b = tak->pixelColor(32, 32);
    EXPECT_EQ(b.red(), b.blue());
    EXPECT_EQ(tak->pixelColor(1, 1), form->Frame().pixelColor(193, 173));
    EXPECT_EQ(form->ButtonTak()->geometry(), QRect(192, 172, 64, 64));
}

TEST_F(MessageTest, SameButtonPlacesInEveryDisplayMode)
{
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)}) {
        SetDisplayModeFor(screen.width(), screen.height());
        TFormMessage f(message.windows.get(), message.buttons.get());
        EXPECT_EQ(f.ButtonNie()->geometry(), QRect(368, 172, 64, 64));
        EXPECT_EQ(f.size(), QSize(615, 283));
        MessageAnswerer answerer;
        f.Inform(TFormMessage::KindInformation, QStringLiteral("x"));
        ASSERT_EQ(answerer.shown.size(), 1);
        EXPECT_EQ(answerer.shown[0].position,
                  QPoint(screen.width() / 2 - 307, screen.height() / 2 - 141));
    }
}

TEST_F(MessageTest, RecorderFreeSpaceMessagesComeThroughTheMessageWindow)
{
    CNagrywanie recorder(nullptr, {}, {});
    recorder.SetInform([this](int kind, const QString& r1, const QString& r2, const QString& r3,
                              const QString& r4,
                              bool compact) { form->Inform(kind, r1, r2, r3, r4, compact); });
    bool known = true;
    std::uint64_t free = CNagrywanie::MinFreeBytes - 1;
    recorder.SetSpaceCheck(QStringLiteral("/"),
                           [&](const QString&, QString* drive, std::uint64_t* bytes) {
                               *drive = QStringLiteral("/home");
                               *bytes = free;
                               return known;
                           });
    MessageAnswerer answerer;
    EXPECT_FALSE(recorder.HasSpaceForRecording());
    free = CNagrywanie::MinFreeBytes;
    EXPECT_TRUE(recorder.HasSpaceForRecording());
    known = false;
    EXPECT_FALSE(recorder.HasSpaceForRecording());
    ASSERT_EQ(answerer.shown.size(), 2);
    const A::Shown& space = answerer.shown[0];
    EXPECT_EQ(space.kind, TFormMessage::KindError);
    EXPECT_EQ(space.rows, QStringList({"Niewystarczająca ilość miejsca na dysku /home!",
                                       "Zwolnij miejsce!", "Możesz to zrobić, np. usuwając",
                                       "część nagrań zapisanych w statystyce."}));
    EXPECT_EQ(space.places[0].top(), 36); // compact
    EXPECT_TRUE(space.ok && !space.tak);
    EXPECT_EQ(answerer.shown[1].rows, QStringList({"", "Wystąpił nierozpoznany błąd!",
                                                   "Nagrywanie zostało przerwane.", ""}));
    EXPECT_EQ(answerer.shown[1].places[0].top(), 44);
    EXPECT_EQ(sounds, QList<int>({3, 3}));
}

} // namespace
