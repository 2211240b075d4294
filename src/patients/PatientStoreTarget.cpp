#include "patients/PatientStoreTarget.h"

#include "app/Universalfn.h"
#include "platform/CDbConnection.h"

namespace {

const QString kOption = QStringLiteral("--klinika");

} // namespace

QString PatientStoreTarget(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(kOption + QLatin1Char('=')))
            return argument.mid(kOption.size() + 1);
        if (argument == kOption && i + 1 < arguments.size())
            return arguments[i + 1];
    }
    QString stored;
    if (RegReadText(QStringLiteral("Klinika"), QStringLiteral("Polaczenie"), stored) &&
        !stored.trimmed().isEmpty())
        return stored.trimmed();
    return QStringLiteral("pacmem.qp");
}

QString PatientStoreFailure(const QString& target, const QString& error)
{
    if (!CDbConnection::IsClinicAddress(target))
        return QStringLiteral("#03: Błąd bazy pacjentów!\n\n Jeśli ten błąd się powtarza, to "
                              "proszę zainstalować program ponownie.");
    // The error's text begins with where it arose ("Class::Operation - ");
    // the therapist needs only what follows.
    const int cut = error.indexOf(QLatin1String(" - "));
    const QString reason = cut >= 0 ? error.mid(cut + 3) : error;
    return QStringLiteral("#03: Błąd bazy pacjentów kliniki!\n\n ") + reason;
}
