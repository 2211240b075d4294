#include "platform/CSoundRecorder.h"

#include "app/CError.h"
#include "platform/CAudioSystem.h"
#include "platform/CWaveImage.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <SDL2/SDL.h>

CSoundRecorder::CSoundRecorder(QObject* parent) : QObject(parent)
{
    m_playTimer.setInterval(5);
    connect(&m_playTimer, &QTimer::timeout, this, &CSoundRecorder::PollPlayback);
}

CSoundRecorder::~CSoundRecorder()
{
    Close();
}

void CSoundRecorder::Open(const QString& path)
{
    Close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CError(QStringLiteral("CSoundRecorder::Open - Nie można otworzyć pliku ") + path);
    const QByteArray image = file.readAll();
    CWaveImage wave;
    if (file.error() != QFileDevice::NoError || !wave.Parse(image.constData(), image.size()))
        throw CError(QStringLiteral("CSoundRecorder::Open - Niepoprawny plik WAVE ") + path);
    m_path = path;
    m_channels = wave.Channels();
    m_rate = wave.Rate();
    m_bits = wave.Bits();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_samples = QByteArray(reinterpret_cast<const char*>(wave.Samples()), wave.SampleBytes());
    }
    m_mode = EMediaMode::Stopped;
}

void CSoundRecorder::OpenEmpty(int channels, int rate, int bits)
{
    Close();
    m_channels = channels;
    m_rate = rate;
    m_bits = bits;
    m_mode = EMediaMode::Stopped;
}

void CSoundRecorder::Close()
{
    if (!IsOpen())
        return;
    Stop();
    m_mode = EMediaMode::NotOpen;
    m_path.clear();
    std::lock_guard<std::mutex> guard(m_lock);
    m_samples.clear();
}

qsizetype CSoundRecorder::BytesForMs(qint64 ms) const
{
    const qsizetype frameBytes = m_channels * m_bits / 8;
    return qsizetype(ms * m_rate / 1000) * frameBytes;
}

int CSoundRecorder::Length() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const qsizetype frameBytes = m_channels * m_bits / 8;
    return int(qint64(m_samples.size() / frameBytes) * 1000 / m_rate);
}

QByteArray CSoundRecorder::Samples() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_samples;
}

int CSoundRecorder::PeakOfLast(int ms) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const qsizetype bytes = std::min(m_samples.size(), BytesForMs(ms));
    const auto* p = reinterpret_cast<const uint8_t*>(m_samples.constData()) + m_samples.size();
    int peak = 0;
    if (m_bits == 8) {
        for (const uint8_t* q = p - bytes; q < p; ++q)
            peak = std::max(peak, std::abs(int(*q) - 128) * 256);
    } else {
        for (const uint8_t* q = p - bytes / 2 * 2; q < p; q += 2)
            peak = std::max(peak, std::abs(int(int16_t(q[0] | q[1] << 8))));
    }
    return std::min(peak, 32767);
}

void CSoundRecorder::Record(int fromMs, int toMs)
{
    if (!IsOpen())
        return;
    if (m_mode == EMediaMode::Playing)
        Stop();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (fromMs >= 0)
            m_samples.truncate(std::min(m_samples.size(), BytesForMs(fromMs)));
        m_limit = toMs >= 0 ? BytesForMs(toMs) : -1;
        m_endPosted = false;
        ++m_take; // an end reported for an earlier take is stale now
        if (m_limit >= 0 && m_samples.size() >= m_limit) {
            // Already at the end position: nothing to record.
            m_samples.truncate(m_limit);
            PostEnd();
        }
    }
    m_mode = EMediaMode::Recording;
    if (m_capture != 0 || m_endPosted)
        return; // already capturing: only the positions changed
    SDL_AudioSpec want{};
    want.freq = m_rate;
    want.format = m_bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = Uint8(m_channels);
    want.samples = 512;
    want.callback = &CSoundRecorder::CaptureCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_capture = CAudioSystem::Open(true, want, &have, 0, !m_requireDevice);
    if (m_capture == 0) {
        m_mode = EMediaMode::Stopped;
        throw CError(QStringLiteral("CSoundRecorder::Record - Brak urządzenia nagrywającego"));
    }
    SDL_PauseAudioDevice(m_capture, 0);
}

