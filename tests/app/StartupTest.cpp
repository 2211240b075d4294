#include "app/Startup.h"

#include "MessageRecorder.h"
#include "app/CError.h"
#include "app/DisplayMode.h"
#include "app/SingleInstance.h"
#include "app/TFormSplash.h"
#include "common/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString UniqueName()
{
    return "loquena-test-" + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// Runs start-up inside the test process on a screen of the given size, with
// the user's answers recorded, and puts back what start-up changes.
class StartupRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = QDir::currentPath();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_previous = SetScreenSizeSource([this] { return m_screen; });
        startup.SetInstanceName(m_name);
        startup.SetSplashHoldMs(0);
    }
    void TearDown() override
    {
        SetScreenSizeSource(m_previous);
        QDir::setCurrent(m_cwd);
    }
    bool NameIsFree() const
    {
        SingleInstance probe(m_name);
        return probe.Claim() == SingleInstance::Result::Acquired;
    }

    TempDir m_dir;
    QString m_name = UniqueName();
    QSize m_screen{1280, 1024};
    Startup startup;

private:
    QString m_cwd;
    ScreenSizeSource m_previous;
};

} // namespace

TEST_F(StartupRun, WithoutWindowsShowsTheSplashAndEndsQuietly)
{
    MessageRecorder user;
    bool splashShown = false;
    startup.AddWindow([&] {
        splashShown = FormSplash && FormSplash->isVisible();
        return nullptr;
    });
    // A factory may give no window: nothing is left to run, the program ends.
    EXPECT_EQ(startup.Run(), 0);
    EXPECT_TRUE(splashShown);
    EXPECT_TRUE(user.boxes.isEmpty());
    EXPECT_EQ(FormSplash, nullptr);
    EXPECT_EQ(QDir::currentPath() + "/", AppDir);
    EXPECT_EQ(DisplayMode, DM_1280);
    EXPECT_TRUE(NameIsFree());
}

TEST_F(StartupRun, RefusedDisplayModeEndsWithoutAnotherMessage)
{
    MessageRecorder user;
    m_screen = QSize(640, 480);
    bool created = false;
    startup.AddWindow([&] {
        created = true;
        return std::make_unique<QWidget>();
    });
    bool shutdownRan = false;
    startup.AddShutdownStep([&] { shutdownRan = true; });
    EXPECT_EQ(startup.Run(), 0);
    ASSERT_EQ(user.boxes.size(), 1); // the resolution warning only
    EXPECT_EQ(user.boxes[0].icon, QMessageBox::Warning);
    EXPECT_FALSE(created);
    EXPECT_TRUE(shutdownRan);
    EXPECT_EQ(FormSplash, nullptr);
    EXPECT_TRUE(NameIsFree()); // a new start is possible at once
}

TEST_F(StartupRun, TopLevelErrorsGetTheirBox)
{
    const QString patientDbError = QStringLiteral(
        "#03: Błąd bazy pacjentów!\n\n Jeśli ten błąd się powtarza, to proszę zainstalować "
        "program ponownie.");
    const QString generic = QStringLiteral(
        "Wystąpił błąd wewnętrzny aplikacji!\n\nPrzyczyna błędu nie została rozpoznana.\nJeśli "
        "widzisz to okienko po raz kolejny,\nspróbuj zainstalować ponownie aplikację.\nJeżeli "
        "to nie pomoże, to poinformuj firmę Varentis,\ndokładnie opisując, jakie działania "
        "prowadzą do tego błędu.\n\nKontakt: pomoc@varentis.pl");
    const struct
    {
        const char* name;
        std::function<void()> fail;
        QString caption, text;
    } cases[] = {
        {"user message", [&] { throw CError(patientDbError); }, "Loquena - Błąd", patientDbError},
        {"contract violation",
         [] { throw CError("CDynamicPlace::SetPoint - Próba ustawienia innego PlaceType!"); },
         "Ostrzeżenie", generic},
        {"empty message", [] { throw CError(""); }, "Ostrzeżenie", generic},
        {"other exception", [] { throw std::runtime_error("bad"); }, "Ostrzeżenie", generic},
        {"not an exception", [] { throw 42; }, "Ostrzeżenie", generic},
    };
    for (const auto& c : cases) {
        MessageRecorder user;
        Startup run;
        run.SetInstanceName(UniqueName());
        bool secondCreated = false;
        bool shutdownRan = false;
        run.AddWindow([&]() -> std::unique_ptr<QWidget> {
            c.fail();
            return nullptr;
        });
        run.AddWindow([&] {
            secondCreated = true;
            return std::make_unique<QWidget>();
        });
        run.AddShutdownStep([&] { shutdownRan = true; });
        EXPECT_EQ(run.Run(), 0) << c.name;
        ASSERT_EQ(user.boxes.size(), 1) << c.name;
        EXPECT_EQ(user.boxes[0].caption, c.caption) << c.name;
        EXPECT_EQ(user.boxes[0].text, c.text) << c.name;
        EXPECT_EQ(user.boxes[0].icon, QMessageBox::Critical) << c.name;
        EXPECT_TRUE(user.boxes[0].hadOwner) << c.name << ": owned by the splash";
        EXPECT_FALSE(secondCreated) << c.name;
        EXPECT_TRUE(shutdownRan) << c.name;
        EXPECT_EQ(FormSplash, nullptr) << c.name;
    }
}

