#pragma once
#include <QApplication>
#include <memory>

class MouseGridFilter;
class SignalQuit;

// The program's application object. Qt's own texts are Polish (see
// QtTranslations.h). An error thrown by an event handler while
// the program runs is shown (its text under the application title) and the
// program goes on, instead of unwinding through Qt's event loop. A request to
// end the program from outside ends it as closing the main window does.
class LoquenaApplication : public QApplication
{
    Q_OBJECT
public:
    LoquenaApplication(int& argc, char** argv);
    ~LoquenaApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // The box shown for an error caught in an event handler.
    static void ReportEventError(const std::exception_ptr& error);

private:
    // A request to end (log-out, Ctrl+C) closes the windows in order.
    std::unique_ptr<SignalQuit> m_signalQuit;
    // Where the screen is scaled: the mouse onto whole design pixels.
    std::unique_ptr<MouseGridFilter> m_mouseGrid;
};
