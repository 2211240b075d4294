#include "app/Startup.h"

#include "app/AppMessage.h"
#include "app/CError.h"
#include "app/Cursors.h"
#include "app/DisplayMode.h"
#include "app/SingleInstance.h"
#include "app/TFormSplash.h"
#include "app/Universalfn.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <cstdio>

Startup::Startup()
    : m_instanceName(SingleInstance::DefaultName()),
      m_splashHoldMs(qEnvironmentVariableIntValue("LOQUENA_SPLASH_MS"))
{
}

Startup::~Startup()
{
    Shutdown();
}

void Startup::AddWindow(WindowFactory factory)
{
    m_factories.push_back(std::move(factory));
}

void Startup::AddShutdownStep(std::function<void()> step)
{
    m_shutdownSteps.push_back(std::move(step));
}

void Startup::SetInstanceName(const QString& name)
{
    m_instanceName = name;
}

void Startup::SetSplashHoldMs(int ms)
{
    m_splashHoldMs = ms;
}

QString Startup::GenericErrorText()
{
    return QStringLiteral("Wystąpił błąd wewnętrzny aplikacji!\n\nPrzyczyna błędu nie została "
                          "rozpoznana.\nJeśli widzisz to okienko po raz kolejny,\nspróbuj "
                          "zainstalować ponownie aplikację.\nJeżeli to nie pomoże, to poinformuj "
                          "firmę Varentis,\ndokładnie opisując, jakie działania prowadzą do tego "
                          "błędu.\n\nKontakt: ") +
           QLatin1String(SupportAddress);
}

QString Startup::AlreadyRunningText()
{
    return QStringLiteral("Aplikacja jest aktualnie uruchomiona.\n\nZamknij proces aplikajcji lub "
                          "uruchom ponownie komputer.");
}

void Startup::ReportTopLevelError(const std::exception_ptr& error)
{
    CError caught{QString()};
    try {
        std::rethrow_exception(error);
    } catch (const CError& e) {
        caught = e;
    } catch (...) {
        // Anything else counts as an error with no message of its own.
    }
    const bool own = caught.IsUserMessage();
    const QString caption = own ? QStringLiteral("Loquena - Błąd") : QStringLiteral("Ostrzeżenie");
    const QString text = own ? caught.Message() : GenericErrorText();
    // Also on the terminal, with the real cause, for whoever looks into a
    // start that failed.
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption),
                 qUtf8Printable(own || caught.Message().isEmpty()
                                    ? text
                                    : text + QStringLiteral("\n(") + caught.Message() + ')'));
    ShowAppMessage(QMessageBox::Critical, caption, text);
}

int Startup::Run()
{
    SeedRandomGenerators();
    m_instance = std::make_unique<SingleInstance>(m_instanceName);
    switch (m_instance->Claim()) {
    case SingleInstance::Result::Acquired:
        break;
    case SingleInstance::Result::OtherRaised:
        return 0;
    case SingleInstance::Result::OtherUnreachable:
        ShowAppMessage(QMessageBox::Critical, ApplicationTitle(), AlreadyRunningText());
        return 0;
    }

    SetProgramFolder();
    try {
        ShowSplash();
        // A refused display mode ends start-up without another word.
        if (DetermineDisplayMode())
            CreateAndRunWindows();
    } catch (...) {
        ReportTopLevelError(std::current_exception());
    }
    Shutdown();
    return 0;
}

void Startup::SetProgramFolder()
{
    AppExeName = QCoreApplication::applicationFilePath();
    AppDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QDir::setCurrent(AppDir);
}

void Startup::ShowSplash()
{
    FormSplash = std::make_unique<TFormSplash>();
    FormSplash->show();
    QCoreApplication::processEvents();
    FormSplash->raise();
    FormSplash->activateWindow();
    QCoreApplication::processEvents();
}

void Startup::CreateAndRunWindows()
{
    Cursors::Load();
    for (const WindowFactory& create : m_factories)
        if (auto window = create())
            m_windows.push_back(std::move(window));
    if (m_windows.empty()) {
        HoldSplash();
        return;
    }
    // Only the main window's closing ends the message loop.
    for (const auto& window : m_windows)
        window->setAttribute(Qt::WA_QuitOnClose, window == m_windows.front());
    m_windows.front()->show();
    QApplication::exec();
}

void Startup::HoldSplash()
{
    if (m_splashHoldMs <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(m_splashHoldMs, &loop, &QEventLoop::quit);
    loop.exec();
}

void Startup::Shutdown()
{
    FormSplash.reset();
    while (!m_windows.empty())
        m_windows.pop_back();
    if (m_instance)
        m_instance->Release();
    while (!m_shutdownSteps.empty()) {
        const auto step = std::move(m_shutdownSteps.back());
        m_shutdownSteps.pop_back();
        step();
    }
    Cursors::Release();
}
