#pragma once
#include "platform/CSoundPlayer.h"
#include "platform/MediaMode.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <mutex>

// One WAVE file for recording and replaying a voice: the recording keeps the
// format of the header already in the file (the program writes 22050 Hz,
// unsigned 8-bit, mono) and is captured with SDL. Positions are milliseconds.
// Notify() is emitted on the GUI thread when a recording reaches its end
// position or a playback ends by itself while notification is on; a stop the
// program asks for is not notified. The recording is written to the file only
// by Save().
class CSoundRecorder : public QObject
{
    Q_OBJECT
public:
    explicit CSoundRecorder(QObject* parent = nullptr);
    ~CSoundRecorder() override;

    // Reads the file's header and samples; throws CError when the file is
    // missing, unreadable or not an 8- or 16-bit PCM WAVE.
    void Open(const QString& path);
    // Opens an empty recording of the given format that belongs to no file
    // (Save then throws): a voice taken to be handed on.
    void OpenEmpty(int channels, int rate, int bits);
    void Close();
    bool IsOpen() const { return m_mode != EMediaMode::NotOpen; }
    QString FileName() const { return m_path; }

    // Records from `fromMs` (the samples after it are dropped; -1: from the
    // end) up to `toMs` (-1: until stopped). Throws CError when no capture
    // device can be opened.
    void Record(int fromMs = 0, int toMs = -1);
    // Plays the samples from the start.
    void Play();
    void Stop();
    // Stops; the next Play starts from the beginning anyway.
    void Rewind();
    // Writes the header (with the right sizes) and the samples to the file;
    // throws CError when the file cannot be written.
    void Save();

    void SetNotify(bool on) { m_notify = on; }
    // With true, Record refuses SDL's dummy driver as a stand-in for a missing
    // or busy microphone (throws CError as for no device).
    void SetRequireDevice(bool on) { m_requireDevice = on; }
    EMediaMode Mode() const { return m_mode; }
    int Length() const; // ms
    QByteArray Samples() const;
    // The loudest sample of the last `ms` recorded, 0 to 32767 (8-bit samples
    // scaled up): the level meter while recording.
    int PeakOfLast(int ms) const;

signals:
    void Notify();

private slots:
    void PollPlayback();

private:
    static void SDLCALL CaptureCallback(void* self, Uint8* stream, int length);
    void OnCapture(const uint8_t* data, int length);
    void CloseCapture();
    // Reports the end of the take on the GUI thread; called under m_lock.
    void PostEnd();
    void CaptureEnded(int take);
    qsizetype BytesForMs(qint64 ms) const;
    void Finish();

    QString m_path;
    EMediaMode m_mode = EMediaMode::NotOpen;
    bool m_notify = false;
    bool m_requireDevice = false;
    int m_channels = 1, m_rate = 22050, m_bits = 8;

    mutable std::mutex m_lock; // shared with the capture callback
    QByteArray m_samples;
    qsizetype m_limit = -1; // byte count at which the recording ends, -1 none
    bool m_endPosted = false;
    int m_take = 0; // counts the recordings started

    SDL_AudioDeviceID m_capture = 0;
    CSoundPlayer m_player;
    QByteArray m_playImage;
    QTimer m_playTimer;
};
