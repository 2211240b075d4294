#include "content/COwnMaterial.h"

#include "app/CError.h"
#include "app/JpegDecoder.h"
#include "content/ContentScramble.h"
#include "content/OwnFiles.h"
#include "content/OwnSpeech.h"
#include "content/OwnVoices.h"
#include "content/OwnWordName.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DatabaseSchema.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

const QString kDamaged = QStringLiteral(
    "Nie można odczytać bazy własnych materiałów (%1): %2\n\n"
    "Program działa dalej z materiałem dostarczonym; własne słowa nie będą dostępne, "
    "dopóki plik nie zostanie naprawiony albo usunięty.");

QString LargeSuffix(bool large)
{
    return large ? QStringLiteral("-5.jpg") : QStringLiteral("-3.jpg");
}

QByteArray EncodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "JPG", 90))
        return {};
    return bytes;
}

bool IsWave(const QByteArray& wave)
{
    return wave.size() > 44 && wave.startsWith("RIFF") && wave.mid(8, 4) == "WAVE";
}

// A step of a change that failed: its message for the therapist.
struct SChangeError
{
    QString message;
};

} // namespace

COwnMaterial::COwnMaterial(const QString& programFolder)
    : m_databasePath(QDir(programFolder).filePath(DatabaseName)),
      m_folderPath(QDir(programFolder).filePath(FolderName)),
      m_voicesFolderPath(QDir(programFolder).filePath(OwnVoicesFolder))
{
}

COwnMaterial::~COwnMaterial() = default;

bool COwnMaterial::Fail(const QString& message)
{
    m_lastError = message;
    return false;
}

bool COwnMaterial::Open()
{
    m_open = false;
    m_words.clear();
    m_lastError.clear();
    try {
        CreateMissing();
        ReadWords();
    } catch (const CError& error) {
        m_words.clear();
        return Fail(kDamaged.arg(QDir::toNativeSeparators(m_databasePath), error.Message()));
    }
    m_open = true;
    return true;
}

void COwnMaterial::CreateMissing()
{
    QString error;
    if (!OwnFiles::MakeFolder(m_folderPath, &error))
        throw CError(error);
    if (!QFileInfo::exists(m_databasePath))
        CreateOwnMaterialDatabase(m_databasePath, SchemaVersion);
}

void COwnMaterial::ReadWords()
{
    CDbConnection connection;
    connection.Connect(m_databasePath);
    connection.CheckWhole();
    CDbQuery version(&connection);
    version.SetSQL(QStringLiteral("SELECT Numer FROM Wersja"));
    version.Open();
    if (version.RecordCount() != 1 || version.FieldByName("Numer").AsInteger() > SchemaVersion)
        throw CError(QStringLiteral("baza pochodzi z nowszej wersji programu"));
    version.Close();
    CDbQuery query(&connection);
    query.SetSQL(QStringLiteral("SELECT ID, Nazwa, Grupy, Opis, Pacjent, Obraz, Glos, GlosOpisu "
                                "FROM Wlasne ORDER BY Nazwa"));
    query.Open();
    m_words.reserve(size_t(query.RecordCount()));
    for (query.First(); !query.Eof(); query.Next()) {
        COwnWord word;
        word.Id = query.FieldByName("ID").AsInteger();
        word.Nazwa = query.FieldByName("Nazwa").AsString();
        word.Grupy = query.FieldByName("Grupy").AsInteger() & 0x1FF;
        word.Opis = query.FieldByName("Opis").AsString();
        word.Pacjent = query.FieldByName("Pacjent").AsInteger();
        word.Obraz = query.FieldByName("Obraz").AsString();
        word.Glos = query.FieldByName("Glos").AsString();
        word.GlosOpisu = query.FieldByName("GlosOpisu").AsString();
        m_words.push_back(std::move(word));
    }
    query.Close();
    connection.Disconnect();
}

const COwnWord* COwnMaterial::Find(int id) const
{
    for (const COwnWord& word : m_words)
        if (word.Id == id)
            return &word;
    return nullptr;
}

const COwnWord* COwnMaterial::FindName(const QString& nazwa) const
{
    for (const COwnWord& word : m_words)
        if (word.Nazwa == nazwa)
            return &word;
    return nullptr;
}

