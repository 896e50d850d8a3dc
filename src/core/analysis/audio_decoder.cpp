// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_decoder.h"

#include "analysis/truncation_check.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"

#include <QFile>

#include <algorithm>
#include <cstdarg>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace kelvara {

namespace {

class FfmpegCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "ffmpeg"; }
    std::string message(int code) const override {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(code, text, sizeof text);
        return text;
    }
};

[[noreturn]] void throwFfmpeg(int code) {
    static const FfmpegCategory category;
    qCDebug(analysisLog) << "FFmpeg error" << code << category.message(code).c_str();
    throw std::system_error(code, category);
}

void check(int code) {
    if (code < 0) {
        throwFfmpeg(code);
    }
}

[[noreturn]] void throwUndecodable() {
    throw WaveformError::unavailable(
        L("Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет неподдерживаемый формат."));
}

[[noreturn]] void throwIncomplete() {
    throw WaveformError::unavailable(L("Аудиофайл прочитан не полностью; результат не сохранён."));
}

// FFmpeg's own warnings (damaged frames, guessed lengths) go to the analysis log.
void forwardFfmpegLog(void* context, int level, const char* format, va_list arguments) {
    if (level > av_log_get_level()) {
        return;
    }
    char line[1024];
    thread_local int printPrefix = 1;
    av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
    qCDebug(analysisLog) << "FFmpeg:" << QByteArray(line).trimmed().constData();
}

// FFmpeg reports damaged frames on stderr; the caller gets our own verdict instead, and the
// analysis log FFmpeg's words when it is on.
void routeFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        const bool logged = analysisLog().isDebugEnabled();
        av_log_set_level(logged ? AV_LOG_WARNING : AV_LOG_QUIET);
        av_log_set_callback(forwardFfmpegLog);
    });
}

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ResamplerFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;

FormatPtr openContainer(const QString& path) {
    AVFormatContext* raw = nullptr;
    check(avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr));
    FormatPtr format(raw);
    check(avformat_find_stream_info(format.get(), nullptr));
    return format;
}

CodecPtr openCodec(const AVCodec* codec, const AVStream* stream) {
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context) {
        throwFfmpeg(AVERROR(ENOMEM));
    }
    check(avcodec_parameters_to_context(context.get(), stream->codecpar));
    context->pkt_timebase = stream->time_base;
    // ALAC decodes several frames at once with frame threads; the others gain nothing.
    context->thread_count = codec->id == AV_CODEC_ID_ALAC ? 0 : 1;
    check(avcodec_open2(context.get(), codec, nullptr));
    return context;
}

std::int64_t toFrames(std::int64_t value, AVRational timeBase, int sampleRate) {
    return av_rescale_q(value, timeBase, AVRational{1, sampleRate});
}

// Demuxes without decoding and adds up the packet lengths: exact where the container only
// estimates its length, and a few milliseconds for a whole track.
std::int64_t scannedLength(const QString& path, int streamIndex) {
    const FormatPtr format = openContainer(path);
    const PacketPtr packet(av_packet_alloc());
    std::int64_t total = 0;
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == streamIndex) {
            total += packet->duration;
        }
        av_packet_unref(packet.get());
    }
    return total;
}

bool lengthIsEstimated(const AVFormatContext* format, const AVStream* stream) {
    return stream->duration == AV_NOPTS_VALUE || format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
}

// The container's length less the start offset (MP3 encoder delay) and the initial padding
// (Opus pre-skip), both of which FFmpeg trims from the decoded audio.
std::int64_t declaredLength(const QString& path, const AVFormatContext* format, const AVStream* stream,
                            int sampleRate) {
    const std::int64_t length = lengthIsEstimated(format, stream) ? scannedLength(path, stream->index)
                                                                   : stream->duration;
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return toFrames(length, stream->time_base, sampleRate) - toFrames(start, stream->time_base, sampleRate) -
           stream->codecpar->initial_padding;
}

// How many codec frames a healthy file of this codec may decode short of its declared
// length: LAME-tagged MP3 ends up to ~1.01 frames short with FFmpeg's trimming, Vorbis and
// Opus less than one frame. Lossless codecs and AAC in MP4 must reach it exactly (AAC's
// surplus lies beyond the declared length, where reading stops).
int toleratedShortFrames(AVCodecID codec) {
    switch (codec) {
    case AV_CODEC_ID_MP3: return 2;
    case AV_CODEC_ID_VORBIS:
    case AV_CODEC_ID_OPUS: return 1;
    default: return 0;
    }
}

// Collects decoded frames into fixed-size blocks for the sink and stops at the declared
// length.
class BlockWriter {
public:
    BlockWriter(AudioBlockSink& sink, int channels, std::int64_t limit)
        : sink_(sink), block_(channels, AudioDecoder::blockFrames), limit_(limit) {}

    std::int64_t delivered() const { return delivered_; }
    bool stopped() const { return stopped_; }
    bool reachedLimit() const { return delivered_ >= limit_; }

    // Returns false once the limit is reached or the sink wants no more.
    bool append(const std::vector<const float*>& planes, std::int64_t frames) {
        std::int64_t taken = 0;
        frames = std::min(frames, limit_ - delivered_);
        while (taken < frames && !stopped_) {
            const auto count = std::min(frames - taken, block_.capacity() - block_.frames());
            for (int c = 0; c < block_.channels(); ++c) {
                std::copy_n(planes[static_cast<std::size_t>(c)] + taken, count, block_.freeSpace(c).begin());
            }
            block_.grow(count);
            taken += count;
            delivered_ += count;
            if (block_.full()) {
                handOver();
            }
        }
        return !stopped_ && !reachedLimit();
    }

