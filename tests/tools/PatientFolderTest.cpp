// The data build's patient folder step: an empty patient database and the
// recordings folder, made once and never touched again.
#include "DataBuild.h"
#include "common/FileFixture.h"
#include "common/TempDir.h"
#include "patients/CPatient.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray HashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(PatientFolder, MadeOnceWithPrivateModesAndNeverOverwritten)
{
    TempDir dir;
    DataBuildContext ctx;
    ctx.out = QDir(dir.path());
    BuildPatientFolder(ctx);
    const QString database = dir.file("pacmem.qp");
    ASSERT_TRUE(QFile::exists(database));
    EXPECT_EQ(ModeOf(database), 0600u);
    EXPECT_EQ(ModeOf(dir.file("Nagrane")), 0700u);

    // The program opens it as a first run: no patient active.
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(database));
        EXPECT_EQ(patient.ActiveId(), -1);
        patient.Add();
        patient.SetName("Nowak Jan");
    }
    const QByteArray before = HashOf(database);
    ctx.force = true; // not even a forced build touches it
    BuildPatientFolder(ctx);
    EXPECT_EQ(HashOf(database), before);
    CPatient patient;
    ASSERT_TRUE(patient.Open(database));
    EXPECT_EQ(patient.Name(), "Nowak Jan");
}