QString COwnMaterial::NewStem() const
{
    for (;;) {
        const QString stem =
            QString::number(QRandomGenerator::global()->generate() | 0x10000000u, 16);
        if (!QFileInfo::exists(QDir(m_folderPath).filePath(stem + LargeSuffix(true))) &&
            !QFileInfo::exists(QDir(m_folderPath).filePath(stem + ".wv")))
            return stem;
    }
}

QStringList COwnMaterial::FileNames(const COwnWord& word)
{
    QStringList names;
    if (!word.Obraz.isEmpty())
        names << word.Obraz + LargeSuffix(true) << word.Obraz + LargeSuffix(false);
    if (!word.Glos.isEmpty())
        names << word.Glos + ".wv";
    if (!word.GlosOpisu.isEmpty())
        names << word.GlosOpisu + ".wv";
    return names;
}

void COwnMaterial::RemoveFiles(const QStringList& names) const
{
    for (const QString& name : names)
        QFile::remove(QDir(m_folderPath).filePath(name));
}

// Writes the new media under new names into `word`; returns the names
// written, so that a failure later can take them back.
QStringList COwnMaterial::WriteMedia(COwnWord& word, const SMedia& media)
{
    QStringList written;
    auto write = [&](const QString& name, const QByteArray& data) {
        QString error;
        if (!OwnFiles::WriteWhole(QDir(m_folderPath).filePath(name), data, &error)) {
            RemoveFiles(written);
            throw SChangeError{QStringLiteral("Nie można zapisać pliku \"%1\": %2")
                                   .arg(QDir::toNativeSeparators(name), error)};
        }
        written << name;
    };
    auto sound = [&](QString& field, QByteArray wave, const QString& text) {
        if (wave.isEmpty() && !field.isEmpty())
            return;
        if (wave.isEmpty()) {
            QString error;
            wave = OwnSpeech::Speak(text, &error);
            if (wave.isEmpty()) {
                RemoveFiles(written);
                throw SChangeError{error};
            }
        }
        if (!IsWave(wave)) {
            RemoveFiles(written);
            throw SChangeError{QStringLiteral("Nagranie nie jest dźwiękiem w formacie WAVE.")};
        }
        const QString stem = NewStem();
        write(stem + ".wv", ScrambleWv(wave));
        field = stem;
    };
    if (!media.Large.isNull() && !media.Small.isNull()) {
        const QByteArray large = EncodeJpeg(media.Large);
        const QByteArray small = EncodeJpeg(media.Small);
        if (large.isEmpty() || small.isEmpty())
            throw SChangeError{QStringLiteral("Nie można zakodować obrazka.")};
        const QString stem = NewStem();
        write(stem + LargeSuffix(true), large);
        write(stem + LargeSuffix(false), small);
        word.Obraz = stem;
    }
    sound(word.Glos, media.Voice, word.Nazwa);
    if (!word.Opis.isEmpty() || !media.RiddleVoice.isEmpty())
        sound(word.GlosOpisu, media.RiddleVoice, word.Opis);
    return written;
}

void COwnMaterial::WriteRow(COwnWord& word)
{
    CDbConnection connection;
    connection.Connect(m_databasePath);
    try {
        const QVariantList values{word.Nazwa, word.Grupy, word.Opis,     word.Pacjent,
                                  word.Obraz, word.Glos,  word.GlosOpisu};
        connection.BeginTransaction();
        if (word.Id == 0) {
            connection.Execute(QStringLiteral("INSERT INTO Wlasne (Nazwa, Grupy, Opis, Pacjent, "
                                              "Obraz, Glos, GlosOpisu) VALUES (?,?,?,?,?,?,?)"),
                               values);
            CDbQuery id(&connection);
            id.SetSQL(QStringLiteral("SELECT ID FROM Wlasne WHERE Nazwa = ?"), {word.Nazwa});
            id.Open();
            word.Id = id.FieldByName("ID").AsInteger();
            id.Close();
        } else {
            connection.Execute(QStringLiteral("UPDATE Wlasne SET Nazwa = ?, Grupy = ?, Opis = ?, "
                                              "Pacjent = ?, Obraz = ?, Glos = ?, GlosOpisu = ? "
                                              "WHERE ID = ?"),
                               QVariantList(values) << word.Id);
        }
        connection.Commit();
    } catch (...) {
        if (connection.InTransaction())
            connection.Rollback();
        throw;
    }
    connection.Disconnect();
}

