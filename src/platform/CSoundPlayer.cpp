#include "platform/CSoundPlayer.h"

#include "platform/CWaveImage.h"

#include <SDL2/SDL.h>
#include <thread>

CSoundPlayer::CSoundPlayer() = default;

CSoundPlayer::~CSoundPlayer()
{
    if (CAudioOutput* output = Output())
        output->Detach(&m_voice);
}

CAudioOutput* CSoundPlayer::Output() const
{
    CAudioOutput* current = CAudioOutput::Current();
    return current && current == m_output && m_generation == CAudioOutput::Generation() ? current
                                                                                        : nullptr;
}

void CSoundPlayer::Shutdown()
{
    CAudioOutput::Shutdown();
}

// Converts the samples to the device's format. SDL's resampler keeps back the
// last part of its input even when flushed, so the input is followed by a tail
// of silence and the output cut to the exact converted length.
bool CSoundPlayer::ConvertSamples(const CWaveImage& wave, const SDL_AudioSpec& spec,
                                  std::vector<int16_t>& out)
{
    out.clear();
    if (wave.Frames() == 0)
        return true;
    SDL_AudioStream* stream =
        SDL_NewAudioStream(wave.Bits() == 8 ? AUDIO_U8 : AUDIO_S16LSB, Uint8(wave.Channels()),
                           wave.Rate(), AUDIO_S16SYS, spec.channels, spec.freq);
    if (!stream)
        return false;
    const qsizetype tailFrames = wave.Rate() / 10 + 64;
    const std::vector<uint8_t> tail(size_t(tailFrames * wave.FrameBytes()),
                                    wave.Bits() == 8 ? 0x80 : 0x00);
    bool ok = SDL_AudioStreamPut(stream, wave.Samples(), int(wave.SampleBytes())) == 0 &&
              SDL_AudioStreamPut(stream, tail.data(), int(tail.size())) == 0 &&
              SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        const int available = SDL_AudioStreamAvailable(stream);
        out.resize(size_t(available) / sizeof(int16_t));
        const int got = SDL_AudioStreamGet(stream, out.data(), available);
        ok = got >= 0;
        const size_t frames = size_t(int64_t(wave.Frames()) * spec.freq / wave.Rate());
        out.resize(ok ? std::min(size_t(got) / sizeof(int16_t), frames * spec.channels) : 0);
        out.resize(out.size() / spec.channels * spec.channels); // whole frames only
    }
    SDL_FreeAudioStream(stream);
    return ok;
}

bool CSoundPlayer::Convert(const void* image, qsizetype size, const SDL_AudioSpec& spec)
{
    CWaveImage wave;
    std::vector<int16_t> samples;
    if (!wave.Parse(image, size) || !ConvertSamples(wave, spec, samples))
        return false;
    std::lock_guard<std::mutex> guard(m_output->Lock());
    m_voice.samples = std::move(samples);
    m_voice.handed = 0;
    m_voice.started = false;
    m_voice.active = !m_voice.samples.empty();
    return true;
}

bool CSoundPlayer::Play(const void* image, qsizetype size, bool async)
{
    Stop();
    CAudioOutput* output = CAudioOutput::Get();
    if (!output)
        return false;
    if (Output() != output) {
        m_output = output;
        m_generation = CAudioOutput::Generation();
        m_output->Attach(&m_voice);
    }
    if (!Convert(image, size, m_output->Spec()))
        return false;
    if (!async) {
        while (IsBusy())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void CSoundPlayer::Stop()
{
    CAudioOutput* output = Output();
    if (!output)
        return;
    std::lock_guard<std::mutex> guard(output->Lock());
    m_voice.active = false;
}

bool CSoundPlayer::IsBusy()
{
    CAudioOutput* output = Output();
    if (!output)
        return false;
    std::lock_guard<std::mutex> guard(output->Lock());
    if (!m_voice.active)
        return false;
    const bool busy = m_voice.handed < m_voice.samples.size() || !m_voice.started ||
                      CAudioOutput::Clock::now() < m_voice.end;
    if (!busy)
        m_voice.active = false;
    return busy;
}
