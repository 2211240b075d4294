#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class CSoundRecorder;

// Records and replays one WAVE file at a time: the patient's utterance or the
// therapist's comment of a stored therapy. A missing file is created with an
// empty header (22050 Hz, unsigned 8-bit, mono) first; a recording replaces
// what the file held. The end of a recording that reached its limit and the
// end of a playback are reported through the two callbacks; a stop the
// program asks for reports nothing.
//
// Recording files are created readable and writable by their owner only, and
// a header is never left half written: a new header is written beside the
// file and then put in its place.
class CNagrywanie : public QObject
{
    Q_OBJECT
public:
    using Callback = std::function<void()>;
    // Shows a message to the therapist: kind (3 = error), four rows (empty
    // when unused) and whether the rows are set compactly. The main window
    // plugs its message window in here.
    using InformCallback =
        std::function<void(int kind, const QString& row1, const QString& row2, const QString& row3,
                           const QString& row4, bool compact)>;
    // Finds the file system of `folder`: its mount point and free bytes;
    // false when that cannot be told.
    using FreeSpaceQuery =
        std::function<bool(const QString& folder, QString* drive, std::uint64_t* free)>;

    static constexpr int MaxRecordingMs = 300000;            // 5 minutes
    static constexpr std::uint64_t MinFreeBytes = 0x2800000; // 40 MiB
    static constexpr int MessageKindError = 3;

    CNagrywanie(QObject* owner, Callback onPlayEnd, Callback onRecordEnd);
    ~CNagrywanie() override;

    // Closes any open file and opens `name`, creating it if needed.
    bool OpenFile(const QString& name);
    // Records into the open file, replacing its content; maxMs 0: no limit.
    bool Record(int maxMs);
    // Plays the open file from its start; a recording in progress is
    // stopped and saved first.
    void Play();
    // Ends a recording (saving it) or a playback.
    void Stop();
    void CloseFile();
    // Empties the open file to the header and opens it again.
    bool ResetFile();
    // Creates or replaces `name` with the 44-byte empty header, mode 0600.
    static bool WriteEmptyWave(const QString& name);
    // Creates or replaces `name` with `bytes`, mode 0600, whole or not at all.
    static bool WriteWholeFile(const QString& name, const QByteArray& bytes);
    // At least 40 MiB free where the program lives; otherwise a message and
    // false.
    bool HasSpaceForRecording();

    bool Recording() const { return m_recording; }
    bool Playing() const { return m_playing; }
    bool Opened() const { return m_opened; }

    void SetInform(InformCallback inform) { m_inform = std::move(inform); }
    // The folder whose file system is checked: the program's folder unless
    // set otherwise; the query is statvfs unless set otherwise.
    void SetSpaceCheck(const QString& folder, FreeSpaceQuery query = {});

    // The 44 bytes of an empty recording file.
    static const QByteArray& EmptyWave();

private:
    void TryOpen(const QString& name);
    void SaveRecording();
    void OnNotify();
    void Inform(const QString& row1, const QString& row2, const QString& row3, const QString& row4,
                bool compact);

    std::unique_ptr<CSoundRecorder> m_player;
    Callback m_onRecordEnd;
    bool m_recording = false;
    Callback m_onPlayEnd;
    bool m_playing = false;
    bool m_opened = false;
    InformCallback m_inform;
    QString m_spaceFolder;
    FreeSpaceQuery m_freeSpace;
};
