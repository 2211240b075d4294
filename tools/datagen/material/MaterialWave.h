#pragma once
#include <QByteArray>
#include <QList>

// Length in seconds of a RIFF WAVE image (PCM): its data chunk over its byte
// rate. Negative when the image is not a readable WAVE.
double WaveDuration(const QByteArray& wave);

// A soft chime: the tones one after another, each with a gentle rise and fall,
// 22050 Hz, 16-bit mono.
QByteArray MakeToneWave(const QList<int>& frequencies);
