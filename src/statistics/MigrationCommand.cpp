#include "statistics/MigrationCommand.h"

#include "app/CError.h"
#include "patients/PatientStoreTarget.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "statistics/CClinicMigration.h"

#include <QDir>
#include <cstdio>

namespace {

const QString kOption = QStringLiteral("--przenies");

QString Folder(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(kOption + QLatin1Char('=')))
            return arguments[i].mid(kOption.size() + 1);
        if (arguments[i] == kOption && i + 1 < arguments.size())
            return arguments[i + 1];
    }
    return QString();
}

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

bool IsMigrationCommand(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument == kOption || argument.startsWith(kOption + QLatin1Char('=')))
            return true;
    return false;
}

int RunMigrationCommand(const QStringList& arguments)
{
    const QString folder = Folder(arguments);
    const QString target = PatientStoreTarget(arguments);
    if (folder.isEmpty() || !CDbConnection::IsClinicAddress(target)) {
        Print(stderr, QStringLiteral("Użycie: loquena --przenies=<folder z plikiem pacmem.qp> "
                                     "--klinika=<parametry połączenia z bazą kliniki>\n"
                                     "(bez --klinika: baza kliniki z ustawienia "
                                     "Klinika/Polaczenie)\n"));
        return 2;
    }
    try {
        CDbConnection clinic;
        clinic.Connect(target);
        Print(stdout,
              QStringLiteral("Przenoszenie %1 do bazy kliniki %2\n")
                  .arg(QDir(folder).absolutePath(), clinic.Backend("Przenoszenie").Target()));
        const CClinicMigration::SReport report = CClinicMigration(folder, clinic).Run();
        Print(stdout, CClinicMigration::ReportText(report));
        Print(stdout, QStringLiteral("Dane zostały przeniesione i sprawdzone.\n"));
        return 0;
    } catch (const CError& error) {
        Print(stderr, CClinicMigration::Reason(error) + QLatin1Char('\n'));
        return 1;
    }
}
