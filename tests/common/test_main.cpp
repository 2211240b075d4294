// The one main() of every test program: a QApplication on the offscreen
// platform, so that widget tests can create windows without a display.
#include "app/AppMessage.h"
#include "app/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + "/loquena-test-runtime";
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toUtf8());
    }
    // Settings written by tests never reach the user's real store.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // Qt's own texts in Polish, as the program has them.
    InstallQtTranslations();
    // No test may wait for a person: a box that a test did not answer itself
    // is printed and cancelled.
    SetAppMessageHandler([](QMessageBox::Icon, const QString& caption, const QString& text,
                            QMessageBox::StandardButtons) {
        fprintf(stderr, "unanswered message box \"%s\": %s\n", qPrintable(caption),
                qPrintable(text));
        return QMessageBox::Cancel;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
