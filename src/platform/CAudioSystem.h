#pragma once
#include <QString>
#include <SDL2/SDL_audio.h>

// The program's use of SDL's audio subsystem (and nothing else of SDL). The
// subsystem is started on first use. When no usable device can be opened
// (a machine without sound, a server), it is restarted on SDL's dummy driver,
// so that the program goes on silently with sounds taking their real time.
class CAudioSystem
{
public:
    // Opens a playback or capture device; 0 when even the dummy driver fails.
    // Without `fallBack` a device that cannot be opened gives 0 at once, and so
    // does any device once the subsystem has fallen back to the dummy driver:
    // a caller that needs a real microphone must not get silence instead.
    static SDL_AudioDeviceID Open(bool capture, const SDL_AudioSpec& want, SDL_AudioSpec* have,
                                  int allowedChanges, bool fallBack = true);
    static void Close(SDL_AudioDeviceID device);
    // The driver in use ("" before the first use).
    static QString Driver();
    // True when the subsystem runs on the dummy driver because no real device
    // could be opened (not because the dummy driver was asked for).
    static bool FellBack();
    // Closes the subsystem; devices must have been closed by their owners.
    static void Shutdown();

private:
    static bool Start();
    static bool SwitchToDummy();
};
