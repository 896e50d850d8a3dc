// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ffmpeg_decoder.h"

#include "analysis/ffmpeg_library.h"
#include "analysis/timeline_writer.h"
#include "analysis/truncation_check.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"
#include "storage/regular_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace kelvara {

namespace {

const FfmpegLibrary& ff() { return FfmpegLibrary::get(); }

// FFmpeg's own words ("Invalid data found when processing input", "Not yet implemented in
// FFmpeg, patches welcome") mean nothing to a listener: they go to the log, and the listener
// reads ours.
std::string ffmpegText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    ff().av_strerror(code, text, sizeof text);
    return text;
}

[[noreturn]] void throwFfmpeg(int code) {
    qCDebug(analysisLog) << "FFmpeg error" << code << ffmpegText(code).c_str();
    throw WaveformError::unavailable(
        L("Не удалось прочитать аудио: файл повреждён или его формат не поддерживается."));
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
    if (level > ff().av_log_get_level()) {
        return;
    }
    char line[1024];
    thread_local int printPrefix = 1;
    ff().av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
    qCDebug(analysisLog) << "FFmpeg:" << QByteArray(line).trimmed().constData();
}

// FFmpeg reports damaged frames on stderr; the caller gets our own verdict instead, and the
// analysis log FFmpeg's words when it is on.
void routeFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        const bool logged = analysisLog().isDebugEnabled();
        ff().av_log_set_level(logged ? AV_LOG_WARNING : AV_LOG_QUIET);
        ff().av_log_set_callback(forwardFfmpegLog);
    });
}

