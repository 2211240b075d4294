#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QWidget;

// A look into the running program for the scripts that drive it as a person
// would: while LOQUENA_TEST_PROBE names a file, the file is rewritten a few
// times a second with what is on the screen (the visible widgets, the
// bookmarks, the therapy's exercise and task with where its right answer
// is). Off unless the variable is set; the program never reads the file.
class CTestProbe : public QObject
{
public:
    // The probe the environment asks for, or null.
    static std::unique_ptr<CTestProbe> FromEnvironment();
    explicit CTestProbe(QString path);

    // The lines of one look at all top-level windows.
    static QString Snapshot();
    // Writes a snapshot to the file (replaced whole, never seen half written).
    void Write();

private:
    QString m_path;
    QTimer m_timer;
    int m_sequence = 0;
};
