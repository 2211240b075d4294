#pragma once
#include "statistics/CTherapyHistory.h"

#include <QByteArray>
#include <QString>
#include <vector>

class CChunkWriter;

// The therapy history as a CSV file for a spreadsheet: one row per exercise
// of each therapy (patient, date, time, exercise code and name, tasks,
// solved, with errors, hint use, time in seconds and the score as the
// statistics list shows it). UTF-8 with a byte-order mark and ";" between
// the fields, decimal commas, so that a Polish spreadsheet opens it as
// columns; a field holding ";", a quote or a line break is quoted. The
// histories are kept and the rows made only while the file is written, a
// chunk at a time: the file of all patients runs to a hundred megabytes.
class CProgressCsv
{
public:
    void AddPatient(const QString& name, const CTherapyHistory& history);
    void AddPatient(const QString& name, CTherapyHistory&& history);
    // Every patient of the store with therapies, by name. Throws CError when
    // the store cannot be read.
    void AddAllPatients(CDbConnection* connection);
    // The whole file's bytes.
    QByteArray Text() const;
    // Rows added so far, the header not counted.
    int Rows() const;
    // Writes the file; false with the therapist's message in `error`.
    bool Save(const QString& path, QString* error) const;

    static QByteArray Field(const QString& text);

private:
    struct SPatient
    {
        QByteArray Field; // the name as a field, with the separator after it
        CTherapyHistory History;
    };

    void Write(CChunkWriter& out) const;
    static void WriteRows(CChunkWriter& out, const SPatient& patient);

    std::vector<SPatient> m_patients;
};