struct FormatCloser {
    void operator()(AVFormatContext* context) const { ff().avformat_close_input(&context); }
};
struct IoFreer {
    void operator()(AVIOContext* context) const {
        ff().av_freep(&context->buffer);
        ff().avio_context_free(&context);
    }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { ff().avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { ff().av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { ff().av_packet_free(&packet); }
};
struct ResamplerFreer {
    void operator()(SwrContext* context) const { ff().swr_free(&context); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;
using IoPtr = std::unique_ptr<AVIOContext, IoFreer>;

int readFile(void* opaque, std::uint8_t* buffer, int size) {
    const int handle = static_cast<const RegularFile*>(opaque)->handle();
    while (true) {
        const ssize_t got = ::read(handle, buffer, static_cast<std::size_t>(size));
        if (got > 0) {
            return static_cast<int>(got);
        }
        if (got == 0) {
            return AVERROR_EOF;
        }
        if (errno != EINTR) {
            return AVERROR(errno);
        }
    }
}

std::int64_t seekFile(void* opaque, std::int64_t offset, int whence) {
    const auto* file = static_cast<const RegularFile*>(opaque);
    if (whence & AVSEEK_SIZE) {
        return file->size();
    }
    const off_t at = ::lseek(file->handle(), static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : at;
}

// A container read through a regular file we opened ourselves, so that a FIFO or a device
// never reaches FFmpeg's own open(), which would block. The path still names the file for
// FFmpeg's format guess, which weighs the extension.
struct Container {
    std::unique_ptr<RegularFile> file;
    IoPtr io;
    FormatPtr format;  // closed before the reader and the file it reads through
};

Container openContainer(const QString& path) {
    constexpr int ioBufferSize = 64 * 1024;
    Container container;
    container.file = std::make_unique<RegularFile>(path);
    auto* buffer = static_cast<unsigned char*>(ff().av_malloc(ioBufferSize));
    container.io.reset(buffer ? ff().avio_alloc_context(buffer, ioBufferSize, 0, container.file.get(), readFile,
                                                   nullptr, seekFile)
                              : nullptr);
    AVFormatContext* raw = ff().avformat_alloc_context();
    if (!container.io || !raw) {
        ff().av_free(container.io ? nullptr : buffer);
        ff().avformat_free_context(raw);
        throwFfmpeg(AVERROR(ENOMEM));
    }
    raw->pb = container.io.get();
    check(ff().avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr));
    container.format.reset(raw);
    check(ff().avformat_find_stream_info(container.format.get(), nullptr));
    return container;
}

CodecPtr openCodec(const AVCodec* codec, const AVStream* stream) {
    CodecPtr context(ff().avcodec_alloc_context3(codec));
    if (!context) {
        throwFfmpeg(AVERROR(ENOMEM));
    }
    check(ff().avcodec_parameters_to_context(context.get(), stream->codecpar));
    context->pkt_timebase = stream->time_base;
    // ALAC decodes several frames at once with frame threads; the others gain nothing.
    context->thread_count = codec->id == AV_CODEC_ID_ALAC ? 0 : 1;
    check(ff().avcodec_open2(context.get(), codec, nullptr));
    return context;
}

std::int64_t toFrames(std::int64_t value, AVRational timeBase, int sampleRate) {
    return ff().av_rescale_q(value, timeBase, AVRational{1, sampleRate});
}

// Demuxes without decoding and adds up the packet lengths: exact where the container only
// estimates its length, and a few milliseconds for a whole track.
std::int64_t scannedLength(const QString& path, int streamIndex) {
    const Container container = openContainer(path);
    AVFormatContext* format = container.format.get();
    const PacketPtr packet(ff().av_packet_alloc());
    std::int64_t total = 0;
    while (ff().av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == streamIndex) {
            total += packet->duration;
        }
        ff().av_packet_unref(packet.get());
    }
    return total;
}

bool lengthIsEstimated(const AVFormatContext* format, const AVStream* stream) {
    return stream->duration == AV_NOPTS_VALUE || format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
}

// Where the file's timeline starts, in the stream's time base: the container's start offset
// (MP3 encoder delay). Ogg counts its granules from 0 by definition, while FFmpeg takes the
// start from the first page it could read, which a damaged first page moves.
std::int64_t timelineStart(const AVFormatContext* format, const AVStream* stream) {
    if (stream->start_time == AV_NOPTS_VALUE || std::string_view(format->iformat->name) == "ogg") {
        return 0;
    }
    return stream->start_time;
}

// The container's length less the start offset and the initial padding (Opus pre-skip), both
// of which FFmpeg trims from the decoded audio.
std::int64_t declaredLength(const QString& path, const AVFormatContext* format, const AVStream* stream,
                            int sampleRate) {
    const std::int64_t length = lengthIsEstimated(format, stream) ? scannedLength(path, stream->index)
                                                                   : stream->duration;
    return toFrames(length, stream->time_base, sampleRate) -
           toFrames(timelineStart(format, stream), stream->time_base, sampleRate) - stream->codecpar->initial_padding;
}

// Timestamps in a coarser time base than one sample (Matroska counts milliseconds) are off
// by up to one tick from the frames actually decoded.
std::int64_t timestampJitter(AVRational timeBase, int sampleRate) {
    return toFrames(1, timeBase, sampleRate) + 1;
}

// A header claiming a 1 Hz or a 64-channel stream describes damage, not sound: taken at its
// word it would make a six-day or a split-second track.
void rejectImplausible(const AudioFormat& format) {
    if (!format.plausible()) {
        qCDebug(analysisLog) << "implausible header:" << format.sampleRate << "Hz," << format.channels << "channels";
        throw WaveformError::unavailable(
            L("Заголовок файла неправдоподобен ({0} Гц, каналов: {1}); файл, вероятно, повреждён.", format.sampleRate,
              format.channels));
    }
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

}  // namespace

struct FfmpegDecoder::Stream {
    Container container;
    AVStream* stream = nullptr;
    CodecPtr codec;
    FramePtr frame{ff().av_frame_alloc()};
    PacketPtr packet{ff().av_packet_alloc()};
    ResamplerPtr resampler;
    int resamplerInput = AV_SAMPLE_FMT_NONE;
    std::vector<std::vector<float>> converted;
    std::vector<const float*> planes;
    int largestCodecFrame = 0;
    std::int64_t origin = 0;  // where the file's timeline starts, in the stream's time base

    // The frame's samples as float planes, converted when the codec gives another format.
    void convertFrame(const AudioFormat& wanted);
    // Where the frame starts on the file's timeline; none when it carries no timestamp.
    std::optional<std::int64_t> framePosition(int sampleRate) const;
    // Sends the decoded frames waiting in the codec to `writer`; false when it wants no more
    // or the audio has run on past the declared length by more than a codec frame.
    bool drainFrames(TimelineWriter& writer, const AudioFormat& wanted);
};

void FfmpegDecoder::Stream::convertFrame(const AudioFormat& wanted) {
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
        check(ff().swr_alloc_set_opts2(&raw, &frame->ch_layout, AV_SAMPLE_FMT_FLTP, frame->sample_rate,
                                  &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                                  frame->sample_rate, 0, nullptr));
        resampler.reset(raw);
        check(ff().swr_init(resampler.get()));
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
    check(ff().swr_convert(resampler.get(), outputs.data(), frame->nb_samples, input, frame->nb_samples));
}

std::optional<std::int64_t> FfmpegDecoder::Stream::framePosition(int sampleRate) const {
    if (frame->pts == AV_NOPTS_VALUE) {
        return std::nullopt;
    }
    return toFrames(frame->pts - origin, stream->time_base, sampleRate);
}

bool FfmpegDecoder::Stream::drainFrames(TimelineWriter& writer, const AudioFormat& wanted) {
    while (true) {
        const int status = ff().avcodec_receive_frame(codec.get(), frame.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return true;
        }
        if (status == AVERROR_INVALIDDATA) {
            continue;  // a damaged frame: the length check at the end decides
        }
        check(status);
        largestCodecFrame = std::max(largestCodecFrame, frame->nb_samples);
        convertFrame(wanted);
        const bool more = writer.place(planes, frame->nb_samples, framePosition(wanted.sampleRate));
        ff().av_frame_unref(frame.get());
        if (!more || writer.surplus() > largestCodecFrame) {
            return false;
        }
    }
}

FfmpegDecoder::FfmpegDecoder(const QString& path) : stream_(std::make_unique<Stream>()) {
    routeFfmpegLog();
    if (!stream_->frame || !stream_->packet) {
        throwFfmpeg(AVERROR(ENOMEM));
    }
    stream_->container = openContainer(path);
    AVFormatContext* container = stream_->container.format.get();
    const AVCodec* codec = nullptr;
    const int index = ff().av_find_best_stream(container, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (index < 0 || !codec) {
        throwUndecodable();
    }
    stream_->stream = container->streams[index];
    stream_->codec = openCodec(codec, stream_->stream);

    format_.sampleRate = stream_->codec->sample_rate;
    format_.channels = stream_->codec->ch_layout.nb_channels;
    if (format_.sampleRate <= 0 || format_.channels <= 0) {
        throwUndecodable();
    }
    rejectImplausible(format_);
    stream_->origin = timelineStart(container, stream_->stream);
    format_.declaredFrames = declaredLength(path, container, stream_->stream, format_.sampleRate);
    if (format_.declaredFrames < 1) {
        throwUndecodable();
    }
    if (TruncationCheck::cutShort(path, container->iformat->name)) {
        throwIncomplete();
    }
}

FfmpegDecoder::~FfmpegDecoder() = default;

std::int64_t FfmpegDecoder::decode(AudioBlockSink& sink) {
    Stream& s = *stream_;
    TimelineWriter writer(sink, format_.channels, AudioFormat::blockFrames, format_.declaredFrames,
                          timestampJitter(s.stream->time_base, format_.sampleRate));
    bool more = true;
    while (more) {
        const int status = ff().av_read_frame(s.container.format.get(), s.packet.get());
        if (status == AVERROR_EOF || status == AVERROR_INVALIDDATA) {
            break;  // the end, or a damaged tail: the length check below decides
        }
        check(status);
        if (s.packet->stream_index == s.stream->index) {
            const int sent = ff().avcodec_send_packet(s.codec.get(), s.packet.get());
            if (sent < 0 && sent != AVERROR_INVALIDDATA) {
                ff().av_packet_unref(s.packet.get());
                throwFfmpeg(sent);
            }
            more = s.drainFrames(writer, format_);
        }
        ff().av_packet_unref(s.packet.get());
    }
    if (more) {
        check(ff().avcodec_send_packet(s.codec.get(), nullptr));
        s.drainFrames(writer, format_);
    }
    writer.finish();
    if (writer.stopped()) {
        return writer.delivered();
    }
    // Data beyond the declared length (duplicated in the file) is as much damage as data
    // missing from it; less than one codec frame is the AAC encoder's usual padding.
    const std::int64_t tolerance = std::int64_t{toleratedShortFrames(s.codec->codec_id)} * s.largestCodecFrame;
    if (writer.delivered() < format_.declaredFrames - tolerance || writer.surplus() > s.largestCodecFrame) {
        throwIncomplete();
    }
    return writer.delivered();
}

}  // namespace kelvara
