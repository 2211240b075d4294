#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

// A voice taken for one sound of the material, from the microphone or from a
// sound file: signed 16-bit mono at 22050 Hz, with the silence before and after
// the voice cut off (a little of it is kept, so that no sound is clipped). A
// take that would be silent or shorter than 0.2 s is refused, and a refused
// take leaves the voice held before as it was.
class CVoiceTake
{
public:
    enum EProblem : int
    {
        VoiceOk = 0,
        VoiceUndecodable, // the file is no sound FFmpeg can read
        VoiceSilent,      // no voice to be heard
        VoiceTooShort,    // the voice lasts less than MinVoiceMs
    };
    static constexpr int Rate = 22050;
    static constexpr int MinVoiceMs = 200;
    // Below this peak (about -36 dB of full scale) a take counts as silent.
    static constexpr int SilenceLevel = 500;
    // Kept of the silence before and after the voice.
    static constexpr int LeadMs = 50;
    static constexpr int TailMs = 120;

    // Samples at Rate, as recorded or decoded.
    EProblem SetSamples(const std::vector<int16_t>& samples);
    // A PCM WAVE image (8 or 16 bits, mono or stereo, any rate).
    EProblem SetWave(const QByteArray& wave);
    // Any sound file FFmpeg reads.
    EProblem SetFile(const QString& path);

    bool IsEmpty() const { return m_samples.empty(); }
    const std::vector<int16_t>& Samples() const { return m_samples; }
    int DurationMs() const { return int(int64_t(m_samples.size()) * 1000 / Rate); }
    // The voice as a WAVE image, 44-byte header, 16-bit mono at Rate.
    QByteArray Wave() const;

    // Where the voice is in `samples`: [first, end) with the kept silence;
    // first == end when there is no voice.
    static std::pair<size_t, size_t> VoicedSpan(const std::vector<int16_t>& samples,
                                                int* voiceMs = nullptr);
    // The message rows that explain a problem to the therapist; `fileName`
    // names the file of an undecodable take.
    static QStringList ProblemRows(EProblem problem, const QString& fileName = {});

private:
    std::vector<int16_t> m_samples;
};