void SDLCALL CSoundRecorder::CaptureCallback(void* self, Uint8* stream, int length)
{
    static_cast<CSoundRecorder*>(self)->OnCapture(stream, length);
}

void CSoundRecorder::OnCapture(const uint8_t* data, int length)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_endPosted)
        return;
    qsizetype take = length;
    if (m_limit >= 0)
        take = std::min(take, m_limit - m_samples.size());
    m_samples.append(reinterpret_cast<const char*>(data), std::max<qsizetype>(take, 0));
    if (m_limit >= 0 && m_samples.size() >= m_limit)
        PostEnd();
}

void CSoundRecorder::PostEnd()
{
    m_endPosted = true;
    const int take = m_take;
    QMetaObject::invokeMethod(
        this, [this, take] { CaptureEnded(take); }, Qt::QueuedConnection);
}

void CSoundRecorder::CloseCapture()
{
    // Closing waits for a running callback; none comes after it.
    CAudioSystem::Close(m_capture);
    m_capture = 0;
}

void CSoundRecorder::CaptureEnded(int take)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (take != m_take)
            return; // recording restarted meanwhile
    }
    if (m_mode != EMediaMode::Recording)
        return; // stopped by the program meanwhile
    CloseCapture();
    Finish();
}

void CSoundRecorder::Finish()
{
    m_mode = EMediaMode::Stopped;
    if (m_notify)
        emit Notify();
}

void CSoundRecorder::Play()
{
    if (!IsOpen())
        return;
    if (m_mode == EMediaMode::Recording)
        Stop();
    m_playImage = CWaveImage::Header(m_channels, m_rate, m_bits, 0);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        qToLittleEndian<uint32_t>(uint32_t(m_samples.size()), m_playImage.data() + 40);
        m_playImage += m_samples;
    }
    m_mode = EMediaMode::Playing;
    if (!m_player.Play(m_playImage.constData(), m_playImage.size(), true) || !m_player.IsBusy()) {
        // Nothing to hear: the playback ends at once, as if played.
        QMetaObject::invokeMethod(this, &CSoundRecorder::PollPlayback, Qt::QueuedConnection);
        return;
    }
    m_playTimer.start();
}

void CSoundRecorder::PollPlayback()
{
    if (m_mode != EMediaMode::Playing || m_player.IsBusy())
        return;
    m_playTimer.stop();
    Finish();
}

void CSoundRecorder::Stop()
{
    if (m_mode == EMediaMode::Recording) {
        CloseCapture();
        std::lock_guard<std::mutex> guard(m_lock);
        m_endPosted = true;
    } else if (m_mode == EMediaMode::Playing) {
        m_player.Stop();
        m_playTimer.stop();
    }
    if (IsOpen())
        m_mode = EMediaMode::Stopped;
}

void CSoundRecorder::Rewind()
{
    Stop();
}

void CSoundRecorder::Save()
{
    if (!IsOpen())
        return;
    if (m_path.isEmpty())
        throw CError(QStringLiteral("CSoundRecorder::Save - Nagranie nie ma pliku"));
    const QByteArray samples = Samples();
    QSaveFile file(m_path);
    bool ok = file.open(QIODevice::WriteOnly);
    ok = ok && file.write(CWaveImage::Header(m_channels, m_rate, m_bits, samples.size())) == 44;
    ok = ok && file.write(samples) == samples.size();
    if (ok && (samples.size() & 1))
        ok = file.write("\0", 1) == 1; // chunks are padded to even sizes
    if (!ok || !file.commit())
        throw CError(QStringLiteral("CSoundRecorder::Save - Nie można zapisać pliku ") + m_path);
}
