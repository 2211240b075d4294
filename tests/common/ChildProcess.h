#pragma once
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <gtest/gtest.h>

// Some tests need an environment that must be set before a library starts
// (SDL's audio driver, for one). They run as a child of the test program: the
// parent test calls RunChildTest with the child's name and environment, the
// child test starts with SKIP_UNLESS_CHILD() so that ordinary runs pass it by.
inline bool IsChildTestRun()
{
    return qEnvironmentVariableIsSet("LOQUENA_CHILD_TEST");
}

#define SKIP_UNLESS_CHILD()                                                                        \
    if (!IsChildTestRun())                                                                         \
    GTEST_SKIP() << "runs as a child process of another test"

// Runs the one test `name` of this program with `env` added to the current
// environment; true when it passed. Its output goes to `output`.
inline bool RunChildTest(const QString& name, const QProcessEnvironment& env, QString* output)
{
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    all.insert(env);
    all.insert("LOQUENA_CHILD_TEST", "1");
    QProcess child;
    child.setProcessEnvironment(all);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=" + name, "--gtest_also_run_disabled_tests"});
    const bool finished = child.waitForFinished(120000);
    if (!finished)
        child.kill();
    if (output)
        *output = QString::fromLocal8Bit(child.readAll());
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
           (!output || output->contains("[  PASSED  ] 1 test"));
}
