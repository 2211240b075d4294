#include "app/AppMessage.h"

#include "app/TFormSplash.h"

namespace {

AppMessageFn& Handler()
{
    static AppMessageFn handler;
    return handler;
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Loquena Cz. I");
}

QMessageBox::StandardButton ShowAppMessage(QMessageBox::Icon icon, const QString& caption,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons)
{
    if (Handler())
        return Handler()(icon, caption, text, buttons);
    QMessageBox box(icon, caption, text, buttons, MessageOwner());
    if (buttons.testFlag(QMessageBox::Ok))
        box.setDefaultButton(QMessageBox::Ok);
    return QMessageBox::StandardButton(box.exec());
}

AppMessageFn SetAppMessageHandler(AppMessageFn handler)
{
    std::swap(handler, Handler());
    return handler;
}

QWidget* MessageOwner()
{
    return FormSplash.get();
}
