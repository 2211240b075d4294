#pragma once
#include "platform/CAudioOutput.h"

#include <QtGlobal>

class CWaveImage;

// Plays WAVE images from memory (8- or 16-bit PCM, mono or stereo, any rate),
// one at a time per player: a new play first stops the one in progress. The
// image is converted when the play starts, so the caller's buffer may change
// right after Play returns.
class CSoundPlayer
{
public:
    CSoundPlayer();
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // False when the image is not a playable WAVE or there is no device at
    // all; then nothing plays. A synchronous play returns at the sound's end.
    bool Play(const void* image, qsizetype size, bool async);
    void Stop();
    // True while the last sound still plays (its end is known to a few ms).
    bool IsBusy();

    // The image's samples in the format of `spec` (only freq and channels
    // count; samples are signed 16-bit); false when they cannot be converted.
    static bool ConvertSamples(const CWaveImage& wave, const SDL_AudioSpec& spec,
                               std::vector<int16_t>& out);

    // Releases the shared device and the audio subsystem at program end.
    static void Shutdown();

private:
    bool Convert(const void* image, qsizetype size, const SDL_AudioSpec& spec);
    // The output this player is attached to, if it is still open.
    CAudioOutput* Output() const;

    CAudioOutput::SVoice m_voice;
    CAudioOutput* m_output = nullptr;
    int m_generation = 0;
};
