#pragma once
#include "content/COwnWord.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// The therapist's own material: a database of its own ("wlasne.qp") and a
// folder of its own ("Wlasne/") in the program folder, beside the patient
// database. They are the user's data: the data build and the install never
// write them. Both are created when missing (the file 0600, the folder 0700).
//
// The words are read whole by Open and kept in memory; each change is one
// transaction on the database. Media files are written under new names
// (through a temporary file and a rename) before the row that names them is
// committed, and the files a change replaced are removed only after it, so a
// failure at any point leaves the stored material as it was.
class COwnMaterial
{
public:
    static constexpr const char* DatabaseName = "wlasne.qp";
    static constexpr const char* FolderName = "Wlasne";
    // The schema this program writes; a newer database is not touched.
    static constexpr int SchemaVersion = 1;

    // New media of a word; what is left empty keeps what the word has.
    struct SMedia
    {
        QImage Large;           // the picture framed at the large archive size
        QImage Small;           // the same at the small one
        QByteArray Voice;       // WAVE image of the name
        QByteArray RiddleVoice; // WAVE image of the riddle
    };

    explicit COwnMaterial(const QString& programFolder = QStringLiteral("."));
    ~COwnMaterial();
    COwnMaterial(const COwnMaterial&) = delete;
    COwnMaterial& operator=(const COwnMaterial&) = delete;

    // Creates what is missing and reads the words; false with LastError when
    // the database cannot be read (the program then goes on without it).
    bool Open();
    bool IsOpen() const { return m_open; }
    const QString& LastError() const { return m_lastError; }

    const std::vector<COwnWord>& Words() const { return m_words; }
    const COwnWord* Find(int id) const;
    const COwnWord* FindName(const QString& nazwa) const;

    // Stores `word` (a new one when its Id is 0, which then gets its Id) with
    // `media`. A word without a voice gets one spoken by the synthesizer, and
    // so does its riddle. False with LastError when nothing was changed.
    bool Save(COwnWord& word, const SMedia& media);
    // Removes the word and its files.
    bool Remove(int id);

    // Paths of the media files; empty when the word has none. Sounds are
    // given without ".wv", as the sound player takes them.
    QString PicturePath(const COwnWord& word, bool large) const;
    QString VoicePath(const COwnWord& word) const;
    QString RiddleVoicePath(const COwnWord& word) const;
    // The word's picture decoded; false when it has none or it cannot be read.
    bool LoadPicture(int id, bool large, QImage* out) const;
    // The small picture decoded at a reduced size no smaller than `atLeast`
    // (quick enough for a list of hundreds).
    bool LoadThumbnail(int id, QSize atLeast, QImage* out) const;

    const QString& DatabasePath() const { return m_databasePath; }
    const QString& FolderPath() const { return m_folderPath; }
    // The own recordings of the shipped material in the same program folder
    // (OwnVoices.h).
    const QString& VoicesFolderPath() const { return m_voicesFolderPath; }

private:
    bool Fail(const QString& message);
    void CreateMissing();
    void ReadWords();
    QString NewStem() const;
    QStringList WriteMedia(COwnWord& word, const SMedia& media);
    void WriteRow(COwnWord& word);
    void RemoveFiles(const QStringList& names) const;
    static QStringList FileNames(const COwnWord& word);
    bool ReadPicture(int id, bool large, QSize atLeast, QImage* out) const;

    QString m_databasePath;
    QString m_folderPath;
    QString m_voicesFolderPath;
    std::vector<COwnWord> m_words;
    bool m_open = false;
    QString m_lastError;
};
