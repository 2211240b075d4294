#include "platform/CFilmDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace {

// The material's films are MPEG program streams read from local files. Naming
// the format keeps a damaged or foreign file from being taken for a playlist
// or another container that would open further files or network addresses.
int OpenInput(AVFormatContext** context, const QByteArray& name)
{
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int result =
        avformat_open_input(context, name.constData(), av_find_input_format("mpeg"), &options);
    av_dict_free(&options);
    return result;
}

} // namespace

CFilmDecoder::~CFilmDecoder()
{
    Release();
}

void CFilmDecoder::Release()
{
    sws_freeContext(m_sws);
    m_sws = nullptr;
    av_packet_free(&m_packet);
    av_frame_free(&m_avFrame);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
    m_stream = -1;
    m_draining = false;
}

bool CFilmDecoder::Open(const QString& path)
{
    Release();
    m_error.clear();
    // Damaged films are reported by the caller, not on the terminal.
    av_log_set_level(AV_LOG_FATAL);
    const QByteArray name = path.toUtf8();
    if (OpenInput(&m_format, name) < 0) {
        m_error = QStringLiteral("nie można otworzyć pliku");
        return false;
    }
    const AVCodec* codec = nullptr;
    if (avformat_find_stream_info(m_format, nullptr) < 0 ||
        (m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)) < 0 ||
        !codec) {
        m_error = QStringLiteral("brak obrazu w pliku");
        Release();
        return false;
    }
    AVStream* stream = m_format->streams[m_stream];
    m_codec = avcodec_alloc_context3(codec);
    m_avFrame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_codec || !m_avFrame || !m_packet ||
        avcodec_parameters_to_context(m_codec, stream->codecpar) < 0 ||
        avcodec_open2(m_codec, codec, nullptr) < 0) {
        m_error = QStringLiteral("nie można dekodować obrazu");
        Release();
        return false;
    }
    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    m_frameRate = rate.num > 0 && rate.den > 0 ? std::clamp(av_q2d(rate), 1.0, 120.0) : 25.0;
    m_durationMs = ScanDurationMs(name);
    return true;
}

qint64 CFilmDecoder::ScanDurationMs(const QByteArray& name) const
{
    // An MPEG stream's own duration is only estimated from its bit rate, so the
    // video packets are counted instead (one frame each): a quick pass over a
    // short film without decoding.
    AVFormatContext* scan = nullptr;
    if (OpenInput(&scan, name) < 0)
        return 0;
    AVPacket* packet = av_packet_alloc();
    qint64 frames = 0;
    while (packet && av_read_frame(scan, packet) >= 0) {
        if (packet->stream_index == m_stream)
            ++frames;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&scan);
    return qint64(std::llround(double(frames) * 1000.0 / m_frameRate));
}

QImage CFilmDecoder::NextFrame()
{
    if (!m_codec)
        return {};
    for (;;) {
        const int received = avcodec_receive_frame(m_codec, m_avFrame);
        if (received == 0)
            return Convert();
        if (received != AVERROR(EAGAIN) || m_draining)
            return {}; // the end, or a decoder that cannot go on
        if (av_read_frame(m_format, m_packet) < 0) {
            // End of the file: let the decoder give its last frames.
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        // A damaged packet is skipped; the next one may decode.
        if (m_packet->stream_index == m_stream)
            avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
    }
}

QImage CFilmDecoder::Convert()
{
    const int w = m_avFrame->width;
    const int h = m_avFrame->height;
    if (w <= 0 || h <= 0)
        return {};
    m_sws = sws_getCachedContext(m_sws, w, h, AVPixelFormat(m_avFrame->format), w, h,
                                 AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_sws)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(m_sws, m_avFrame->data, m_avFrame->linesize, 0, h, planes, strides);
    av_frame_unref(m_avFrame);
    return image;
}

bool CFilmDecoder::Rewind()
{
    // Reopening is the one sure way back to the very first frame.
    if (!m_format)
        return false;
    const QString path = QString::fromUtf8(m_format->url);
    return Open(path);
}
