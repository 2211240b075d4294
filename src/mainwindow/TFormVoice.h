#pragma once
#include "content/CVoiceTake.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CSoundPlayer;
class CSoundRecorder;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TFormMessage;

// Takes a voice for one sound: the therapist records it from the microphone
// (a level meter shows the voice coming in), listens to it, records it again,
// or takes it from a sound file, and keeps it with "Zapisz". The silence before
// and after the voice is cut off; a silent or too short take, a microphone
// that is missing or busy, and a file that holds no readable sound are told in
// the program's message window, and the voice taken before stays.
class TFormVoice : public QDialog
{
public:
    static constexpr int MaxRecordingMs = 60000;

    // Shows the window for the sound of `what` and returns the voice kept, as
    // a WAVE image (16-bit mono, 22050 Hz), or nothing when the therapist
    // cancelled. `message` is the program's message window.
    static std::optional<QByteArray> Take(QWidget* parent, TFormMessage* message,
                                          const QString& what);

    TFormVoice(QWidget* parent, TFormMessage* message, const QString& what);
    ~TFormVoice() override;

    // Chooses the sound file to take (default: a file dialog); empty: none.
    using FileChooser = std::function<QString(QWidget* parent)>;
    static FileChooser SetFileChooser(FileChooser chooser);
    // Called each time the window has been shown and runs modally, so that a
    // test can work it. Returns the previous one.
    using ShowHook = std::function<void(TFormVoice&)>;
    static ShowHook SetShowHook(ShowHook hook);

    // Takes the voice from a sound file, as the file button does.
    bool TakeFile(const QString& path);
    const CVoiceTake& Voice() const { return m_take; }
    bool IsRecording() const;
    // Closes without a voice, stopping any recording or playback.
    void reject() override;

    QPushButton* ButtonRecord() const { return m_btRecord; }
    QPushButton* ButtonPlay() const { return m_btPlay; }
    QPushButton* ButtonFile() const { return m_btFile; }
    QPushButton* ButtonSave() const { return m_btSave; }
    QPushButton* ButtonCancel() const { return m_btCancel; }
    QProgressBar* LevelMeter() const { return m_level; }
    QLabel* StatusLabel() const { return m_status; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout(const QString& what);
    void RecordClicked();
    void StartRecording();
    void StopRecording();
    void RecordingEnded();
    void PlayClicked();
    void FileClicked();
    void UpdateMeter();
    void UpdateButtons();
    // Keeps a new take or tells why it is refused; true when kept.
    bool Accept(CVoiceTake::EProblem problem, const CVoiceTake& take, const QString& file = {});
    void ShowProblem(const QStringList& rows);

    TFormMessage* m_message;
    CVoiceTake m_take;
    std::unique_ptr<CSoundRecorder> m_recorder;
    std::unique_ptr<CSoundPlayer> m_player;
    QTimer* m_meterTimer = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_level = nullptr;
    QPushButton* m_btRecord = nullptr;
    QPushButton* m_btPlay = nullptr;
    QPushButton* m_btFile = nullptr;
    QPushButton* m_btSave = nullptr;
    QPushButton* m_btCancel = nullptr;
};
