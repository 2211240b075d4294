// Writes a few small valid files of one fuzz target's kind into a folder, as
// the fuzzer's starting corpus:  make-seeds <target> <folder>
#include "CBitmapsContainerWriter.h"
#include "WaveFixture.h"

#include "content/COwnMaterial.h"
#include "content/ContentScramble.h"
#include "content/OwnMaterialTransfer.h"
#include "content/OwnVoices.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>

namespace {

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QImage Pattern(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40, y * 60, (x + y) * 20));
    return image.convertToFormat(format);
}

// A progressive JPEG: its decoder allocates differently from a baseline one.
QByteArray ProgressiveJpeg(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(50);
    writer.write(image);
    return buffer.data();
}

bool Containers(const QDir& dir)
{
    using Enc = CBitmapsContainerWriter::Encoding;
    CBitmapsContainerWriter skins;
    skins.Set(0, Pattern(3, 2, QImage::Format_BGR888), Enc::Bmp);
    skins.Set(1, Pattern(3, 2, QImage::Format_Grayscale8), Enc::Bmp);
    CBitmapsContainerWriter photos;
    photos.Set(0, Pattern(8, 8, QImage::Format_BGR888), Enc::Jpeg, 50);
    photos.Set(2, Pattern(8, 8, QImage::Format_Grayscale8), Enc::Jpeg, 50);
    photos.SetRaw(3, ProgressiveJpeg(Pattern(16, 8, QImage::Format_RGB888)), 2);
    return skins.Save(dir.filePath("skins.bc")) && photos.Save(dir.filePath("photos.bb"));
}

bool Waves(const QDir& dir)
{
    return Write(dir.filePath("mono8.wv"), ScrambleWv(MakeWave(22050, 1, 8, 300))) &&
           Write(dir.filePath("stereo16.wv"), ScrambleWv(MakeWave(44100, 2, 16, 200))) &&
           Write(dir.filePath("one.wv"), ScrambleWv(MakeWave(8000, 1, 16, 1))) &&
           Write(dir.filePath("empty.wv"), ScrambleWv(MakeWave(22050, 1, 8, 0)));
}

// A few frames of ffmpeg's test picture, stored as the material's films are.
bool Films(const QDir& dir)
{
    for (const char* size : {"32x24", "16x16"}) {
        const QString path = dir.filePath(QString("film%1.mpg").arg(size));
        const int rc =
            QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                         QString("testsrc=size=%1:rate=25").arg(size), "-frames:v",
                                         "4", "-c:v", "mpeg1video", "-f", "mpeg", path});
        if (rc != 0 || !ScrambleFilmFile(path))
            return false;
    }
    return true;
}

// Small pages make a small file, in which a change more often hits a
// structure than a text.
void Compact(CDbConnection& db)
{
    db.Execute("PRAGMA page_size = 512");
    db.Execute("VACUUM");
}

bool ContentDb(const QDir& dir)
{
    const QString path = dir.filePath("sdrow.qp");
    QFile::remove(path);
    CreateContentDatabase(path);
    CDbConnection db;
    db.Connect(path);
    db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) VALUES "
               "('KOT', 'kot', 1, 'Z', 'Kot miauczy.', 1), ('DOM', 'dom', 2, 'D', '', 1), "
               "('ŻABA', 'żaba', 3, 'zw', '', 0)");
    db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES "
               "(7, 'Gdzie kucharek sześć,', 'tam nie ma co jeść.', 'Z', 1), "
               "(1234, 'Bez pracy', 'nie ma kołaczy', 'LB', 1)");
    db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) VALUES "
               "(12, 'mycie zębów', 'mężczyzna', 'myje zęby', 'H', 1), "
               "(3, 'gra', 'chłopiec', 'gra w piłkę', 'SR', 1)");
    Compact(db);
    return true;
}

// Two patients, made and saved by the store itself.
bool PatientDb(const QDir& dir)
{
    const QString path = dir.filePath("pacmem.qp");
    QFile::remove(path);
    CreatePatientDatabase(path);
    {
        CPatient patient;
        if (!patient.Open(path))
            return false;
        for (const char* name : {"Kowalski Jan", "Nowak Ewa"}) {
            patient.Add();
            patient.SetName(QString::fromUtf8(name));
            patient.SetDescription(QStringLiteral("afazja ruchowa"));
            patient.Settings().SetSelectedMask(0x5A5);
        }
    }
    CDbConnection db;
    db.Connect(path);
    Compact(db);
    return true;
}

// Two own words, one personal with a picture, one for everyone with a
// riddle and its voice, and an own recording of a shipped word: the file
// without its check sum, which the entry adds.
bool OwnImport(const QDir& dir)
{
    QTemporaryDir folder;
    COwnMaterial store(folder.path());
    if (!store.Open())
        return false;
    auto wave = [](int frames) { return MakeWave(22050, 1, 16, frames); };
    COwnWord burek;
    burek.Nazwa = QStringLiteral("BUREK");
    burek.Pacjent = 1;
    COwnMaterial::SMedia media;
    media.Large = QImage(8, 6, QImage::Format_RGB888);
    media.Large.fill(Qt::red);
    media.Small = media.Large;
    media.Voice = wave(100);
    COwnWord rzeka;
    rzeka.Nazwa = QStringLiteral("RZEKA");
    rzeka.Opis = QStringLiteral("Płynie.");
    COwnMaterial::SMedia voices;
    voices.Voice = wave(50);
    voices.RiddleVoice = wave(60);
    if (!store.Save(burek, media) || !store.Save(rzeka, voices) ||
        !SaveOwnVoiceIn(store.VoicesFolderPath(), QStringLiteral("Data/ws/KOT"), wave(40)))
        return false;
    const QByteArray file =
        OwnMaterialTransfer::ExportData(store, {{1, QStringLiteral("Nowak Anna")}});
    QFile out(dir.filePath("two-words.lqw"));
    return out.open(QIODevice::WriteOnly) && out.write(file.left(file.size() - 32)) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::map<std::string, std::function<bool(const QDir&)>> makers = {
        {"container", Containers}, {"wave", Waves},           {"film", Films},
        {"content-db", ContentDb}, {"patient-db", PatientDb}, {"own-import", OwnImport}};
    const auto maker = argc == 3 ? makers.find(argv[1]) : makers.end();
    if (maker == makers.end()) {
        std::fprintf(stderr,
                     "usage: %s container|wave|film|content-db|patient-db|own-import folder\n",
                     argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    try {
        return maker->second(dir) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
