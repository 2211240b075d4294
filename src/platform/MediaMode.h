#pragma once

// What a media player (recorder or film player) is doing.
enum class EMediaMode
{
    NotOpen,
    Stopped,
    Playing,
    Recording,
    Paused,
};
