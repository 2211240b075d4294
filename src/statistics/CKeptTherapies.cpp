#include "statistics/CKeptTherapies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const char* const kExerciseKeys[] = {"Cw", "LZ", "Rozw", "Blad", "Pomoc", "Czas"};

int* ExerciseField(SKeptTherapy::SExercise& e, int i)
{
    int* fields[] = {&e.cw, &e.lz, &e.rozw, &e.blad, &e.pomoc, &e.czas};
    return fields[i];
}

QJsonObject ToJson(const SKeptTherapy& therapy)
{
    QJsonArray exercises;
    for (SKeptTherapy::SExercise e : therapy.exercises) {
        QJsonObject row;
        for (int i = 0; i < int(std::size(kExerciseKeys)); ++i)
            row.insert(QLatin1String(kExerciseKeys[i]), *ExerciseField(e, i));
        exercises.append(row);
    }
    return {{"baza", therapy.database},        {"idPac", therapy.patientId},
            {"pacjent", therapy.patientName},  {"data", therapy.date.toString(Qt::ISODateWithMs)},
            {"CwWybrane", therapy.chosenMask}, {"cwiczenia", exercises}};
}

SKeptTherapy FromJson(const QJsonObject& object)
{
    SKeptTherapy therapy;
    therapy.database = object.value("baza").toString();
    therapy.patientId = object.value("idPac").toInt(-1);
    therapy.patientName = object.value("pacjent").toString();
    therapy.date = QDateTime::fromString(object.value("data").toString(), Qt::ISODateWithMs);
    therapy.chosenMask = object.value("CwWybrane").toInt();
    for (const QJsonValue value : object.value("cwiczenia").toArray()) {
        SKeptTherapy::SExercise e;
        for (int i = 0; i < int(std::size(kExerciseKeys)); ++i)
            *ExerciseField(e, i) = value.toObject().value(QLatin1String(kExerciseKeys[i])).toInt();
        therapy.exercises.push_back(e);
    }
    return therapy;
}

} // namespace

CKeptTherapies::CKeptTherapies(QString path) : m_path(std::move(path)) {}

QString CKeptTherapies::DefaultPath()
{
    // Named as the program's settings are (Varentis/Loquena.czI).
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Varentis/Loquena.czI/terapie-do-zapisania.json");
}

std::vector<SKeptTherapy> CKeptTherapies::Read(bool* readable) const
{
    std::vector<SKeptTherapy> therapies;
    if (readable)
        *readable = true;
    QFile file(m_path);
    if (!file.exists())
        return therapies;
    QJsonParseError error{};
    const QJsonDocument document = file.open(QIODevice::ReadOnly)
                                       ? QJsonDocument::fromJson(file.readAll(), &error)
                                       : QJsonDocument();
    if (!document.isArray()) {
        if (readable)
            *readable = false;
        return therapies;
    }
    for (const QJsonValue value : document.array()) {
        SKeptTherapy therapy = FromJson(value.toObject());
        if (therapy.patientId >= 0 && therapy.date.isValid())
            therapies.push_back(std::move(therapy));
    }
    return therapies;
}

bool CKeptTherapies::Add(const SKeptTherapy& therapy)
{
    bool readable = true;
    std::vector<SKeptTherapy> therapies = Read(&readable);
    // A file that cannot be read is never written over: it may hold therapies.
    if (!readable)
        return false;
    therapies.push_back(therapy);
    return Write(therapies);
}

bool CKeptTherapies::Write(const std::vector<SKeptTherapy>& therapies) const
{
    if (therapies.empty())
        return !QFile::exists(m_path) || QFile::remove(m_path);
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QJsonArray list;
    for (const SKeptTherapy& therapy : therapies)
        list.append(ToJson(therapy));
    // Results of patients: for the user's eyes only.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    file.write(QJsonDocument(list).toJson(QJsonDocument::Indented));
    return file.commit();
}