    void finish() {
        if (block_.frames() > 0 && !stopped_) {
            handOver();
        }
    }

private:
    void handOver() {
        stopped_ = !sink_.consume(block_);
        block_.restart(delivered_);
    }

    AudioBlockSink& sink_;
    AudioBlock block_;
    std::int64_t limit_;
    std::int64_t delivered_ = 0;
    bool stopped_ = false;
};

}  // namespace

struct AudioDecoder::Stream {
    FormatPtr format;
    AVStream* stream = nullptr;
    CodecPtr codec;
    FramePtr frame{av_frame_alloc()};
    PacketPtr packet{av_packet_alloc()};
    ResamplerPtr resampler;
    int resamplerInput = AV_SAMPLE_FMT_NONE;
    std::vector<std::vector<float>> converted;
    std::vector<const float*> planes;
    int largestCodecFrame = 0;

    // The frame's samples as float planes, converted when the codec gives another format.
    void convertFrame(const AudioFormat& wanted);
    // Sends the decoded frames waiting in the codec to `writer`; false when it wants no more.
    bool drainFrames(BlockWriter& writer, const AudioFormat& wanted);
};

void AudioDecoder::Stream::convertFrame(const AudioFormat& wanted) {
    if (frame->ch_layout.nb_channels != wanted.channels || frame->sample_rate != wanted.sampleRate) {
        throwUndecodable();
    }
    const auto channels = static_cast<std::size_t>(wanted.channels);
    planes.resize(channels);
    if (frame->format == AV_SAMPLE_FMT_FLTP) {
        for (std::size_t c = 0; c < channels; ++c) {
            planes[c] = reinterpret_cast<const float*>(frame->extended_data[c]);
        }
        return;
    }
    if (!resampler || resamplerInput != frame->format) {
        SwrContext* raw = nullptr;
        check(swr_alloc_set_opts2(&raw, &frame->ch_layout, AV_SAMPLE_FMT_FLTP, frame->sample_rate,
                                  &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                                  frame->sample_rate, 0, nullptr));
        resampler.reset(raw);
        check(swr_init(resampler.get()));
        resamplerInput = frame->format;
    }
    converted.resize(channels);
    std::vector<std::uint8_t*> outputs(channels);
    for (std::size_t c = 0; c < channels; ++c) {
        converted[c].resize(static_cast<std::size_t>(frame->nb_samples));
        outputs[c] = reinterpret_cast<std::uint8_t*>(converted[c].data());
        planes[c] = converted[c].data();
    }
    const auto input = const_cast<const std::uint8_t**>(frame->extended_data);
    check(swr_convert(resampler.get(), outputs.data(), frame->nb_samples, input, frame->nb_samples));
}

bool AudioDecoder::Stream::drainFrames(BlockWriter& writer, const AudioFormat& wanted) {
    while (true) {
        const int status = avcodec_receive_frame(codec.get(), frame.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return true;
        }
        if (status == AVERROR_INVALIDDATA) {
            continue;  // a damaged frame: the length check at the end decides
        }
        check(status);
        largestCodecFrame = std::max(largestCodecFrame, frame->nb_samples);
        convertFrame(wanted);
        const bool more = writer.append(planes, frame->nb_samples);
        av_frame_unref(frame.get());
        if (!more) {
            return false;
        }
    }
}

AudioDecoder::AudioDecoder(const QString& path) : stream_(std::make_unique<Stream>()) {
    routeFfmpegLog();
    if (!stream_->frame || !stream_->packet) {
        throwFfmpeg(AVERROR(ENOMEM));
    }
    stream_->format = openContainer(path);
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(stream_->format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (index < 0 || !codec) {
        throwUndecodable();
    }
    stream_->stream = stream_->format->streams[index];
    stream_->codec = openCodec(codec, stream_->stream);

    format_.sampleRate = stream_->codec->sample_rate;
    format_.channels = stream_->codec->ch_layout.nb_channels;
    if (format_.sampleRate <= 0 || format_.channels <= 0) {
        throwUndecodable();
    }
    format_.declaredFrames = declaredLength(path, stream_->format.get(), stream_->stream, format_.sampleRate);
    if (format_.declaredFrames < 1) {
        throwUndecodable();
    }
    if (TruncationCheck::cutShort(path, stream_->format->iformat->name)) {
        throwIncomplete();
    }
}

AudioDecoder::~AudioDecoder() = default;

std::int64_t AudioDecoder::decode(AudioBlockSink& sink) {
    Stream& s = *stream_;
    BlockWriter writer(sink, format_.channels, format_.declaredFrames);
    bool more = true;
    while (more) {
        const int status = av_read_frame(s.format.get(), s.packet.get());
        if (status == AVERROR_EOF || status == AVERROR_INVALIDDATA) {
            break;  // the end, or a damaged tail: the length check below decides
        }
        check(status);
        if (s.packet->stream_index == s.stream->index) {
            const int sent = avcodec_send_packet(s.codec.get(), s.packet.get());
            if (sent < 0 && sent != AVERROR_INVALIDDATA) {
                av_packet_unref(s.packet.get());
                throwFfmpeg(sent);
            }
            more = s.drainFrames(writer, format_);
        }
        av_packet_unref(s.packet.get());
    }
    if (more) {
        check(avcodec_send_packet(s.codec.get(), nullptr));
        s.drainFrames(writer, format_);
    }
    writer.finish();
    if (writer.stopped()) {
        return writer.delivered();
    }
    const std::int64_t tolerance = std::int64_t{toleratedShortFrames(s.codec->codec_id)} * s.largestCodecFrame;
    if (writer.delivered() < format_.declaredFrames - tolerance) {
        throwIncomplete();
    }
    return writer.delivered();
}

}  // namespace kelvara
