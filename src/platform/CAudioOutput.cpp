#include "platform/CAudioOutput.h"

#include "platform/CAudioSystem.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
std::unique_ptr<CAudioOutput> g_output;
int g_generation = 0;
} // namespace

CAudioOutput* CAudioOutput::Get()
{
    if (!g_output) {
        std::unique_ptr<CAudioOutput> output(new CAudioOutput());
        if (!output->Open())
            return nullptr;
        g_output = std::move(output);
        ++g_generation;
    }
    return g_output.get();
}

CAudioOutput* CAudioOutput::Current()
{
    return g_output.get();
}

int CAudioOutput::Generation()
{
    return g_generation;
}

void CAudioOutput::Shutdown()
{
    g_output.reset();
    CAudioSystem::Shutdown();
}

bool CAudioOutput::Open()
{
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    // A small buffer keeps the start of a sound prompt.
    want.samples = 1024;
    want.callback = &CAudioOutput::Callback;
    want.userdata = this;
    m_device = CAudioSystem::Open(
        false, want, &m_spec, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (m_device == 0)
        return false;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

CAudioOutput::~CAudioOutput()
{
    // Closing waits for a running callback, after which no voice is touched.
    CAudioSystem::Close(m_device);
}

void CAudioOutput::Attach(SVoice* voice)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (std::find(m_voices.begin(), m_voices.end(), voice) == m_voices.end())
        m_voices.push_back(voice);
}

void CAudioOutput::Detach(SVoice* voice)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void SDLCALL CAudioOutput::Callback(void* self, Uint8* stream, int length)
{
    std::memset(stream, 0, size_t(length));
    static_cast<CAudioOutput*>(self)->Mix(reinterpret_cast<int16_t*>(stream),
                                          size_t(length) / sizeof(int16_t));
}

void CAudioOutput::Mix(int16_t* out, size_t count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const Clock::time_point now = Clock::now();
    const size_t perSecond = size_t(m_spec.freq) * m_spec.channels;
    for (SVoice* voice : m_voices) {
        if (!voice->active || voice->handed >= voice->samples.size())
            continue;
        if (!voice->started) {
            // From here the sound plays in real time: its end is known.
            voice->started = true;
            const auto micros = int64_t(voice->samples.size()) * 1000000 / int64_t(perSecond);
            voice->end = now + std::chrono::microseconds(micros);
        }
        const size_t n = std::min(count, voice->samples.size() - voice->handed);
        const int16_t* in = voice->samples.data() + voice->handed;
        for (size_t i = 0; i < n; ++i)
            out[i] = int16_t(std::clamp(int(out[i]) + int(in[i]), -32768, 32767));
        voice->handed += n;
    }
}
