#pragma once
// A small program folder for the repetition exercises, made the current
// folder for the test: the skins they read, a content database of a few
// words, proverbs and activities, short scrambled sounds and films. The
// exercises run over a shown host window with the therapy window's shared
// objects, and a small pager that turns pages as the therapy window does.
#include "CBitmapsContainerWriter.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/CWords.h"
#include "content/ContentScramble.h"
#include "content/ContentSound.h"
#include "controls/CKompPhoto.h"
#include "controls/CKompTV.h"
#include "exercises/CRepetitionExercise.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDelayCall.h"
#include "graphics/CGraphTimer.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"
#include "therapy/CTherapyPlaces.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace repetition_fixture {

constexpr int AreaWidth = 1024;
constexpr int AreaHeight = 697;
constexpr int MenuHeight = 71;

inline const QRgb TimerColour = qRgb(250, 10, 10);
inline const QRgb LitColour = qRgb(10, 250, 10);

inline QImage Flat(QSize size, QRgb colour)
{
    QImage img(size, QImage::Format_BGR888);
    img.fill(QColor::fromRgb(colour));
    return img;
}

// Opaque on the left half, clear on the right: shows where a card was cut.
inline QImage HalfMask(QSize size)
{
    QImage m(size, QImage::Format_Grayscale8);
    m.fill(0);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            m.scanLine(y)[x] = 255;
    return m;
}

inline QImage FullMask(QSize size)
{
    QImage m(size, QImage::Format_Grayscale8);
    m.fill(255);
    return m;
}

// The colour of card image i: tells which picture was drawn.
inline QRgb CardColour(int index)
{
    return qRgb((index * 7) % 200 + 30, (index * 13) % 200 + 30, 120);
}

inline bool WriteSkins(const QString& path)
{
    using E = CBitmapsContainerWriter::Encoding;
    CBitmapsContainerWriter w;
    auto pair = [&](int image, int mask, QSize size, QRgb colour) {
        w.Set(image, Flat(size, colour), E::Bmp);
        if (mask >= 0)
            w.Set(mask, FullMask(size), E::Bmp);
    };
    // Photo frame and its mask, the timer picture.
    pair(198, 199, QSize(100, 80), qRgb(90, 90, 90));
    w.Set(200, FullMask(QSize(90, 70)), E::Bmp);
    pair(218, 219, QSize(20, 20), TimerColour);
    // PNO's name label; PP's labels (pressed, lit, normal, mask, grey lit).
    pair(204, 205, QSize(300, 50), qRgb(220, 220, 200));
    w.Set(226, Flat(QSize(500, 60), qRgb(0, 0, 200)), E::Bmp);
    w.Set(227, Flat(QSize(500, 60), LitColour), E::Bmp);
    pair(228, 229, QSize(500, 60), qRgb(230, 230, 230));
    w.Set(230, Flat(QSize(500, 60), qRgb(200, 200, 200)), E::Bmp);
    // PNC's caption and the three looks of its replay button.
    pair(332, 333, QSize(300, 50), qRgb(220, 200, 220));
    for (int i = 352; i <= 356; i += 2)
        pair(i, i + 1, QSize(40, 40), qRgb(30, 30, 30 + i - 300));
    // WYL's cards: digits (three groups), days, months; masks cut halves.
    for (int i = 94; i <= 124; ++i)
        if (i != 95)
            w.Set(i, Flat(QSize(100, 120), CardColour(i)), E::Bmp);
    w.Set(95, HalfMask(QSize(100, 120)), E::Bmp);
    for (int i = 125; i <= 145; ++i)
        if (i != 126 && i != 134)
            w.Set(i, Flat(QSize(200, 120), CardColour(i)), E::Bmp);
    w.Set(126, HalfMask(QSize(200, 120)), E::Bmp);
    w.Set(134, HalfMask(QSize(200, 120)), E::Bmp);
    return w.Save(path);
}

inline QStringList WordNames()
{
    return {"DOM", "KOT", "PIES", "LAS", "RYBA"};
}
constexpr int ProverbCount = 4;
constexpr int ActionCount = 3;

inline bool WriteContent(const QString& path)
{
    if (!CreateContentDatabase(path))
        return false;
    CDbConnection db;
    db.Connect(path);
    const QStringList names = WordNames();
    for (int i = 0; i < names.size(); ++i)
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                   "VALUES (?, ?, ?, 'D', '', 1)",
                   {names[i], names[i].toLower(), i});
    for (int i = 1; i <= ProverbCount; ++i)
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, 'Z', 1)",
                   {i, QString("początek %1").arg(i), QString("koniec %1").arg(i)});
    for (int i = 1; i <= ActionCount; ++i)
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                   "VALUES (?, ?, ?, ?, 'H', 1)",
                   {i, QString("czynność %1").arg(i), QString("przedstawia %1").arg(i),
                    QString("robi %1").arg(i)});
    db.Disconnect();
    return true;
}

