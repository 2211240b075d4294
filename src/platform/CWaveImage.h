#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <cstdint>

// A read-only view of a RIFF WAVE image in memory: its PCM format and where its
// samples are. Parse never reads outside [data, data + size) and rejects
// anything it cannot play: short or foreign headers, formats other than 8- or
// 16-bit PCM with one or two channels, and chunk sizes past the end.
class CWaveImage
{
public:
    // False (and the view left invalid) when the image is not a playable WAVE.
    bool Parse(const void* data, qsizetype size);

    bool IsValid() const { return m_samples != nullptr; }
    int Channels() const { return m_channels; }
    int Rate() const { return m_rate; }
    int Bits() const { return m_bits; }
    int FrameBytes() const { return m_channels * m_bits / 8; }
    // The samples, cut to whole frames.
    const uint8_t* Samples() const { return m_samples; }
    qsizetype SampleBytes() const { return m_sampleBytes; }
    qsizetype Frames() const { return FrameBytes() ? m_sampleBytes / FrameBytes() : 0; }
    // Where the samples start in the image.
    qsizetype DataOffset() const { return m_dataOffset; }
    qint64 DurationMs() const { return m_rate ? Frames() * 1000 / m_rate : 0; }

    // The canonical 44-byte header of a PCM WAVE image holding `dataBytes` of
    // samples (the RIFF size counts the pad byte of an odd data chunk).
    static QByteArray Header(int channels, int rate, int bits, qsizetype dataBytes);

private:
    void Clear();

    int m_channels = 0;
    int m_rate = 0;
    int m_bits = 0;
    const uint8_t* m_samples = nullptr;
    qsizetype m_sampleBytes = 0;
    qsizetype m_dataOffset = 0;
};
