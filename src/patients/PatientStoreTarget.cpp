#include "patients/PatientStoreTarget.h"

#include "app/Universalfn.h"
#include "platform/CDbConnection.h"

namespace {

// "<option>=<value>" or "<option> <value>" among the arguments, else the
// persistent setting Klinika/<setting>; empty when neither is there.
QString OptionOrSetting(const QStringList& arguments, const QString& option, const QString& setting)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(option + QLatin1Char('=')))
            return argument.mid(option.size() + 1);
        if (argument == option && i + 1 < arguments.size())
            return arguments[i + 1];
    }
    QString stored;
    if (RegReadText(QStringLiteral("Klinika"), setting, stored))
        return stored.trimmed();
    return {};
}

} // namespace

QString PatientStoreTarget(const QStringList& arguments)
{
    const QString target =
        OptionOrSetting(arguments, QStringLiteral("--klinika"), QStringLiteral("Polaczenie"));
    return target.isEmpty() ? QStringLiteral("pacmem.qp") : target;
}

QString PatientStoreWorkstation(const QStringList& arguments)
{
    return OptionOrSetting(arguments, QStringLiteral("--stanowisko"), QStringLiteral("Stanowisko"))
        .trimmed();
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
