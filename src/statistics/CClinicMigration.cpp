#include "statistics/CClinicMigration.h"

#include "app/CError.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CRecordingStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QVariantMap>
#include <map>
#include <vector>

namespace {

const char* const kWhere = "CClinicMigration";
const QStringList kTherapyColumns = {"Data", "CwWybrane", "Wypowiedz", "Komentarz"};
const QStringList kRowColumns = {"Cw", "LZ", "Rozw", "Blad", "Pomoc", "Czas"};
const QChar kKinds[] = {QLatin1Char('W'), QLatin1Char('K')};

struct STherapy
{
    qint64 id = -1;
    QVariantList fields;            // kTherapyColumns
    std::vector<QVariantList> rows; // kRowColumns, in stored order by Cw
    bool copied = false;
};

struct SPatient
{
    qint64 id = -1;
    QVariantMap fields; // by lower-case column name, without the key
    std::vector<STherapy> therapies;
    bool copied = false;
};

struct SStore
{
    QStringList columns; // of Pacjenci, as spelled, without the key
    std::vector<SPatient> patients;
    int orphans = 0;
};

// One store read whole with the same SQL on both engines.
SStore ReadStore(CDbBackend& db)
{
    SStore store;
    const SDbRows patients = db.Select("SELECT * FROM Pacjenci ORDER BY idPac", {}, kWhere);
    int key = -1;
    for (int c = 0; c < patients.names.size() && key < 0; ++c)
        if (patients.names[c].compare(QLatin1String("idPac"), Qt::CaseInsensitive) == 0)
            key = c;
    if (key < 0)
        throw CError(QStringLiteral("Nazwy kol. w bazie pac.!"));
    for (int c = 0; c < patients.names.size(); ++c)
        if (c != key)
            store.columns << patients.names[c];
    QHash<qint64, std::size_t> byId;
    for (const QVariantList& row : patients.rows) {
        SPatient patient;
        patient.id = row.value(key).toLongLong();
        for (int c = 0; c < patients.names.size(); ++c)
            if (c != key)
                patient.fields.insert(patients.names[c].toLower(), row.value(c));
        byId.insert(patient.id, store.patients.size());
        store.patients.push_back(patient);
    }
    const SDbRows therapies = db.Select("SELECT idStat, idPac, " + kTherapyColumns.join(", ") +
                                            " FROM Statystyki ORDER BY idPac, Data, idStat",
                                        {}, kWhere);
    std::map<qint64, STherapy*> byStat;
    for (const QVariantList& row : therapies.rows) {
        const auto owner = byId.constFind(row.value(1).toLongLong());
        if (owner == byId.constEnd()) {
            ++store.orphans;
            continue;
        }
        STherapy therapy;
        therapy.id = row.value(0).toLongLong();
        therapy.fields = row.mid(2);
        store.patients[*owner].therapies.push_back(therapy);
    }
    for (SPatient& patient : store.patients)
        for (STherapy& therapy : patient.therapies)
            byStat[therapy.id] = &therapy;
    QStringList rowColumns;
    for (const QString& column : kRowColumns)
        rowColumns << "c." + column;
    const SDbRows rows = db.Select("SELECT c.idStat, " + rowColumns.join(", ") +
                                       " FROM Cwiczenia AS c, Statystyki AS s WHERE "
                                       "c.idStat = s.idStat ORDER BY c.idStat, c.Cw, c.idCw",
                                   {}, kWhere);
    for (const QVariantList& row : rows.rows) {
        const auto therapy = byStat.find(row.value(0).toLongLong());
        if (therapy != byStat.end())
            therapy->second->rows.push_back(row.mid(1));
    }
    return store;
}

QString Text(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("\\N") : value.toString();
}

QString Identity(const SPatient& patient)
{
    return Text(patient.fields.value("nazwiskoimie")) + QLatin1Char('\x1f') +
           Text(patient.fields.value("poczatek"));
}

QByteArray Md5(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// The MD5 sums of a clinic database's recordings, by therapy and kind.
QHash<QString, QByteArray> ClinicSums(CDbBackend& db)
{
    QHash<QString, QByteArray> sums;
    const SDbRows rows = db.Select("SELECT idStat, Rodzaj, md5(Dane) FROM Nagrania", {}, kWhere);
    for (const QVariantList& row : rows.rows)
        sums.insert(row.value(0).toString() + row.value(1).toString(),
                    row.value(2).toString().toLatin1());
    return sums;
}

QString SumKey(qint64 idStat, QChar kind)
{
    return QString::number(idStat) + kind;
}

// Feeds one patient's copied data into `hash`: all of it when the patient
// was copied now, else what recognised it; of each therapy its date and
// rows, and the rest when it was copied now; the recordings in `sums`.
void Feed(QCryptographicHash& hash, const SPatient& patient, const QStringList& columns,
          const std::vector<const STherapy*>& therapies, const std::vector<QByteArray>& sums)
{
    QStringList text;
    text << Identity(patient);
    if (patient.copied)
        for (const QString& column : columns)
            text << Text(patient.fields.value(column.toLower()));
    std::size_t sum = 0;
    for (const STherapy* therapy : therapies) {
        text << QStringLiteral("T") << Text(therapy->fields.value(0));
        if (therapy->copied)
            for (const QVariant& value : therapy->fields)
                text << Text(value);
        for (const QVariantList& row : therapy->rows)
            for (const QVariant& value : row)
                text << Text(value);
        for (int k = 0; k < 2; ++k)
            text << QString::fromLatin1(sums.at(sum++));
    }
    hash.addData((text.join(QLatin1Char('\x1e')) + QLatin1Char('\x1d')).toUtf8());
}

class CCopy
{
public:
    CCopy(const QString& folder, CDbBackend& clinic, CClinicMigration::SReport& report)
        : m_folder(folder), m_db(clinic), m_report(report)
    {
    }

    void Run(CDbConnection& connection, SStore& file)
    {
        SStore clinic = ReadStore(m_db);
        for (const QString& column : file.columns)
            if (clinic.columns.contains(column, Qt::CaseInsensitive))
                m_columns << column;
        // The clinic's patients by what recognises them, in the order of their keys.
        std::map<QString, std::vector<SPatient*>> known;
        for (SPatient& patient : clinic.patients)
            known[Identity(patient)].push_back(&patient);
        std::map<QString, std::size_t> taken;
        m_report.therapiesSkipped = file.orphans;
        for (SPatient& patient : file.patients) {
            const QString identity = Identity(patient);
            std::vector<SPatient*>& candidates = known[identity];
            std::size_t& next = taken[identity];
            SPatient* target = next < candidates.size() ? candidates[next++] : nullptr;
            CopyPatient(connection, patient, target);
        }
    }

    // The ids of the clinic's patient and therapies of each file patient.
    std::vector<std::pair<qint64, std::vector<qint64>>> mapping;
    // The columns of Pacjenci that are copied: those both stores have.
    QStringList m_columns;

private:
    void CopyPatient(CDbConnection& connection, SPatient& patient, SPatient* target)
    {
        qint64 id = 0;
        std::map<QString, std::vector<const STherapy*>> therapiesThere;
        if (target) {
            id = target->id;
            ++m_report.patientsFound;
            for (const STherapy& therapy : target->therapies)
                therapiesThere[Text(therapy.fields.value(0))].push_back(&therapy);
        } else {
            QVariantList values;
            for (const QString& column : m_columns)
                values << patient.fields.value(column.toLower());
            id = m_db.Insert("Pacjenci", "idPac", m_columns, values, kWhere);
            patient.copied = true;
            ++m_report.patientsCopied;
        }
        std::vector<qint64> stats;
        std::map<QString, std::size_t> taken;
        for (STherapy& therapy : patient.therapies) {
            const QString date = Text(therapy.fields.value(0));
            std::vector<const STherapy*>& candidates = therapiesThere[date];
            std::size_t& next = taken[date];
            qint64 idStat = 0;
            if (next < candidates.size()) {
                idStat = candidates[next++]->id;
                ++m_report.therapiesFound;
            } else {
                idStat = CopyTherapy(id, therapy);
            }
            for (QChar kind : kKinds)
                CopyRecording(connection, patient.id, therapy.id, idStat, kind);
            stats.push_back(idStat);
        }
        mapping.emplace_back(id, stats);
    }

    qint64 CopyTherapy(qint64 patientId, STherapy& therapy)
    {
        const qint64 idStat =
            m_db.Insert("Statystyki", "idStat", QStringList("idPac") + kTherapyColumns,
                        QVariantList{patientId} + therapy.fields, kWhere);
        for (const QVariantList& row : therapy.rows) {
            m_db.Insert("Cwiczenia", "idCw", QStringList("idStat") + kRowColumns,
                        QVariantList{idStat} + row, kWhere);
            ++m_report.rowsCopied;
        }
        therapy.copied = true;
        ++m_report.therapiesCopied;
        return idStat;
    }

    void CopyRecording(CDbConnection& connection, qint64 patientId, qint64 fileStat, qint64 idStat,
                       QChar kind)
    {
        QFile file(m_folder + "/Nagrane/" +
                   CRecordingStore::FileName(int(patientId), int(fileStat), kind));
        if (!file.exists())
            return;
        if (!CClinicRecordings::Get(connection, idStat, kind).isNull()) {
            ++m_report.recordingsFound;
            return;
        }
        if (!file.open(QIODevice::ReadOnly))
            throw CError(QStringLiteral("Nie można odczytać nagrania ") + file.fileName());
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw CError(QStringLiteral("Nie można odczytać nagrania ") + file.fileName());
        CClinicRecordings::Put(connection, idStat, kind, bytes.isNull() ? QByteArray("") : bytes);
        ++m_report.recordingsCopied;
        m_report.recordingBytes += bytes.size();
    }

    QString m_folder;
    CDbBackend& m_db;
    CClinicMigration::SReport& m_report;
};

} // namespace

namespace {

// The reason of an error without where it arose ("Class::Operation - ").

QByteArray FileSum(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return Md5(file.readAll());
}

// The two digests: the file's data as read from it, and the same data as the
// clinic database holds it now (read back inside the transaction).
void Check(const QString& folder, const SStore& file, CDbBackend& db, const CCopy& copy,
           CClinicMigration::SReport& report)
{
    SStore clinic = ReadStore(db);
    const QHash<QString, QByteArray> sums = ClinicSums(db);
    QHash<qint64, SPatient*> patients;
    QHash<qint64, STherapy*> therapies;
    for (SPatient& patient : clinic.patients) {
        patients.insert(patient.id, &patient);
        for (STherapy& therapy : patient.therapies)
            therapies.insert(therapy.id, &therapy);
    }
    QCryptographicHash fileHash(QCryptographicHash::Sha256);
    QCryptographicHash clinicHash(QCryptographicHash::Sha256);
    for (std::size_t p = 0; p < file.patients.size(); ++p) {
        const SPatient& source = file.patients[p];
        const auto& [patientId, stats] = copy.mapping.at(p);
        SPatient* target = patients.value(patientId);
        if (!target)
            throw CError(QStringLiteral("Pacjent nie został zapisany w bazie kliniki."));
        target->copied = source.copied;
        std::vector<const STherapy*> sourceTherapies;
        std::vector<const STherapy*> targetTherapies;
        std::vector<QByteArray> sourceSums;
        std::vector<QByteArray> targetSums;
        for (std::size_t t = 0; t < source.therapies.size(); ++t) {
            const STherapy& therapy = source.therapies[t];
            STherapy* stored = therapies.value(stats.at(t));
            if (!stored)
                throw CError(QStringLiteral("Terapia nie została zapisana w bazie kliniki."));
            stored->copied = therapy.copied;
            sourceTherapies.push_back(&therapy);
            targetTherapies.push_back(stored);
            for (QChar kind : kKinds) {
                const QByteArray sum =
                    FileSum(folder + "/Nagrane/" +
                            CRecordingStore::FileName(int(source.id), int(therapy.id), kind));
                sourceSums.push_back(sum);
                targetSums.push_back(sum.isEmpty() ? QByteArray()
                                                   : sums.value(SumKey(stored->id, kind)));
            }
        }
        Feed(fileHash, source, copy.m_columns, sourceTherapies, sourceSums);
        Feed(clinicHash, *target, copy.m_columns, targetTherapies, targetSums);
    }
    report.fileDigest = fileHash.result().toHex();
    report.clinicDigest = clinicHash.result().toHex();
    if (report.fileDigest != report.clinicDigest)
        throw CError(QStringLiteral("Dane w bazie kliniki różnią się od danych z pliku (sumy "
                                    "kontrolne SHA-256 są różne)."));
}

} // namespace

QString CClinicMigration::Reason(const CError& error)
{
    const QString text = error.Message();
    const int cut = text.indexOf(QLatin1String(" - "));
    QString reason = (cut >= 0 ? text.mid(cut + 3) : text).trimmed();
    if (!reason.endsWith(QLatin1Char('.')) && !reason.endsWith(QLatin1Char('!')))
        reason += QLatin1Char('.');
    return reason;
}

CClinicMigration::CClinicMigration(const QString& folder, CDbConnection& clinic)
    : m_folder(folder), m_clinic(clinic)
{
}

CClinicMigration::SReport CClinicMigration::Run()
{
    const QString path = m_folder + QStringLiteral("/pacmem.qp");
    const QString nothing = QStringLiteral(" Nic nie zostało przeniesione.");
    CDbConnection file;
    SStore source;
    try {
        file.Connect(path);
        file.CheckWhole();
        source = ReadStore(file.Backend(kWhere));
    } catch (const CError& error) {
        throw CError(QString("%1 - Nie można odczytać pliku pacjentów %2: %3%4")
                         .arg(kWhere, path, Reason(error), nothing));
    }
    SReport report;
    m_clinic.BeginTransaction();
    try {
        CDbBackend& db = m_clinic.Backend(kWhere);
        CCopy copy(m_folder, db, report);
        copy.Run(m_clinic, source);
        Check(m_folder, source, db, copy, report);
        // The other workstations bring their patient lists up to date.
        if (report.patientsCopied > 0)
            m_clinic.Notify(QStringLiteral("loquena_pacjenci"), QStringLiteral("dodany -1"));
        m_clinic.Commit();
    } catch (const CError& error) {
        m_clinic.Rollback();
        throw CError(QString("%1 - Przenoszenie do bazy kliniki nie powiodło się: %2%3")
                         .arg(kWhere, Reason(error), nothing));
    }
    return report;
}

QString CClinicMigration::ReportText(const SReport& report)
{
    QStringList lines;
    lines << QString("Pacjenci: przeniesieni %1, już w bazie kliniki %2")
                 .arg(report.patientsCopied)
                 .arg(report.patientsFound)
          << QString("Terapie: przeniesione %1 (wiersze ćwiczeń: %2), już w bazie kliniki %3")
                 .arg(report.therapiesCopied)
                 .arg(report.rowsCopied)
                 .arg(report.therapiesFound)
          << QString("Nagrania: przeniesione %1 (%2 bajtów), już w bazie kliniki %3")
                 .arg(report.recordingsCopied)
                 .arg(report.recordingBytes)
                 .arg(report.recordingsFound);
    if (report.therapiesSkipped > 0)
        lines << QString("Pominięte terapie bez pacjenta: %1").arg(report.therapiesSkipped);
    lines << QString("Suma kontrolna SHA-256 danych z pliku:        %1")
                 .arg(QString::fromLatin1(report.fileDigest))
          << QString("Suma kontrolna SHA-256 danych w bazie kliniki: %1")
                 .arg(QString::fromLatin1(report.clinicDigest));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
