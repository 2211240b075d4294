#pragma once
#include "statistics/CTherapyHistory.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The therapy history as a CSV file for a spreadsheet: one row per exercise
// of each therapy (patient, date, time, exercise code and name, tasks,
// solved, with errors, hint use, time in seconds and the score as the
// statistics list shows it). UTF-8 with a byte-order mark and ";" between
// the fields, decimal commas, so that a Polish spreadsheet opens it as
// columns; a field holding ";", a quote or a line break is quoted.
class CProgressCsv
{
public:
    CProgressCsv();

    void AddPatient(const QString& name, const CTherapyHistory& history);
    // Every patient of the store with therapies, by name. Throws CError when
    // the store cannot be read.
    void AddAllPatients(CDbConnection* connection);
    const QByteArray& Text() const { return m_text; }
    // Rows added so far, the header not counted.
    int Rows() const { return m_rows; }
    // Writes the file; false with the therapist's message in `error`.
    bool Save(const QString& path, QString* error) const;

    static QByteArray Field(const QString& text);

private:
    QByteArray m_text;
    int m_rows = 0;
};
