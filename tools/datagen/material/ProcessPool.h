#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;

// Runs external tools (espeak-ng, ffmpeg) a few at a time: the machine has two
// cores and the tools are single-threaded.
class ProcessPool
{
public:
    struct Job
    {
        QString Program;
        QStringList Arguments;
        QByteArray Input;                // written to the tool's standard input, then closed
        QString Name;                    // for messages
        std::function<void()> OnSuccess; // runs on this thread once the tool succeeded
    };

    explicit ProcessPool(int parallel = 2);
    ~ProcessPool();

    // Starts the job as soon as a slot is free (waiting for one if need be).
    // Throws DataBuildError when an earlier job failed.
    void Add(Job job);
    // Waits for every job; throws DataBuildError naming the first that failed.
    void Finish();

private:
    struct Running;
    void WaitForOne();
    void Check();

    int m_parallel;
    QList<std::shared_ptr<Running>> m_running;
    QString m_error;
};
