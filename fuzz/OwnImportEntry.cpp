#include "FuzzEntries.h"

#include "content/COwnMaterial.h"
#include "content/OwnMaterialTransfer.h"
#include "content/OwnVoices.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

QString FuzzOwnImport(QByteArrayView input)
{
    // The file's own check sum is made right, so that what follows it (the
    // words, their pictures and voices) is what gets tested.
    QByteArray data = input.toByteArray();
    data += QCryptographicHash::hash(data, QCryptographicHash::Sha256);
    QTemporaryDir folder;
    if (!folder.isValid())
        return QStringLiteral("no scratch folder");
    COwnMaterial store(folder.path());
    if (!store.Open())
        return store.LastError();
    OwnMaterialTransfer::SReport report;
    QString error;
    if (!OwnMaterialTransfer::ImportData(store, nullptr, {{1, QStringLiteral("Nowak Anna")}}, data,
                                         &report, &error))
        return error;
    // What was added must read back whole.
    COwnMaterial again(folder.path());
    QStringList voices = report.VoicesAdded;
    voices.sort();
    if (!again.Open() || again.Words().size() != size_t(report.Added.size()) ||
        OwnVoicePathsIn(again.VoicesFolderPath()) != voices)
        std::abort();
    return report.Refused.join(QStringLiteral("; "));
}
