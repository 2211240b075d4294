#include "platform/CAudioSystem.h"

#include <SDL2/SDL.h>
#include <cstring>

namespace {
bool g_started = false;
bool g_fellBack = false;
int g_openDevices = 0;
} // namespace

bool CAudioSystem::Start()
{
    if (g_started)
        return true;
    if (SDL_AudioInit(nullptr) == 0)
        g_started = true;
    else if (SDL_AudioInit("dummy") == 0)
        g_started = g_fellBack = true;
    return g_started;
}

bool CAudioSystem::SwitchToDummy()
{
    // Restarting the subsystem would close the devices other owners hold.
    if (g_openDevices > 0)
        return false;
    const char* current = SDL_GetCurrentAudioDriver();
    if (current && std::strcmp(current, "dummy") == 0)
        return false;
    SDL_AudioQuit();
    g_started = g_fellBack = SDL_AudioInit("dummy") == 0;
    return g_started;
}

SDL_AudioDeviceID CAudioSystem::Open(bool capture, const SDL_AudioSpec& want, SDL_AudioSpec* have,
                                     int allowedChanges, bool fallBack)
{
    if (!Start() || (!fallBack && g_fellBack))
        return 0;
    SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, have, allowedChanges);
    if (device == 0 && fallBack && SwitchToDummy())
        device = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, have, allowedChanges);
    if (device != 0)
        ++g_openDevices;
    return device;
}

void CAudioSystem::Close(SDL_AudioDeviceID device)
{
    if (device == 0)
        return;
    SDL_CloseAudioDevice(device);
    --g_openDevices;
}

bool CAudioSystem::FellBack()
{
    return g_started && g_fellBack;
}

QString CAudioSystem::Driver()
{
    const char* name = g_started ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromLatin1(name) : QString();
}

void CAudioSystem::Shutdown()
{
    if (!g_started)
        return;
    SDL_AudioQuit();
    g_started = g_fellBack = false;
    g_openDevices = 0;
}
