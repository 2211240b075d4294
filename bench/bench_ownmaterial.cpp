// The therapist's own material with 300 own words (each with a picture and a
// voice), in a program folder of its own whose Data/ is linked to a real one:
// a therapy of WY, UK, WP, ZO and PNO on "Własne" alone started and closed
// (BM_StartOwn300), the material window opened and painted
// (BM_OpenWindow300), and a 24-megapixel JPEG read, framed at both archive
// sizes and stored as a new word (BM_Photo24MP).
//   LOQUENA_PROGRAM_DIR=<folder made by loquena-data> build/bench/bench_ownmaterial
#include "TherapyBenchSetup.h"
#include "content/COwnMaterial.h"
#include "content/CPictureFrame.h"
#include "content/OwnPictureFile.h"
#include "content/PhotoSizes.h"
#include "mainwindow/TFormMaterial.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

QByteArray Wave(int frames)
{
    QByteArray w(44, '\0');
    auto u32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, w.data() + at); };
    auto u16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, w.data() + at); };
    w.replace(0, 4, "RIFF");
    u32(4, quint32(36 + 2 * frames));
    w.replace(8, 8, "WAVEfmt ");
    u32(16, 16);
    u16(20, 1);
    u16(22, 1);
    u32(24, 22050);
    u32(28, 44100);
    u16(32, 2);
    u16(34, 16);
    w.replace(36, 4, "data");
    u32(40, quint32(2 * frames));
    return w + QByteArray(2 * frames, '\x10');
}

// A photograph-like picture: smooth colours with noise, which JPEG cannot
// squeeze as it squeezes flat colour.
QImage Photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    QRandomGenerator random(7);
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int n = int(random.bounded(40));
            row[3 * x] = uchar((x * 255 / w + n) & 0xFF);
            row[3 * x + 1] = uchar((y * 255 / h + n) & 0xFF);
            row[3 * x + 2] = uchar((128 + n) & 0xFF);
        }
    }
    return image;
}

QString Name(int i)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPRSTUWYZ");
    QString name = QStringLiteral("SŁOWO");
    for (int k = 0; k < 3; ++k, i /= letters.size())
        name += letters[i % letters.size()];
    return name;
}

// 300 own words made in `folder` first, then the patient beside them.
struct SOwnWords
{
    explicit SOwnWords(const QString& folder)
    {
        // 300 own words, every one with a picture and a voice.
        {
            COwnMaterial own(folder);
            own.Open();
            for (int i = 0; i < 300; ++i) {
                COwnWord word;
                word.Nazwa = Name(i);
                word.Grupy = 1 << (i % 9);
                word.Opis = i % 2 ? QStringLiteral("Zagadka o słowie.") : QString();
                COwnMaterial::SMedia media;
                media.Large = QImage(PhotoSize1280, QImage::Format_RGB888);
                media.Large.fill(QColor::fromHsv(i % 360, 120, 220));
                media.Small = media.Large.scaled(PhotoSize1024);
                media.Voice = Wave(11025);
                media.RiddleVoice = word.Opis.isEmpty() ? QByteArray() : Wave(22050);
                if (!own.Save(word, media))
                    fprintf(stderr, "%s\n", qPrintable(own.LastError()));
            }
        }
    }
};

struct SSetup : SOwnWords, STherapyBench
{
    QString photoPath;

    explicit SSetup(const QString& folder)
        : SOwnWords(folder), STherapyBench(QDir(folder).filePath("pacmem.qp"))
    {
        CTherapySettings& s = patient->Settings();
        for (int e : {0, 1, 2, 3, 9}) {
            s.Get_ExeSet(e).LZ = 10;
            s.Get_ExeSet(e).Flags = (s.Get_ExeSet(e).Flags & ~0x3FF) | 0x200; // "Własne" alone
            s.SetSelected(e, true);
        }
        photoPath = QDir(folder).filePath("zdjecie24mp.jpg");
        Photo(6000, 4000).save(photoPath, "JPG", 92);
    }
};

SSetup* g_setup = nullptr;

void BM_StartOwn300(benchmark::State& state)
{
    for (auto _ : state)
        g_setup->Run(nullptr);
}
BENCHMARK(BM_StartOwn300)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_OpenWindow300(benchmark::State& state)
{
    SSetup& s = *g_setup;
    for (auto _ : state) {
        TFormMaterial form(s.therapy->OwnMaterial(), &s.therapy->Words(),
                           TFormMaterial::ReadPatients(*s.patient), nullptr);
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
}
BENCHMARK(BM_OpenWindow300)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Photo24MP(benchmark::State& state)
{
    SSetup& s = *g_setup;
    COwnMaterial& own = s.therapy->OwnMaterial();
    int n = 0;
    for (auto _ : state) {
        QImage picture;
        QString error;
        OwnPictureFile::Load(s.photoPath, PhotoSize1280 * 2, &picture, &error);
        CPictureFrame frame(std::move(picture));
        frame.ZoomBy(1.2);
        COwnWord word;
        word.Nazwa = QStringLiteral("ZDJĘCIE") + Name(n++);
        COwnMaterial::SMedia media;
        media.Large = frame.Render(PhotoSize1280);
        media.Small = frame.Render(PhotoSize1024);
        media.Voice = Wave(11025);
        if (!own.Save(word, media))
            state.SkipWithError("not stored");
        state.PauseTiming();
        own.Remove(word.Id);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Photo24MP)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    BenchEnvironment();
    QApplication app(argc, argv);
    const QString program = qEnvironmentVariable("LOQUENA_PROGRAM_DIR");
    QTemporaryDir folder;
    if (program.isEmpty() ||
        !QFile::link(QDir(program).absoluteFilePath("Data"), folder.filePath("Data"))) {
        fprintf(stderr, "Set LOQUENA_PROGRAM_DIR to a program folder made by loquena-data.\n");
        return 2;
    }
    // The own material is made in a folder of its own: the program folder's
    // is never touched.
    QDir::setCurrent(folder.path());
    BenchDisplay();
    SSetup setup(QStringLiteral("."));
    g_setup = &setup;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_setup = nullptr;
    return 0;
}
