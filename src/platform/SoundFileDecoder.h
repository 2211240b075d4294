#pragma once
#include <QString>
#include <cstdint>
#include <vector>

// Reads the first audio stream of any sound file FFmpeg can open (WAVE, MP3,
// OGG, FLAC, M4A, a film's sound track...) and converts it to signed 16-bit
// mono at `rate` samples per second. False, with `mono` empty, when the file
// cannot be opened, holds no sound, or cannot be decoded.
bool DecodeSoundFile(const QString& path, int rate, std::vector<int16_t>& mono);
