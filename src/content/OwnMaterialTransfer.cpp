#include "content/OwnMaterialTransfer.h"

#include "app/JpegDecoder.h"
#include "content/COwnMaterial.h"
#include "content/CWords.h"
#include "content/ContentScramble.h"
#include "content/OwnFiles.h"
#include "content/OwnVoices.h"
#include "content/OwnWordName.h"
#include "content/PhotoSizes.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QIODevice>

namespace {

const QByteArray kMagic = QByteArrayLiteral("LOQUENA-WLASNE");
constexpr int kHashSize = 32;
constexpr quint32 kMaxWords = 100000;
constexpr quint32 kMaxVoices = 100000;

const QString kDamaged =
    QStringLiteral("Plik jest uszkodzony albo nie jest plikiem własnych materiałów.");

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One word as the file holds it.
struct SEntry
{
    QString Nazwa;
    qint32 Grupy = 0;
    QString Opis;
    QString Patient; // empty: for everyone
    QByteArray Large, Small, Voice, RiddleVoice;
};

QDataStream& operator<<(QDataStream& out, const SEntry& e)
{
    return out << e.Nazwa << e.Grupy << e.Opis << e.Patient << e.Large << e.Small << e.Voice
               << e.RiddleVoice;
}

QDataStream& operator>>(QDataStream& in, SEntry& e)
{
    return in >> e.Nazwa >> e.Grupy >> e.Opis >> e.Patient >> e.Large >> e.Small >> e.Voice >>
           e.RiddleVoice;
}

QString PatientName(const QList<OwnMaterialTransfer::SPatient>& patients, int id)
{
    for (const auto& p : patients)
        if (p.Id == id)
            return p.Name;
    return {};
}

bool IsShipped(const CWords* shipped, const QString& name)
{
    if (shipped)
        for (const CRecWord& word : shipped->Words())
            if (word.Nazwa == name)
                return true;
    return false;
}

// Decodes a stored picture and brings it to the archive size.
QImage Picture(const QByteArray& jpeg, QSize size)
{
    QImage image;
    if (!JpegDecoder::Decode(jpeg, &image))
        return {};
    return image.size() == size
               ? image
               : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool IsWave(const QByteArray& wave)
{
    return wave.size() > 44 && wave.startsWith("RIFF") && wave.mid(8, 4) == "WAVE";
}

// Why an entry cannot be stored; empty when it can. Fills `word` and
// `media` as it goes.
QString Check(const SEntry& e, const CWords* shipped,
              const QList<OwnMaterialTransfer::SPatient>& patients, COwnWord& word,
              COwnMaterial::SMedia& media)
{
    word.Nazwa = OwnWordName::Normalize(e.Nazwa);
    const QString problem = OwnWordName::Problem(word.Nazwa);
    if (!problem.isEmpty())
        return problem;
    if (IsShipped(shipped, word.Nazwa))
        return QStringLiteral("takie słowo jest już w materiale programu");
    word.Grupy = e.Grupy & CWords::AllWordCategories;
    word.Opis = e.Opis;
    if (!e.Patient.isEmpty()) {
        word.Pacjent = -2;
        for (const auto& p : patients)
            if (p.Name == e.Patient)
                word.Pacjent = p.Id;
        if (word.Pacjent == -2)
            return QStringLiteral("nie ma tu pacjenta \"%1\"").arg(e.Patient);
    }
    if (!e.Large.isEmpty() || !e.Small.isEmpty()) {
        media.Large = Picture(e.Large, PhotoSize1280);
        media.Small = Picture(e.Small, PhotoSize1024);
        if (media.Large.isNull() || media.Small.isNull())
            return QStringLiteral("jego obrazek jest uszkodzony");
    }
    if (!IsWave(e.Voice) || (!e.RiddleVoice.isEmpty() && !IsWave(e.RiddleVoice)))
        return QStringLiteral("jego nagranie jest uszkodzone");
    media.Voice = e.Voice;
    media.RiddleVoice = e.RiddleVoice;
    return {};
}

// An own recording as the file holds it.
struct SVoice
{
    QString SoundPath; // the shipped sound it stands in for ("Data/ws/KOT")
    QByteArray Wave;
};

// Stores a recording unless the program folder has its own for that sound.
void ImportVoice(const QString& voicesFolder, const SVoice& v, OwnMaterialTransfer::SReport* report)
{
    const QString file = OwnVoiceFileIn(voicesFolder, v.SoundPath);
    if (file.isEmpty())
        report->VoicesRefused << QStringLiteral("%1: to nie jest dźwięk programu").arg(v.SoundPath);
    else if (QFile::exists(file))
        report->VoicesPresent << v.SoundPath;
    else if (!IsWave(v.Wave))
        report->VoicesRefused << QStringLiteral("%1: nagranie jest uszkodzone").arg(v.SoundPath);
    else if (!SaveOwnVoiceIn(voicesFolder, v.SoundPath, v.Wave))
        report->VoicesRefused << QStringLiteral("%1: nie można go zapisać").arg(v.SoundPath);
    else
        report->VoicesAdded << v.SoundPath;
}

} // namespace

QByteArray OwnMaterialTransfer::ExportData(const COwnMaterial& store,
                                           const QList<SPatient>& patients)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(store.Words().size());
    for (const COwnWord& word : store.Words()) {
        SEntry e;
        e.Nazwa = word.Nazwa;
        e.Grupy = word.Grupy;
        e.Opis = word.Opis;
        if (word.Pacjent != COwnWord::Everyone)
            e.Patient = PatientName(patients, word.Pacjent);
        if (!word.Obraz.isEmpty()) {
            e.Large = ReadFile(store.PicturePath(word, true));
            e.Small = ReadFile(store.PicturePath(word, false));
        }
        e.Voice = UnscrambleWv(ReadFile(store.VoicePath(word) + ".wv"));
        if (!word.GlosOpisu.isEmpty())
            e.RiddleVoice = UnscrambleWv(ReadFile(store.RiddleVoicePath(word) + ".wv"));
        out << e;
    }
    const QStringList voices = OwnVoicePathsIn(store.VoicesFolderPath());
    out << quint32(voices.size());
    for (const QString& soundPath : voices)
        out << soundPath
            << UnscrambleWv(ReadFile(OwnVoiceFileIn(store.VoicesFolderPath(), soundPath)));
    QByteArray file;
    QDataStream head(&file, QIODevice::WriteOnly);
    head.setVersion(QDataStream::Qt_6_0);
    head << kMagic << quint32(FormatVersion);
    file += payload;
    file += QCryptographicHash::hash(file, QCryptographicHash::Sha256);
    return file;
}

