#pragma once
#include <QImage>
#include <QString>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// Decodes the video stream of a film file frame by frame into RGB images.
class CFilmDecoder
{
public:
    CFilmDecoder() = default;
    ~CFilmDecoder();
    CFilmDecoder(const CFilmDecoder&) = delete;
    CFilmDecoder& operator=(const CFilmDecoder&) = delete;

    // False (with a reason in Error()) when the file cannot be decoded.
    bool Open(const QString& path);
    // The next frame, or a null image at the end of the film or on an error.
    QImage NextFrame();
    // Back to the first frame.
    bool Rewind();
    qint64 DurationMs() const { return m_durationMs; }
    double FrameRate() const { return m_frameRate; }
    QString Error() const { return m_error; }

private:
    void Release();
    QImage Convert();
    qint64 ScanDurationMs(const QByteArray& name) const;

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVFrame* m_avFrame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_sws = nullptr;
    int m_stream = -1;
    bool m_draining = false;
    qint64 m_durationMs = 0;
    double m_frameRate = 25.0;
    QString m_error;
};
