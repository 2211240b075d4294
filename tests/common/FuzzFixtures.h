#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The inputs that a fuzz target found (crashes, hangs, leaks before their
// fixes), kept in <layer>/fixtures/fuzz/<target>/ beside the layer's tests.
// A parameterised test feeds each one to the target's entry code of
// fuzz/FuzzEntries.h again.
inline std::vector<std::string> FuzzFixtures(const char* target)
{
    const QDir dir(QStringLiteral(LOQUENA_FIXTURES_DIR "/fuzz/") + QString::fromUtf8(target));
    std::vector<std::string> paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths.push_back(dir.filePath(name).toStdString());
    return paths;
}

inline QByteArray ReadFuzzFixture(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The test's name: the fixture's file name in letters, digits and '_'.
inline std::string FuzzFixtureName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = QFileInfo(QString::fromStdString(info.param)).fileName().toStdString();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}
