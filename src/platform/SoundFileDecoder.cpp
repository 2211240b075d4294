#include "platform/SoundFileDecoder.h"

#include <QFile>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {

// A longest sound worth taking as a voice: ten minutes; anything longer is
// surely not one, and would only fill the memory.
constexpr int64_t MaxSeconds = 600;

struct SFormatCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct SCodecFreer
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct SFrameFreer
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct SPacketFreer
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SSwrFreer
{
    void operator()(SwrContext* s) const { swr_free(&s); }
};

class CDecodeRun
{
public:
    CDecodeRun(int rate, std::vector<int16_t>& out) : m_rate(rate), m_out(out) {}

    bool Open(const QString& path)
    {
        av_log_set_level(AV_LOG_FATAL);
        const QByteArray name = QFile::encodeName(path);
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0)
            return false;
        m_format.reset(format);
        if (avformat_find_stream_info(format, nullptr) < 0)
            return false;
        const AVCodec* codec = nullptr;
        m_stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (m_stream < 0 || !codec)
            return false;
        m_codec.reset(avcodec_alloc_context3(codec));
        if (!m_codec ||
            avcodec_parameters_to_context(m_codec.get(), format->streams[m_stream]->codecpar) < 0 ||
            avcodec_open2(m_codec.get(), codec, nullptr) < 0)
            return false;
        m_frame.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        return m_frame && m_packet;
    }

    bool Run()
    {
        while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
            const bool ours = m_packet->stream_index == m_stream;
            const bool sent = !ours || avcodec_send_packet(m_codec.get(), m_packet.get()) >= 0;
            av_packet_unref(m_packet.get());
            // A damaged packet here and there is skipped, as players do.
            if (ours && sent && !Receive())
                return false;
        }
        avcodec_send_packet(m_codec.get(), nullptr);
        return Receive() && Flush() && !m_out.empty();
    }

private:
    bool Receive()
    {
        for (;;) {
            const int got = avcodec_receive_frame(m_codec.get(), m_frame.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return true;
            if (got < 0)
                return false;
            const bool ok = Convert(m_frame.get());
            av_frame_unref(m_frame.get());
            if (!ok)
                return false;
        }
    }

    bool MakeResampler(const AVFrame* frame)
    {
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        AVChannelLayout in{};
        if (frame->ch_layout.nb_channels > 0)
            av_channel_layout_copy(&in, &frame->ch_layout);
        else
            av_channel_layout_default(&in, m_codec->ch_layout.nb_channels);
        SwrContext* swr = nullptr;
        const int made =
            swr_alloc_set_opts2(&swr, &mono, AV_SAMPLE_FMT_S16, m_rate, &in,
                                AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        m_swr.reset(swr);
        return made >= 0 && swr && swr_init(swr) >= 0;
    }

    bool Convert(const AVFrame* frame)
    {
        if (frame->sample_rate <= 0 || frame->nb_samples <= 0)
            return frame->nb_samples == 0;
        if (!m_swr && !MakeResampler(frame))
            return false;
        return Append(frame->extended_data, frame->nb_samples);
    }

    bool Flush() { return !m_swr || Append(nullptr, 0); }

    bool Append(uint8_t* const* data, int count)
    {
        const int room = swr_get_out_samples(m_swr.get(), count);
        if (room < 0)
            return false;
        const size_t at = m_out.size();
        if (at + size_t(room) > size_t(MaxSeconds * m_rate))
            return false;
        m_out.resize(at + size_t(room));
        auto* target = reinterpret_cast<uint8_t*>(m_out.data() + at);
        const int made =
            swr_convert(m_swr.get(), &target, room, const_cast<const uint8_t**>(data), count);
        if (made < 0)
            return false;
        m_out.resize(at + size_t(made));
        return true;
    }

    int m_rate;
    std::vector<int16_t>& m_out;
    std::unique_ptr<AVFormatContext, SFormatCloser> m_format;
    std::unique_ptr<AVCodecContext, SCodecFreer> m_codec;
    std::unique_ptr<AVFrame, SFrameFreer> m_frame;
    std::unique_ptr<AVPacket, SPacketFreer> m_packet;
    std::unique_ptr<SwrContext, SSwrFreer> m_swr;
    int m_stream = -1;
};

} // namespace

bool DecodeSoundFile(const QString& path, int rate, std::vector<int16_t>& mono)
{
    mono.clear();
    CDecodeRun run(rate, mono);
    const bool ok = run.Open(path) && run.Run();
    if (!ok)
        mono.clear();
    return ok;
}