bool COwnMaterial::Save(COwnWord& word, const SMedia& media)
{
    m_lastError.clear();
    if (!m_open)
        return Fail(QStringLiteral("Baza własnych materiałów jest niedostępna."));
    word.Nazwa = OwnWordName::Normalize(word.Nazwa);
    const QString problem = OwnWordName::Problem(word.Nazwa);
    if (!problem.isEmpty())
        return Fail(problem);
    const COwnWord* same = FindName(word.Nazwa);
    if (same && same->Id != word.Id)
        return Fail(QStringLiteral("Słowo %1 jest już wśród własnych materiałów.").arg(word.Nazwa));
    const COwnWord* old = word.Id != 0 ? Find(word.Id) : nullptr;
    if (word.Id != 0 && !old)
        return Fail(QStringLiteral("Tego słowa nie ma już w bazie własnych materiałów."));
    COwnWord changed = word;
    changed.Grupy &= 0x1FF;
    if (old && old->Opis != changed.Opis && media.RiddleVoice.isEmpty())
        changed.GlosOpisu.clear(); // the old riddle's voice says the old riddle
    if (old && old->Nazwa != changed.Nazwa && media.Voice.isEmpty())
        changed.Glos.clear();
    if (changed.Opis.isEmpty())
        changed.GlosOpisu.clear();
    QStringList written;
    try {
        written = WriteMedia(changed, media);
        WriteRow(changed);
    } catch (const SChangeError& error) {
        return Fail(error.message);
    } catch (const CError& error) {
        RemoveFiles(written);
        return Fail(QStringLiteral("Nie można zapisać słowa w bazie własnych materiałów: %1")
                        .arg(error.Message()));
    }
    if (old) {
        QStringList stale = FileNames(*old);
        for (const QString& name : FileNames(changed))
            stale.removeAll(name);
        RemoveFiles(stale);
        *const_cast<COwnWord*>(old) = changed;
    } else {
        m_words.push_back(changed);
    }
    word = changed;
    return true;
}

bool COwnMaterial::Remove(int id)
{
    m_lastError.clear();
    const COwnWord* word = Find(id);
    if (!m_open || !word)
        return Fail(QStringLiteral("Tego słowa nie ma w bazie własnych materiałów."));
    try {
        CDbConnection connection;
        connection.Connect(m_databasePath);
        connection.Execute(QStringLiteral("DELETE FROM Wlasne WHERE ID = ?"), {id});
        connection.Disconnect();
    } catch (const CError& error) {
        return Fail(QStringLiteral("Nie można usunąć słowa z bazy własnych materiałów: %1")
                        .arg(error.Message()));
    }
    RemoveFiles(FileNames(*word));
    m_words.erase(m_words.begin() + (word - m_words.data()));
    return true;
}

QString COwnMaterial::PicturePath(const COwnWord& word, bool large) const
{
    return word.Obraz.isEmpty() ? QString()
                                : QDir(m_folderPath).filePath(word.Obraz + LargeSuffix(large));
}

QString COwnMaterial::VoicePath(const COwnWord& word) const
{
    return word.Glos.isEmpty() ? QString() : QDir(m_folderPath).filePath(word.Glos);
}

QString COwnMaterial::RiddleVoicePath(const COwnWord& word) const
{
    return word.GlosOpisu.isEmpty() ? QString() : QDir(m_folderPath).filePath(word.GlosOpisu);
}

bool COwnMaterial::ReadPicture(int id, bool large, QSize atLeast, QImage* out) const
{
    const COwnWord* word = Find(id);
    if (!word || word->Obraz.isEmpty())
        return false;
    QFile file(PicturePath(*word, large));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return JpegDecoder::DecodeScaled(file.readAll(), atLeast, out);
}

bool COwnMaterial::LoadPicture(int id, bool large, QImage* out) const
{
    return ReadPicture(id, large, QSize(), out);
}

bool COwnMaterial::LoadThumbnail(int id, QSize atLeast, QImage* out) const
{
    return ReadPicture(id, false, atLeast, out);
}
