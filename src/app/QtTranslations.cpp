#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <memory>

bool InstallQtTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_pl"), folder)) {
        std::fprintf(stderr,
                     "Qt's Polish texts (qtbase_pl in %s) not found; Qt's own texts stay "
                     "English.\n",
                     qUtf8Printable(folder));
        return false;
    }
    // The application owns it and keeps it installed for its lifetime.
    translator->setParent(app);
    return QCoreApplication::installTranslator(translator.release());
}
