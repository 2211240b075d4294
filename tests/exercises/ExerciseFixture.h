#pragma once
// Shared ground of the PWY, DC and UK tests: the 1024 x 768 layout in colour,
// a shown host window standing in for the therapy window (its whole area is
// the exercise area), a tiny skin container with the images these exercises
// load, a small content database in Data/ of a temporary program folder (made
// the current directory), short sounds, and the shared context with a hint
// button, a delayed call and a video panel.
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/CWords.h"
#include "content/ContentScramble.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "exercises/CExercise.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CStatEx.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace pwyfixture {

inline QImage Solid(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(QColor::fromRgb(colour));
    return img;
}

inline QImage Grey(int w, int h, int value)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    img.fill(value);
    return img;
}

constexpr int AreaWidth = 1024;
constexpr int AreaHeight = 700;
constexpr uint32_t ExerciseColour = 0x9a768b; // RGB(139,118,154)

} // namespace pwyfixture

class ExerciseTest : public ::testing::Test
{
protected:
    ExerciseTest() { SetDisplayModeFor(1024, 768); }

    void SetUp() override
    {
        using namespace pwyfixture;
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 0;
        oldCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        for (const char* sub : {"Data/ws", "Data/ps", "Data/sp", "Data/as", "Data/asm"})
            ASSERT_TRUE(QDir().mkpath(sub));
        MakeSkins();
        ASSERT_TRUE(CreateContentDatabase("Data/sdrow.qp"));
        db.Connect("Data/sdrow.qp");

        host = std::make_unique<QWidget>();
        host->setGeometry(0, 0, AreaWidth, AreaHeight);
        bitmap = std::make_unique<QImage>(AreaWidth, AreaHeight, QImage::Format_BGR888);
        bitmap->fill(Qt::white);
        komps = std::make_unique<CSharedKomps>(host.get());
        komps->Container = &container;
        komps->ExerciseBitmap = bitmap.get();
        komps->ExerciseArea = host.get();
        komps->LoadLetterBitmaps();
        komps->Words = &words;
        delay = std::make_unique<CDelayCall>();
        komps->DelayCall = delay.get();
        hint = new CTransButton(
            host.get(), 0, [this] { ++hintClicks; }, nullptr);
        komps->HintButton = hint;
        tv = new CKompTV(host.get());
        tv->ScrambledFiles = true;
        tv->setGeometry(600, 50, 160, 120);
        komps->TV = tv;

        colourTable = std::make_unique<CDynamicPlace>();
        colourTable->Container = &container;
        colourTable->Add(PT_COLOR, 0);
        colourTable->SetColor(DM_1024, static_cast<int>(ExerciseColour), -1);
        colourTable->Set_iCurrent(1);

        host->show();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    void TearDown() override
    {
        StopContentSound();
        komps.reset();
        host.reset();
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 1400;
        QDir::setCurrent(oldCurrent);
    }

    // Images: the proverb beginning (228, 229), the column labels (304 to
    // 308), the replay button (352 to 357), the dimmed letter (236, 237) and
    // the 32 letters from 240.
    void MakeSkins()
    {
        using namespace pwyfixture;
        CBitmapsContainerWriter w;
        const auto bmp = CBitmapsContainerWriter::Encoding::Bmp;
        w.Set(228, Solid(600, 50, qRgb(220, 220, 180)), bmp);
        w.Set(229, Grey(600, 50, 255), bmp);
        w.Set(304, Solid(500, 44, qRgb(200, 40, 40)), bmp);
        w.Set(305, Grey(500, 44, 255), bmp);
        w.Set(306, Solid(500, 44, qRgb(40, 200, 40)), bmp);
        w.Set(307, Grey(500, 44, 255), bmp);
        w.Set(308, Solid(500, 44, qRgb(40, 40, 200)), bmp);
        for (int i = 352; i <= 356; i += 2) {
            w.Set(i, Solid(40, 40, qRgb(i - 200, 60, 60)), bmp);
            w.Set(i + 1, Grey(40, 40, 255), bmp);
        }
        w.Set(236, Solid(20, 24, qRgb(0, 0, 0)), bmp);
        w.Set(237, Grey(20, 24, 128), bmp);
        for (int i = 0; i < Alphabet.size(); ++i)
            w.Set(240 + i, Solid(20, 24, qRgb(10 + i * 5, 100, 200 - i * 3)), bmp);
        ASSERT_TRUE(w.Save("skins.bc"));
        ASSERT_EQ(container.Open("skins.bc", false), CBitmapsContainer::BC_OK);
    }

    void Word(const QString& slowo, const QString& grupy = "D")
    {
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {slowo.toUpper(), slowo, 0, grupy, QString(), true});
    }
    void Proverb(int id, const QString& pocz, const QString& kon)
    {
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, ?, ?)",
                   {id, pocz, kon, QString("Z"), true});
    }
    void Action(int id, const QString& podpis1, const QString& podpis2)
    {
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {id, QString("czynność %1").arg(id), podpis1, podpis2, QString("H"), true});
    }
    void LoadContent()
    {
        db.Disconnect();
        ASSERT_TRUE(words.Open("Data/sdrow.qp")) << words.LastError().toStdString();
    }

    // A scrambled sound of `ms` milliseconds at `path` (without ".wv").
    static void WriteWv(const QString& path, int ms)
    {
        QFile f(path + ".wv");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ScrambleWv(MakeWave(22050, 1, 8, 22050 * ms / 1000)));
    }

    // A short scrambled film of the activity, made once per test program and
    // copied in.
    static void WriteFilm(int id)
    {
        static const QString made = [] {
            // Test programs running side by side share the film: each makes
            // it under a name of its own and renames it into place, so that
            // none copies a film another is still writing.
            const QString path = QDir::tempPath() + "/loquena_pwy_film.mpg";
            const QString own = path + "." + QString::number(QCoreApplication::applicationPid());
            QFile::remove(own);
            QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                         "testsrc=size=64x48:rate=25", "-t", "0.5", "-c:v",
                                         "mpeg1video", "-f", "mpeg", own});
            std::rename(QFile::encodeName(own).constData(), QFile::encodeName(path).constData());
            return path;
        }();
        ASSERT_TRUE(QFile::exists(made)) << "ffmpeg made no film";
        const QString path = QString("Data/asm/%1.mpg").arg(id);
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(made, path));
        ASSERT_TRUE(ScrambleFilmFile(path));
    }

    static char FirstByte(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return '?';
        char c = 0;
        f.read(&c, 1);
        return c;
    }

    // The settings of one exercise block, with `tasks` tasks.
    void Set(int exercise, int tasks, int flags)
    {
        settings.Get_ExeSet(exercise) = ExeSet{tasks, 0, flags};
        stat.LZ = tasks;
        stat.PomocMax = 999;
    }

    bool HintEnabled() const { return hint->State() != CTransButton::EState::Disabled; }

    // After the switch to the grey mode: the label's normal look is its own
    // skin (told apart from the other labels' by its width), in grey.
    static void ExpectGreyLook(const CKompLabel& label, int width)
    {
        const QImage* look = label.NormalImage.Image();
        ASSERT_TRUE(look);
        EXPECT_EQ(look->width(), width);
        const QRgb c = look->pixel(5, 5);
        EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << std::hex << c;
    }

    // Waits, processing events, until `done` or `ms` pass.
    template <class F> static bool WaitFor(F done, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QTest::qWait(10);
        return done();
    }

    TempDir dir;
    QString oldCurrent;
    CBitmapsContainer container;
    CDbConnection db;
    CWords words;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<QImage> bitmap;
    std::unique_ptr<CSharedKomps> komps;
    std::unique_ptr<CDelayCall> delay;
    CTransButton* hint = nullptr; // children of host
    CKompTV* tv = nullptr;
    int hintClicks = 0;
    // The therapy window's colour entry of the exercise; made after the
    // display mode is fixed, so that no placement table asks for it.
    std::unique_ptr<CDynamicPlace> colourTable;
    CTherapySettings settings;
    CStatEx stat;
};
