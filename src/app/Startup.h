#pragma once
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class SingleInstance;

// The program's start and end: one instance only, the splash, the display
// mode, the cursors, the windows in their order, the message loop, and one
// handler for any error that reaches the top. The entry point adds the
// windows; start-up itself knows none of them.
class Startup
{
public:
    using WindowFactory = std::function<std::unique_ptr<QWidget>()>;

    Startup();
    ~Startup();

    // Windows are created in the order they are added. The first is the main
    // window: it is shown when all are created and its closing ends the
    // program. A factory that fails throws (a CError "#NN: ..." for the user);
    // one that keeps its window elsewhere may return null.
    void AddWindow(WindowFactory factory);
    // Run on the way out, last added first (freeing shared buffers and such).
    void AddShutdownStep(std::function<void()> step);

    // Replaces the instance name (default SingleInstance::DefaultName()).
    void SetInstanceName(const QString& name);
    // With no window to run, the splash stays up this long before the program
    // ends (default: LOQUENA_SPLASH_MS, else 0). Used to look at the splash.
    void SetSplashHoldMs(int ms);

    // Runs the program to its end; the result is the exit code, always 0.
    int Run();

    // The one box for an error that reached the top: a CError whose message
    // starts with "#" is shown whole under "Loquena - Błąd"; anything else
    // gets GenericErrorText() under "Ostrzeżenie".
    static void ReportTopLevelError(const std::exception_ptr& error);
    static QString GenericErrorText();
    static QString AlreadyRunningText();
    static constexpr const char* SupportAddress = "pomoc@varentis.pl";

private:
    void SetProgramFolder();
    void ShowSplash();
    void CreateAndRunWindows();
    void HoldSplash();
    void Shutdown();

    std::vector<WindowFactory> m_factories;
    std::vector<std::unique_ptr<QWidget>> m_windows;
    std::vector<std::function<void()>> m_shutdownSteps;
    std::unique_ptr<SingleInstance> m_instance;
    QString m_instanceName;
    int m_splashHoldMs = 0;
};