// A scrambled sound of `ms` milliseconds (8 kHz, 8 bits, mono).
inline bool WriteSound(const QString& pathWithoutExt, int ms)
{
    QDir().mkpath(QFileInfo(pathWithoutExt).path());
    QFile f(pathWithoutExt + ".wv");
    return f.open(QIODevice::WriteOnly) && f.write(ScrambleWv(MakeWave(8000, 1, 8, 8 * ms))) > 0;
}

} // namespace repetition_fixture

// Turns pages over a list of exercises as the therapy window does: forward
// resumes the graph timer, back pauses it, a tick pages forward and stops the
// timer on the last task of the last exercise.
class CRepetitionPager
{
public:
    std::vector<CExercise*> List;
    CGraphTimer* Timer = nullptr;
    int Current = 0;
    bool ForwardEnabled = false;
    bool BackEnabled = false;

    CExercise& Ex() { return *List[Current]; }
    bool AtEnd() { return Current == int(List.size()) - 1 && Ex().IsLastTask(); }

    void Begin()
    {
        Current = 0;
        Ex().Activate();
        BackEnabled = false;
        ForwardEnabled = !AtEnd();
    }
    void Forward()
    {
        if (!ForwardEnabled)
            return;
        Timer->Resume();
        BackEnabled = true;
        if (Ex().IsLastTask()) {
            SwitchTo(Current + 1, true);
        } else {
            Ex().SelectTask(Ex().TaskIndex + 1);
            if (AtEnd())
                ForwardEnabled = false;
        }
    }
    void Back()
    {
        if (!BackEnabled)
            return;
        Timer->Pause();
        ForwardEnabled = true;
        if (Ex().TaskIndex > 0) {
            Ex().SelectTask(Ex().TaskIndex - 1);
            if (Ex().TaskIndex == 0 && Current == 0)
                BackEnabled = false;
        } else {
            SwitchTo(Current - 1, false);
        }
    }
    void SwitchTo(int index, bool forward)
    {
        Ex().Deactivate();
        Current = index;
        Ex().SelectTask(forward ? 0 : Ex().TaskCount - 1);
        Ex().Activate();
        BackEnabled = !(Ex().TaskIndex == 0 && Current == 0);
        ForwardEnabled = !AtEnd();
    }
    void AutoAdvance()
    {
        if (AtEnd())
            return;
        Forward();
        if (AtEnd()) {
            Timer->Stop();
            Ex().Paint();
        }
    }
    void Close()
    {
        Ex().Deactivate();
        for (CExercise* e : List)
            e->ClearTasks();
    }
};

// Fixes the display mode before any placement table of the fixture is made,
// so that none asks for it.
struct CRepetitionDisplay
{
    CRepetitionDisplay() { SetDisplayModeFor(1024, 768); }
};

