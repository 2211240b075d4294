#include "ProcessPool.h"

#include "DataBuild.h"

#include <QProcess>

struct ProcessPool::Running
{
    Job job;
    std::unique_ptr<QProcess> process;
};

ProcessPool::ProcessPool(int parallel) : m_parallel(parallel < 1 ? 1 : parallel) {}

ProcessPool::~ProcessPool()
{
    for (auto& r : m_running) {
        r->process->kill();
        r->process->waitForFinished(5000);
    }
}

void ProcessPool::Add(Job job)
{
    Check();
    while (m_running.size() >= m_parallel)
        WaitForOne();
    Check();
    auto r = std::make_shared<Running>();
    r->job = std::move(job);
    r->process = std::make_unique<QProcess>();
    r->process->setProcessChannelMode(QProcess::SeparateChannels);
    r->process->start(r->job.Program, r->job.Arguments);
    if (!r->process->waitForStarted(30000))
        throw DataBuildError(
            QString("cannot start %1 (%2): is it installed?").arg(r->job.Program, r->job.Name));
    if (!r->job.Input.isEmpty())
        r->process->write(r->job.Input);
    r->process->closeWriteChannel();
    r->job.Input.clear();
    m_running << r;
}

void ProcessPool::WaitForOne()
{
    // Poll the running tools; the first to end frees a slot.
    for (;;) {
        for (int i = 0; i < m_running.size(); ++i) {
            auto r = m_running[i];
            if (r->process->state() != QProcess::NotRunning && !r->process->waitForFinished(20))
                continue;
            m_running.removeAt(i);
            const bool ok =
                r->process->exitStatus() == QProcess::NormalExit && r->process->exitCode() == 0;
            if (!ok && m_error.isEmpty()) {
                m_error =
                    QString("%1 failed for %2 (exit code %3): %4")
                        .arg(r->job.Program, r->job.Name)
                        .arg(r->process->exitCode())
                        .arg(QString::fromLocal8Bit(r->process->readAllStandardError()).trimmed());
            } else if (ok && r->job.OnSuccess) {
                r->job.OnSuccess();
            }
            return;
        }
    }
}

void ProcessPool::Check()
{
    if (!m_error.isEmpty())
        throw DataBuildError(m_error);
}

void ProcessPool::Finish()
{
    while (!m_running.isEmpty())
        WaitForOne();
    Check();
}
