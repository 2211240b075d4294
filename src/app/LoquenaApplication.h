#pragma once
#include <QApplication>

// The program's application object. An error thrown by an event handler while
// the program runs is shown (its text under the application title) and the
// program goes on, instead of unwinding through Qt's event loop.
class LoquenaApplication : public QApplication
{
    Q_OBJECT
public:
    LoquenaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The box shown for an error caught in an event handler.
    static void ReportEventError(const std::exception_ptr& error);
};