class RepetitionExerciseTest : public ::testing::Test, protected CRepetitionDisplay
{
protected:
    static void SetUpTestSuite()
    {
        s_film = std::make_unique<TempDir>();
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            return;
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg",
                     {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=25",
                      "-t", "1", "-c:v", "mpeg1video", s_film->file("film.mpg")});
        ffmpeg.waitForFinished(60000);
    }
    static void TearDownTestSuite() { s_film.reset(); }

    void SetUp() override
    {
        using namespace repetition_fixture;
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        m_oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        QDir().mkpath("Data");
        ASSERT_TRUE(WriteSkins("Data/cextb.bc"));
        ASSERT_TRUE(WriteContent("Data/sdrow.qp"));
        for (const QString& name : WordNames())
            ASSERT_TRUE(WriteSound("Data/ws/" + name, 150));
        for (int i = 1; i <= ProverbCount; ++i) {
            ASSERT_TRUE(WriteSound(QString("Data/ps/p%1").arg(i, 3, 10, QChar('0')), 700));
            ASSERT_TRUE(WriteSound(QString("Data/ps/k%1").arg(i, 3, 10, QChar('0')), 300));
        }
        const QString film = s_film->file("film.mpg");
        QDir().mkpath("Data/asm");
        for (int i = 1; i <= ActionCount; ++i) {
            ASSERT_TRUE(WriteSound(QString("Data/as/p1_%1").arg(i), 200));
            ASSERT_TRUE(WriteSound(QString("Data/as/p2_%1").arg(i), 200));
            const QString path = QString("Data/asm/%1.mpg").arg(i);
            if (QFile::exists(film)) {
                ASSERT_TRUE(QFile::copy(film, path));
                ASSERT_TRUE(ScrambleFilmFile(path));
            }
        }
        for (int i = 1; i <= 7; ++i)
            ASSERT_TRUE(WriteSound(QString("Data/dml/d%1").arg(i), 100));
        for (int i = 1; i <= 12; ++i)
            ASSERT_TRUE(WriteSound(QString("Data/dml/m%1").arg(i), 100));
        for (int i = 1; i <= 10; ++i)
            ASSERT_TRUE(WriteSound(QString("Data/dml/l%1").arg(i), 100));
        ASSERT_EQ(container.Open("Data/cextb.bc", false), CBitmapsContainer::BC_OK);
        ASSERT_TRUE(words.Open("Data/sdrow.qp")) << words.LastError().toStdString();

        main.Container = &container;
        CTherapyPlaces::FillMain(main);
        photoTable.Container = &container;
        CTherapyPlaces::FillPhoto(photoTable);

        host = std::make_unique<QWidget>();
        host->setGeometry(0, 0, AreaWidth, AreaHeight + MenuHeight);
        area = new QWidget(host.get());
        area->setGeometry(0, MenuHeight, AreaWidth, AreaHeight);
        bitmap = std::make_unique<QImage>(AreaWidth, AreaHeight, QImage::Format_BGR888);
        bitmap->fill(Qt::black);
        komps = std::make_unique<CSharedKomps>(host.get());
        komps->Container = &container;
        komps->ExerciseBitmap = bitmap.get();
        komps->ExerciseArea = area;
        komps->Words = &words;
        photo = new CKompPhoto(host.get(), bitmap.get(), bitmap.get());
        photo->hide();
        photoTable.Set_iCurrent(1);
        photo->Place(photoTable, area->x(), area->y());
        komps->Photo = photo;
        tv = new CKompTV(host.get());
        tv->ScrambledFiles = true;
        main.Set_iCurrent(CTherapyPlaces::PosVideo);
        main.PlaceComponent(tv);
        tv->move(tv->x() + area->x(), tv->y() + area->y());
        komps->TV = tv;
        timer = std::make_unique<CGraphTimer>(AreaWidth - 50, AreaHeight - 50);
        main.Set_iCurrent(CTherapyPlaces::PosTimerPicture);
        timer->LoadImage(main);
        timer->SetOnTimer([this] { pager.AutoAdvance(); });
        komps->GraphTimer = timer.get();
        komps->DelayCall = &delay;
        pager.Timer = timer.get();
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        // The sound player remembers the last sound across tests.
        PlayWv("Data/none", true);
    }

    void TearDown() override
    {
        StopContentSound();
        delay.Callback = nullptr;
        exercises.clear();
        timer->Stop();
        host.reset();
        komps.reset();
        QDir::setCurrent(m_oldDir);
        ColorMode = CM_COLOR;
    }

    // Builds exercise T at its own colour entry.
    template <typename T> T& Make(int index)
    {
        main.Set_iCurrent(CTherapyPlaces::PosFirstColour + index);
        auto e = std::make_unique<T>(main, *komps);
        T& ref = *e;
        exercises.push_back(std::move(e));
        return ref;
    }

    // Prepares the listed exercises, pages them every `intervalMs` (0: by
    // hand; the settings give whole seconds, tests page faster) and shows the
    // first.
    void Run(std::vector<CExercise*> list, int intervalMs = 0)
    {
        for (CExercise* e : list) {
            e->Prepare(settings);
            static_cast<CRepetitionExercise*>(e)->PageInterval = intervalMs;
        }
        pager.List = std::move(list);
        pager.Begin();
    }

    QRgb At(int x, int y) const { return bitmap->pixel(x, y) | 0xff000000u; }
    QRgb TimerPixel() const
    {
        return At(repetition_fixture::AreaWidth - 40, repetition_fixture::AreaHeight - 40);
    }
    bool FilmIsPlain(int id) const
    {
        QFile f(QString("Data/asm/%1.mpg").arg(id));
        return f.open(QIODevice::ReadOnly) && f.read(1) == QByteArray(1, '\0');
    }
    bool HaveFilms() const { return QFile::exists(s_film->file("film.mpg")); }

    static inline std::unique_ptr<TempDir> s_film;
    TempDir dir;
    QString m_oldDir;
    CBitmapsContainer container;
    CWords words;
    CDynamicPlace main;
    CDynamicPlace photoTable;
    std::unique_ptr<QWidget> host;
    QWidget* area = nullptr;
    std::unique_ptr<QImage> bitmap;
    std::unique_ptr<CSharedKomps> komps;
    CKompPhoto* photo = nullptr;
    CKompTV* tv = nullptr;
    std::unique_ptr<CGraphTimer> timer;
    CDelayCall delay;
    CTherapySettings settings;
    CRepetitionPager pager;
    std::vector<std::unique_ptr<CExercise>> exercises;
};
