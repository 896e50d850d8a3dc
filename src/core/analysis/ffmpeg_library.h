// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace kelvara {

// The FFmpeg functions the decoder calls, with FFmpeg's own signatures.
#define KELVARA_FFMPEG_FUNCTIONS(X)                                                                          \
    X(avutil, av_strerror)                                                                                 \
    X(avutil, av_log_format_line2)                                                                         \
    X(avutil, av_log_get_level)                                                                            \
    X(avutil, av_log_set_level)                                                                            \
    X(avutil, av_log_set_callback)                                                                         \
    X(avutil, av_malloc)                                                                                   \
    X(avutil, av_free)                                                                                     \
    X(avutil, av_freep)                                                                                    \
    X(avutil, av_rescale_q)                                                                                \
    X(avutil, av_frame_alloc)                                                                              \
    X(avutil, av_frame_free)                                                                               \
    X(avutil, av_frame_unref)                                                                              \
    X(avcodec, av_packet_alloc)                                                                            \
    X(avcodec, av_packet_free)                                                                             \
    X(avcodec, av_packet_unref)                                                                            \
    X(avcodec, avcodec_alloc_context3)                                                                     \
    X(avcodec, avcodec_free_context)                                                                       \
    X(avcodec, avcodec_parameters_to_context)                                                              \
    X(avcodec, avcodec_open2)                                                                              \
    X(avcodec, avcodec_send_packet)                                                                        \
    X(avcodec, avcodec_receive_frame)                                                                      \
    X(avformat, avformat_alloc_context)                                                                    \
    X(avformat, avformat_free_context)                                                                     \
    X(avformat, avformat_open_input)                                                                       \
    X(avformat, avformat_close_input)                                                                      \
    X(avformat, avformat_find_stream_info)                                                                 \
    X(avformat, av_find_best_stream)                                                                       \
    X(avformat, av_read_frame)                                                                             \
    X(avformat, avio_alloc_context)                                                                        \
    X(avformat, avio_context_free)                                                                         \
    X(swresample, swr_alloc_set_opts2)                                                                     \
    X(swresample, swr_init)                                                                                \
    X(swresample, swr_convert)                                                                             \
    X(swresample, swr_free)

// FFmpeg's libraries, loaded when the first file needs them rather than when the program
// starts. Linked at start-up they pull in some 140 codec, network and hardware libraries,
// whose symbol binding costs a command-line analysis of a WAV file more than its filtering;
// PCM files are read without FFmpeg and never pay for it.
struct FfmpegLibrary {
#define KELVARA_FFMPEG_POINTER(library, name) decltype(&::name) name = nullptr;
    KELVARA_FFMPEG_FUNCTIONS(KELVARA_FFMPEG_POINTER)
#undef KELVARA_FFMPEG_POINTER

    // The loaded libraries, the first call loading them. Throws WaveformError when one of
    // them or one of its functions is missing.
    static const FfmpegLibrary& get();
};

}  // namespace kelvara
