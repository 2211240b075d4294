#include "content/CVoiceTake.h"

#include "platform/CSoundPlayer.h"
#include "platform/CWaveImage.h"
#include "platform/SoundFileDecoder.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr size_t WindowSamples = CVoiceTake::Rate / 100; // 10 ms

// The loudest sample of each 10 ms window.
std::vector<int> WindowPeaks(const std::vector<int16_t>& samples)
{
    std::vector<int> peaks((samples.size() + WindowSamples - 1) / WindowSamples, 0);
    for (size_t i = 0; i < samples.size(); ++i) {
        int& peak = peaks[i / WindowSamples];
        peak = std::max(peak, std::abs(int(samples[i])));
    }
    return peaks;
}

// The level above which a window holds voice: well below the loudest part,
// above the room's noise (the quieter windows), never below SilenceLevel.
int VoiceThreshold(std::vector<int> peaks)
{
    const int loudest = *std::max_element(peaks.begin(), peaks.end());
    auto quiet = peaks.begin() + std::ptrdiff_t(peaks.size() / 10);
    std::nth_element(peaks.begin(), quiet, peaks.end());
    return std::max({CVoiceTake::SilenceLevel, loudest / 16, std::min(*quiet * 2, loudest / 4)});
}

} // namespace

std::pair<size_t, size_t> CVoiceTake::VoicedSpan(const std::vector<int16_t>& samples, int* voiceMs)
{
    if (voiceMs)
        *voiceMs = 0;
    if (samples.empty())
        return {0, 0};
    const std::vector<int> peaks = WindowPeaks(samples);
    if (*std::max_element(peaks.begin(), peaks.end()) < SilenceLevel)
        return {0, 0};
    const int threshold = VoiceThreshold(peaks);
    auto loud = [threshold](int peak) { return peak >= threshold; };
    const size_t first = size_t(std::find_if(peaks.begin(), peaks.end(), loud) - peaks.begin());
    const size_t last =
        peaks.size() - size_t(std::find_if(peaks.rbegin(), peaks.rend(), loud) - peaks.rbegin());
    if (voiceMs)
        *voiceMs = int((last - first) * 10);
    const size_t lead = size_t(LeadMs) * Rate / 1000, tail = size_t(TailMs) * Rate / 1000;
    const size_t begin = first * WindowSamples;
    const size_t end = std::min(samples.size(), last * WindowSamples);
    return {begin > lead ? begin - lead : 0, std::min(samples.size(), end + tail)};
}

CVoiceTake::EProblem CVoiceTake::SetSamples(const std::vector<int16_t>& samples)
{
    int voiceMs = 0;
    const auto [begin, end] = VoicedSpan(samples, &voiceMs);
    if (begin == end)
        return VoiceSilent;
    if (voiceMs < MinVoiceMs)
        return VoiceTooShort;
    m_samples.assign(samples.begin() + std::ptrdiff_t(begin),
                     samples.begin() + std::ptrdiff_t(end));
    return VoiceOk;
}

CVoiceTake::EProblem CVoiceTake::SetWave(const QByteArray& wave)
{
    CWaveImage image;
    SDL_AudioSpec mono{};
    mono.freq = Rate;
    mono.channels = 1;
    std::vector<int16_t> samples;
    if (!image.Parse(wave.constData(), wave.size()) ||
        !CSoundPlayer::ConvertSamples(image, mono, samples))
        return VoiceUndecodable;
    return SetSamples(samples);
}

CVoiceTake::EProblem CVoiceTake::SetFile(const QString& path)
{
    std::vector<int16_t> samples;
    if (!DecodeSoundFile(path, Rate, samples))
        return VoiceUndecodable;
    return SetSamples(samples);
}

QByteArray CVoiceTake::Wave() const
{
    const qsizetype bytes = qsizetype(m_samples.size() * sizeof(int16_t));
    QByteArray wave = CWaveImage::Header(1, Rate, 16, bytes);
    wave.resize(44 + bytes);
    qToLittleEndian<int16_t>(m_samples.data(), qsizetype(m_samples.size()), wave.data() + 44);
    return wave;
}

QStringList CVoiceTake::ProblemRows(EProblem problem, const QString& fileName)
{
    switch (problem) {
    case VoiceUndecodable:
        return {QStringLiteral("Nie można odczytać dźwięku z pliku"),
                QFileInfo(fileName).fileName(),
                QStringLiteral("To nie jest plik dźwiękowy albo plik jest uszkodzony.")};
    case VoiceSilent:
        return {QStringLiteral("W nagraniu nie słychać głosu!"),
                QStringLiteral("Proszę sprawdzić mikrofon"),
                QStringLiteral("i nagrać jeszcze raz, mówiąc głośniej.")};
    case VoiceTooShort:
        return {QStringLiteral("Nagranie jest za krótkie!"),
                QStringLiteral("Głos musi trwać co najmniej 0,2 sekundy."),
                QStringLiteral("Proszę nagrać jeszcze raz.")};
    case VoiceOk:
        break;
    }
    return {};
}
