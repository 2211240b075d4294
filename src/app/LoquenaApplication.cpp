#include "app/LoquenaApplication.h"

#include "app/AppMessage.h"
#include "app/CError.h"
#include "app/MouseGridFilter.h"
#include "app/QtTranslations.h"
#include "app/SignalQuit.h"

LoquenaApplication::LoquenaApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_signalQuit(std::make_unique<SignalQuit>()),
      m_mouseGrid(MouseGridFilter::InstallIfScaled())
{
    InstallQtTranslations();
}

LoquenaApplication::~LoquenaApplication() = default;

bool LoquenaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportEventError(std::current_exception());
        return false;
    }
}

void LoquenaApplication::ReportEventError(const std::exception_ptr& error)
{
    QString text = CError::TextOf(error);
    if (text.isEmpty())
        text = QStringLiteral("Nieznany błąd.");
    ShowAppMessage(QMessageBox::Critical, ApplicationTitle(), text);
}
