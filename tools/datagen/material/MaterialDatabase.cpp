#include "BuildStamps.h"
#include "DataBuild.h"
#include "MaterialDeps.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"

#include <QFile>
#include <sqlite3.h>

namespace {

const QString DatabaseVersion = "database 1";

// One open SQLite file, closed on every path out.
class Sqlite
{
public:
    explicit Sqlite(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK)
            Fail("cannot open " + path);
    }
    ~Sqlite() { sqlite3_close(m_db); }

    void Exec(const char* sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail(sql);
    }

    // Runs `sql` once per row, binding the row's values in order.
    void Insert(const char* sql, const QList<QVariantList>& rows)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            Fail(sql);
        for (const QVariantList& row : rows) {
            sqlite3_reset(st);
            for (int i = 0; i < row.size(); ++i) {
                if (row[i].typeId() == QMetaType::Int) {
                    sqlite3_bind_int(st, i + 1, row[i].toInt());
                } else {
                    const QByteArray text = row[i].toString().toUtf8();
                    sqlite3_bind_text(st, i + 1, text.constData(), int(text.size()),
                                      SQLITE_TRANSIENT);
                }
            }
            if (sqlite3_step(st) != SQLITE_DONE) {
                sqlite3_finalize(st);
                Fail(sql);
            }
        }
        sqlite3_finalize(st);
    }

private:
    [[noreturn]] void Fail(const QString& what)
    {
        throw DataBuildError(QString("content database: %1: %2").arg(what, sqlite3_errmsg(m_db)));
    }
    sqlite3* m_db = nullptr;
};

QByteArray SourceHash(const MaterialSources& s)
{
    QStringList texts{DatabaseVersion};
    for (const SourceWord& w : s.Words)
        texts << w.Nazwa << w.Slowo << w.Grupy << w.Opis;
    for (const SourceProverb& p : s.Proverbs)
        texts << QString::number(p.ID) << p.Grupy << p.Pocz << p.Kon;
    for (const SourceAction& a : s.Actions)
        texts << QString::number(a.ID) << a.Grupy << a.Nazwa << a.Podpis1 << a.Podpis2;
    return BuildStamps::Hash(texts);
}

void FillTables(const QString& path, const MaterialSources& s)
{
    Sqlite db(path);
    db.Exec("BEGIN");
    QList<QVariantList> rows;
    for (int i = 0; i < s.Words.size(); ++i) {
        const SourceWord& w = s.Words[i];
        rows << QVariantList{w.Nazwa, w.Slowo, i, w.Grupy, w.Opis, 1};
    }
    db.Insert("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) VALUES (?,?,?,?,?,?)",
              rows);
    rows.clear();
    for (const SourceProverb& p : s.Proverbs)
        rows << QVariantList{p.ID, p.Pocz, p.Kon, p.Grupy, 1};
    db.Insert("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?,?,?,?,?)", rows);
    rows.clear();
    for (const SourceAction& a : s.Actions)
        rows << QVariantList{a.ID, a.Nazwa, a.Podpis1, a.Podpis2, a.Grupy, 1};
    db.Insert(
        "INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) VALUES (?,?,?,?,?,?)",
        rows);
    db.Exec("COMMIT");
}

} // namespace

void BuildContentDatabase(MaterialJob& job)
{
    const QString path = job.ctx.dataPath("sdrow.qp");
    const QByteArray hash = SourceHash(job.sources);
    if (!job.ctx.force && job.stamps.UpToDate(path, hash)) {
        Progress("material: sdrow.qp up to date");
        return;
    }
    // Made beside the old one and swapped in whole, so a failed build leaves it intact.
    const QString fresh = path + ".new";
    QFile::remove(fresh);
    CreateEmptyContentDatabase(fresh);
    try {
        FillTables(fresh, job.sources);
    } catch (...) {
        QFile::remove(fresh);
        throw;
    }
    QFile::remove(path);
    if (!QFile::rename(fresh, path))
        throw DataBuildError("cannot move " + fresh + " to " + path);
    job.stamps.Record(path, hash);
    Progress(QString("material: sdrow.qp: %1 words, %2 proverbs, %3 activities")
                 .arg(job.sources.Words.size())
                 .arg(job.sources.Proverbs.size())
                 .arg(job.sources.Actions.size()));
}
