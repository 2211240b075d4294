// Moving the own material: export, then import into an empty program folder
// gives the same material; what was there already, what cannot be taken and
// damaged or newer files are reported, and nothing is half stored.
#include "content/OwnMaterialTransfer.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/COwnMaterial.h"
#include "content/ContentScramble.h"
#include "content/OwnVoices.h"
#include "content/PhotoSizes.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

using T = OwnMaterialTransfer::SPatient;

const std::pair<const char*, int> kRecordings[] = {{"Data/ps/p007", 11}, {"Data/ws/KOT", 12}};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Transfer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(from.Open());
        ASSERT_TRUE(to.Open());
        Add("BUREK", 0x2, 4, "Nasz pies.", QColor(200, 20, 20));
        Add("RZEKA", 0x100, -1, "", QColor());
        // Own recordings of the shipped material beside the words.
        for (const auto& [path, seed] : kRecordings)
            ASSERT_TRUE(SaveOwnVoiceIn(from.VoicesFolderPath(), path, Recording(seed)));
    }
    static QByteArray Recording(int seed) { return MakeWave(22050, 1, 16, 3000, seed); }
    // A transfer file of that version with the contents `body` writes.
    static QByteArray FileOf(quint32 version, const std::function<void(QDataStream&)>& body)
    {
        QByteArray file;
        QDataStream out(&file, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << QByteArrayLiteral("LOQUENA-WLASNE") << version;
        body(out);
        file += QCryptographicHash::hash(file, QCryptographicHash::Sha256);
        return file;
    }
    void Add(const QString& name, int groups, int patient, const QString& riddle, QColor colour)
    {
        COwnWord word;
        word.Nazwa = name;
        word.Grupy = groups;
        word.Pacjent = patient;
        word.Opis = riddle;
        COwnMaterial::SMedia media;
        if (colour.isValid()) {
            media.Large = QImage(PhotoSize1280, QImage::Format_RGB888);
            media.Large.fill(colour);
            media.Small = media.Large.scaled(PhotoSize1024);
        }
        media.Voice = MakeWave(22050, 1, 16, 5000, name.size());
        if (!riddle.isEmpty())
            media.RiddleVoice = MakeWave(22050, 1, 16, 7000, 9);
        ASSERT_TRUE(from.Save(word, media)) << from.LastError().toStdString();
    }

    TempDir fromDir, toDir;
    COwnMaterial from{fromDir.path()};
    COwnMaterial to{toDir.path()};
    const QList<T> fromPatients{{4, "Nowak Anna"}};
    const QList<T> toPatients{{1, "Adamska Ewa"}, {17, "Nowak Anna"}};
};

TEST_F(Transfer, ExportThenImportIntoAnEmptyFolderGivesTheSameMaterial)
{
    const QString file = fromDir.file("materialy.lqw");
    QString error;
    ASSERT_TRUE(OwnMaterialTransfer::Export(from, fromPatients, file, &error));
    OwnMaterialTransfer::SReport report;
    ASSERT_TRUE(OwnMaterialTransfer::Import(to, nullptr, toPatients, file, &report, &error))
        << error.toStdString();
    EXPECT_EQ(report.Added, QStringList({"BUREK", "RZEKA"}));
    EXPECT_TRUE(report.Present.isEmpty());
    EXPECT_TRUE(report.Refused.isEmpty()) << report.Refused.join("; ").toStdString();

    COwnMaterial again(toDir.path());
    ASSERT_TRUE(again.Open());
    ASSERT_EQ(again.Words().size(), from.Words().size());
    for (const COwnWord& a : from.Words()) {
        const COwnWord* b = again.FindName(a.Nazwa);
        ASSERT_NE(b, nullptr) << a.Nazwa.toStdString();
        EXPECT_EQ(b->Grupy, a.Grupy);
        EXPECT_EQ(b->Opis, a.Opis);
        EXPECT_EQ(b->Pacjent, a.Pacjent == 4 ? 17 : -1); // the same patient, by name
        EXPECT_EQ(ReadAll(again.VoicePath(*b) + ".wv"), ReadAll(from.VoicePath(a) + ".wv"));
        EXPECT_EQ(again.RiddleVoicePath(*b).isEmpty(), a.GlosOpisu.isEmpty());
        EXPECT_EQ(b->Obraz.isEmpty(), a.Obraz.isEmpty());
        QImage pa, pb;
        if (!a.Obraz.isEmpty()) {
            ASSERT_TRUE(from.LoadPicture(a.Id, true, &pa));
            ASSERT_TRUE(again.LoadPicture(b->Id, true, &pb));
            EXPECT_EQ(pb.size(), PhotoSize1280);
            EXPECT_NEAR(pb.pixelColor(300, 200).red(), pa.pixelColor(300, 200).red(), 6);
        }
    }

    // The own recordings came along, each standing in for the same sound.
    EXPECT_EQ(report.VoicesAdded, QStringList({"Data/ps/p007", "Data/ws/KOT"}));
    EXPECT_TRUE(report.VoicesRefused.isEmpty()) << report.VoicesRefused.join("; ").toStdString();
    EXPECT_EQ(OwnVoicePathsIn(again.VoicesFolderPath()), OwnVoicePathsIn(from.VoicesFolderPath()));
    for (const auto& [path, seed] : kRecordings) {
        const QString file = OwnVoiceFileIn(again.VoicesFolderPath(), path);
        EXPECT_EQ(ReadAll(file), ReadAll(OwnVoiceFileIn(from.VoicesFolderPath(), path))) << path;
        EXPECT_EQ(UnscrambleWv(ReadAll(file)), Recording(seed)) << path;
        EXPECT_EQ(QFile::permissions(file) & 0x0077, 0) << "readable by the user alone";
    }

    // Once more: everything is there already.
    ASSERT_TRUE(OwnMaterialTransfer::Import(to, nullptr, toPatients, file, &report, &error));
    EXPECT_TRUE(report.Added.isEmpty());
    EXPECT_EQ(report.Present, QStringList({"BUREK", "RZEKA"}));
    EXPECT_TRUE(report.VoicesAdded.isEmpty());
    EXPECT_EQ(report.VoicesPresent, QStringList({"Data/ps/p007", "Data/ws/KOT"}));
}

