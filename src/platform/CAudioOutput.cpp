#include "platform/CAudioOutput.h"

#include "platform/CAudioSystem.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Plain values, valid for the whole run even while statics are destroyed, so
// that a player destroyed at exit can still ask whether the output is there.
CAudioOutput* g_current = nullptr;
int g_generation = 0;

// The owner of the output; if the program did not shut the sound down, it
// closes the device when the statics are destroyed.
struct SOwner
{
    std::unique_ptr<CAudioOutput> output;
    ~SOwner()
    {
        g_current = nullptr;
        output.reset();
        CAudioSystem::Shutdown();
    }
};

SOwner& Owner()
{
    static SOwner owner;
    return owner;
}

} // namespace

CAudioOutput* CAudioOutput::Get()
{
    if (!g_current) {
        std::unique_ptr<CAudioOutput> output(new CAudioOutput());
        if (!output->Open())
            return nullptr;
        Owner().output = std::move(output);
        g_current = Owner().output.get();
        ++g_generation;
    }
    return g_current;
}

CAudioOutput* CAudioOutput::Current()
{
    return g_current;
}

int CAudioOutput::Generation()
{
    return g_generation;
}

void CAudioOutput::Shutdown()
{
    g_current = nullptr;
    Owner().output.reset();
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