bool OwnMaterialTransfer::Export(const COwnMaterial& store, const QList<SPatient>& patients,
                                 const QString& path, QString* error)
{
    QString why;
    if (!OwnFiles::WriteWhole(path, ExportData(store, patients), &why)) {
        *error = QStringLiteral("Nie można zapisać pliku \"%1\": %2").arg(path, why);
        return false;
    }
    return true;
}

bool OwnMaterialTransfer::ImportData(COwnMaterial& store, const CWords* shipped,
                                     const QList<SPatient>& patients, const QByteArray& data,
                                     SReport* report, QString* error)
{
    *report = {};
    if (data.size() < kHashSize ||
        QCryptographicHash::hash(data.left(data.size() - kHashSize), QCryptographicHash::Sha256) !=
            data.right(kHashSize)) {
        *error = kDamaged;
        return false;
    }
    QDataStream in(data.left(data.size() - kHashSize));
    in.setVersion(QDataStream::Qt_6_0);
    QByteArray magic;
    quint32 version = 0, count = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic) {
        *error = kDamaged;
        return false;
    }
    if (version > quint32(FormatVersion)) {
        *error = QStringLiteral("Plik pochodzi z nowszej wersji programu; zainstaluj ją, "
                                "żeby go wczytać.");
        return false;
    }
    in >> count;
    QList<SEntry> entries;
    for (quint32 i = 0; i < count && i < kMaxWords && in.status() == QDataStream::Ok; ++i) {
        SEntry e;
        in >> e;
        entries << e;
    }
    QList<SVoice> voices;
    quint32 voiceCount = 0;
    if (version >= 2)
        in >> voiceCount;
    for (quint32 i = 0; i < voiceCount && i < kMaxVoices && in.status() == QDataStream::Ok; ++i) {
        SVoice v;
        in >> v.SoundPath >> v.Wave;
        voices << v;
    }
    if (in.status() != QDataStream::Ok || count > kMaxWords || voiceCount > kMaxVoices ||
        !in.atEnd()) {
        *error = kDamaged;
        return false;
    }
    for (const SEntry& e : entries) {
        COwnWord word;
        COwnMaterial::SMedia media;
        const QString name = OwnWordName::Normalize(e.Nazwa);
        if (store.FindName(name)) {
            report->Present << name;
            continue;
        }
        QString why = Check(e, shipped, patients, word, media);
        if (why.isEmpty() && !store.Save(word, media))
            why = store.LastError();
        if (why.isEmpty())
            report->Added << word.Nazwa;
        else
            report->Refused << QStringLiteral("%1: %2").arg(name.isEmpty() ? e.Nazwa : name, why);
    }
    for (const SVoice& v : voices)
        ImportVoice(store.VoicesFolderPath(), v, report);
    return true;
}

bool OwnMaterialTransfer::Import(COwnMaterial& store, const CWords* shipped,
                                 const QList<SPatient>& patients, const QString& path,
                                 SReport* report, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("Nie można otworzyć pliku \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return ImportData(store, shipped, patients, file.readAll(), report, error);
}