// A recording the program folder has already stays as it is; one that
// names no shipped sound or is not a sound is refused with the reason.
TEST_F(Transfer, RecordingsThereAlreadyStayAndBadOnesAreRefused)
{
    ASSERT_TRUE(SaveOwnVoiceIn(to.VoicesFolderPath(), "Data/ws/KOT", Recording(99)));
    const QByteArray data = FileOf(2, [](QDataStream& out) {
        out << quint32(0) << quint32(4);
        out << QStringLiteral("Data/ws/KOT") << Recording(1);
        out << QStringLiteral("Data/../pacmem.qp") << Recording(2);
        out << QStringLiteral("Data/ws/PIES") << QByteArray("to nie jest dźwięk");
        out << QStringLiteral("Data/ws/LAS") << Recording(3);
    });
    OwnMaterialTransfer::SReport report;
    QString error;
    ASSERT_TRUE(OwnMaterialTransfer::ImportData(to, nullptr, toPatients, data, &report, &error))
        << error.toStdString();
    EXPECT_EQ(report.VoicesAdded, QStringList{"Data/ws/LAS"});
    EXPECT_EQ(report.VoicesPresent, QStringList{"Data/ws/KOT"});
    EXPECT_EQ(report.VoicesRefused, QStringList({"Data/../pacmem.qp: to nie jest dźwięk programu",
                                                 "Data/ws/PIES: nagranie jest uszkodzone"}));
    EXPECT_EQ(UnscrambleWv(ReadAll(OwnVoiceFileIn(to.VoicesFolderPath(), "Data/ws/KOT"))),
              Recording(99));
    EXPECT_EQ(OwnVoicePathsIn(to.VoicesFolderPath()), QStringList({"Data/ws/KOT", "Data/ws/LAS"}));
    EXPECT_FALSE(QFile::exists(toDir.file("pacmem.qp.wv")));
}

// A file of the first version (words only, no recordings) is still read.
TEST_F(Transfer, AFileOfTheFirstVersionIsStillRead)
{
    const QByteArray voice = MakeWave(22050, 1, 16, 4000, 5);
    const QByteArray data = FileOf(1, [&voice](QDataStream& out) {
        out << quint32(1) << QStringLiteral("LAS") << qint32(0x40) << QStringLiteral("Drzewa.")
            << QString() << QByteArray() << QByteArray() << voice << QByteArray();
    });
    OwnMaterialTransfer::SReport report;
    QString error;
    ASSERT_TRUE(OwnMaterialTransfer::ImportData(to, nullptr, toPatients, data, &report, &error))
        << error.toStdString();
    EXPECT_EQ(report.Added, QStringList{"LAS"});
    ASSERT_NE(to.FindName("LAS"), nullptr);
    EXPECT_EQ(to.FindName("LAS")->Grupy, 0x40);
    EXPECT_EQ(UnscrambleWv(ReadAll(to.VoicePath(*to.FindName("LAS")) + ".wv")), voice);
    EXPECT_TRUE(report.VoicesAdded.isEmpty());
}

TEST_F(Transfer, WordsThatCannotBeTakenAreRefusedWithTheReason)
{
    const QByteArray data = OwnMaterialTransfer::ExportData(from, fromPatients);
    OwnMaterialTransfer::SReport report;
    QString error;
    // No patient of that name here: the personal word is not made public.
    ASSERT_TRUE(
        OwnMaterialTransfer::ImportData(to, nullptr, {{2, "Kowalski Jan"}}, data, &report, &error));
    EXPECT_EQ(report.Added, QStringList({"RZEKA"}));
    ASSERT_EQ(report.Refused.size(), 1);
    EXPECT_EQ(report.Refused[0], "BUREK: nie ma tu pacjenta \"Nowak Anna\"");
    EXPECT_EQ(to.Words().size(), 1u);
}

TEST_F(Transfer, DamagedOrNewerFilesAreRefusedWhole)
{
    const QByteArray good = OwnMaterialTransfer::ExportData(from, fromPatients);
    QByteArray damaged = good;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x40);
    // A newer version with a right hash: read as far as its version only.
    QByteArray newer;
    {
        QDataStream out(&newer, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << QByteArrayLiteral("LOQUENA-WLASNE")
            << quint32(OwnMaterialTransfer::FormatVersion + 1) << quint32(0);
        newer += QCryptographicHash::hash(newer, QCryptographicHash::Sha256);
    }
    struct Case
    {
        QByteArray data;
        const char* message;
    };
    const Case cases[] = {
        {damaged, "uszkodzony"},      {good.left(good.size() - 100), "uszkodzony"},
        {QByteArray(), "uszkodzony"}, {QByteArray("to nie jest plik"), "uszkodzony"},
        {newer, "nowszej wersji"},
    };
    for (const Case& c : cases) {
        OwnMaterialTransfer::SReport report;
        QString error;
        EXPECT_FALSE(
            OwnMaterialTransfer::ImportData(to, nullptr, toPatients, c.data, &report, &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << error.toStdString();
        EXPECT_TRUE(report.Added.isEmpty());
    }
    EXPECT_TRUE(to.Words().empty());
    EXPECT_TRUE(QDir(to.FolderPath()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(OwnVoicePathsIn(to.VoicesFolderPath()).isEmpty());
}

} // namespace
