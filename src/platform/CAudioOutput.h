#pragma once
#include <SDL2/SDL_audio.h>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

// The one playback device of the program, opened on first use and shared by
// every CSoundPlayer: each player is a voice that the device callback mixes in.
// The callback also notes when each voice's first samples went to the device,
// so that the end of a sound is known to within a few milliseconds instead of
// a whole device buffer early.
class CAudioOutput
{
public:
    using Clock = std::chrono::steady_clock;

    struct SVoice
    {
        std::vector<int16_t> samples; // interleaved, in the device's format
        size_t handed = 0;            // samples given to the device so far
        bool active = false;
        bool started = false;  // its first samples went to the device
        Clock::time_point end; // valid once started
    };

    // The shared output; nullptr when no device at all could be opened.
    static CAudioOutput* Get();
    // The shared output if it is open, without opening it.
    static CAudioOutput* Current();
    // Counts the outputs opened so far: a player's pointer is only its own
    // output while the generation it saw is still the current one.
    static int Generation();
    // Closes the device and the audio subsystem (program shutdown).
    static void Shutdown();

    ~CAudioOutput();
    const SDL_AudioSpec& Spec() const { return m_spec; }
    std::mutex& Lock() { return m_lock; }
    // Voices are attached for their whole life; both calls take the lock.
    void Attach(SVoice* voice);
    void Detach(SVoice* voice);

private:
    CAudioOutput() = default;
    bool Open();
    static void SDLCALL Callback(void* self, Uint8* stream, int length);
    void Mix(int16_t* out, size_t count);

    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};
    std::mutex m_lock;
    std::vector<SVoice*> m_voices;
};