TEST_F(StartupRun, WindowsAreCreatedInOrderAndTheFirstEndsTheProgram)
{
    MessageRecorder user;
    QStringList events;
    QPointer<QWidget> mainWindow;
    for (const QString name : {"main", "therapy", "message"}) {
        startup.AddWindow([&, name] {
            events << "create " + name;
            auto window = std::make_unique<QWidget>();
            window->setObjectName(name);
            QObject::connect(window.get(), &QObject::destroyed,
                             [&events, name] { events << "destroy " + name; });
            if (name == "main")
                mainWindow = window.get();
            if (name == "message") {
                // Once the loop runs, the main window is shown; closing it ends
                // the program.
                QTimer::singleShot(0, [&] {
                    events << QString("main shown %1").arg(mainWindow && mainWindow->isVisible());
                    mainWindow->close();
                });
            }
            return window;
        });
    }
    startup.AddShutdownStep([&] { events << "release sound buffer"; });
    EXPECT_EQ(startup.Run(), 0);
    EXPECT_EQ(events, (QStringList{"create main", "create therapy", "create message",
                                   "main shown 1", "destroy message", "destroy therapy",
                                   "destroy main", "release sound buffer"}));
    EXPECT_TRUE(user.boxes.isEmpty());
}

// --- Two real processes -------------------------------------------------------------

// The program's start-up as a child process: this test program run again
// with LOQUENA_STARTUP_CHILD set. Every box it shows is written to the file
// LOQUENA_STARTUP_CHILD names, one line per box: caption, a bar, text.
TEST(StartupChild, Run)
{
    const QString log = qEnvironmentVariable("LOQUENA_STARTUP_CHILD");
    if (log.isEmpty())
        GTEST_SKIP() << "runs only as the child of the instance tests";
    TempDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    SetScreenSizeSource([] { return QSize(1280, 1024); });
    SetAppMessageHandler([log](QMessageBox::Icon, const QString& caption, const QString& text,
                               QMessageBox::StandardButtons) {
        QFile file(log);
        if (file.open(QIODevice::Append))
            file.write((caption + "|" + QString(text).replace('\n', ' ') + "\n").toUtf8());
        return QMessageBox::Ok;
    });
    Startup startup; // instance name and splash time from the environment
    EXPECT_EQ(startup.Run(), 0);
}

namespace {

class TwoInstances : public ::testing::Test
{
protected:
    std::unique_ptr<QProcess> Start(const QString& log, int splashMs)
    {
        auto child = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LOQUENA_STARTUP_CHILD", m_dir.file(log));
        env.insert("LOQUENA_INSTANCE_NAME", m_name);
        env.insert("LOQUENA_SPLASH_MS", QString::number(splashMs));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child->setProcessEnvironment(env);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StartupChild.Run"});
        EXPECT_TRUE(child->waitForStarted(10000));
        return child;
    }
    bool WaitUntilListening(QProcess& child)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            QLocalSocket probe;
            probe.connectToServer(m_name);
            if (probe.waitForConnected(200)) {
                probe.abort();
                return true;
            }
            if (child.state() == QProcess::NotRunning)
                return false;
            QTest::qWait(50);
        }
        return false;
    }
    static bool EndedCleanly(QProcess& child, int timeoutMs = 20000)
    {
        return child.waitForFinished(timeoutMs) && child.exitStatus() == QProcess::NormalExit &&
               child.exitCode() == 0;
    }
    QString Log(const QString& name) const
    {
        QFile file(m_dir.file(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString SocketPath() const { return QDir::tempPath() + "/" + m_name; }

    // A socket file on the name: listening but never answering, or left
    // behind by a process that died.
    int BindRawSocket(bool listening)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(SocketPath());
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        if (listening) {
            EXPECT_EQ(::listen(fd, 5), 0);
        }
        return fd;
    }

    TempDir m_dir;
    QString m_name = UniqueName();
};

} // namespace

TEST_F(TwoInstances, SecondStartRaisesTheFirstAndEndsWithoutAMessage)
{
    auto first = Start("first.log", 8000);
    ASSERT_TRUE(WaitUntilListening(*first));
    auto second = Start("second.log", 0);
    EXPECT_TRUE(EndedCleanly(*second));
    EXPECT_EQ(first->state(), QProcess::Running) << "the second start ended on its own";
    EXPECT_EQ(Log("second.log"), "");
    EXPECT_TRUE(EndedCleanly(*first));
    EXPECT_EQ(Log("first.log"), "");
    EXPECT_FALSE(QFile::exists(SocketPath())) << "the name is given back";
}

TEST_F(TwoInstances, HolderThatDoesNotAnswerGetsTheAlreadyRunningBox)
{
    const int fd = BindRawSocket(true);
    auto second = Start("second.log", 0);
    EXPECT_TRUE(EndedCleanly(*second));
    EXPECT_EQ(Log("second.log"),
              "Loquena Cz. I|Aplikacja jest aktualnie uruchomiona.  Zamknij proces aplikajcji "
              "lub uruchom ponownie komputer.\n");
    ::close(fd);
    ::unlink(QFile::encodeName(SocketPath()).constData());
}

TEST_F(TwoInstances, NameLeftByADeadInstanceIsTakenOver)
{
    ::close(BindRawSocket(false));
    ASSERT_TRUE(QFile::exists(SocketPath()));
    auto first = Start("first.log", 3000);
    EXPECT_TRUE(WaitUntilListening(*first));
    EXPECT_TRUE(EndedCleanly(*first));
    EXPECT_EQ(Log("first.log"), "");
    EXPECT_FALSE(QFile::exists(SocketPath()));
}
