// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ffmpeg_library.h"

#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"

#include <string>

#include <dlfcn.h>

namespace kelvara {

namespace {

#define KELVARA_STRINGIFY(x) #x
#define KELVARA_SONAME(library, major) "lib" #library ".so." KELVARA_STRINGIFY(major)

// The major versions the program was built against: their ABI is the one the headers describe.
struct Sonames {
    static constexpr const char* avutil = KELVARA_SONAME(avutil, LIBAVUTIL_VERSION_MAJOR);
    static constexpr const char* avcodec = KELVARA_SONAME(avcodec, LIBAVCODEC_VERSION_MAJOR);
    static constexpr const char* avformat = KELVARA_SONAME(avformat, LIBAVFORMAT_VERSION_MAJOR);
    static constexpr const char* swresample = KELVARA_SONAME(swresample, LIBSWRESAMPLE_VERSION_MAJOR);
};

[[noreturn]] void throwMissing(const char* what, const char* why) {
    qCWarning(analysisLog) << "cannot load" << what << ":" << why;
    throw WaveformError::unavailable(
        L("Не удалось загрузить библиотеку декодирования {0}; переустановите программу.", QString::fromUtf8(what)));
}

// Libraries stay loaded for the life of the process: handles are never closed.
void* openLibrary(const char* soname) {
    void* handle = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        throwMissing(soname, ::dlerror());
    }
    return handle;
}

template <typename Function>
void bind(Function& function, void* library, const char* soname, const char* name) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function) {
        throwMissing((std::string(soname) + " " + name).c_str(), ::dlerror());
    }
}

FfmpegLibrary load() {
    struct Handles {
        void* avutil = openLibrary(Sonames::avutil);
        void* avcodec = openLibrary(Sonames::avcodec);
        void* avformat = openLibrary(Sonames::avformat);
        void* swresample = openLibrary(Sonames::swresample);
    } handles;
    FfmpegLibrary library;
#define KELVARA_FFMPEG_BIND(lib, name) bind(library.name, handles.lib, Sonames::lib, #name);
    KELVARA_FFMPEG_FUNCTIONS(KELVARA_FFMPEG_BIND)
#undef KELVARA_FFMPEG_BIND
    return library;
}

}  // namespace

// A failed load is retried by the next file rather than remembered.
const FfmpegLibrary& FfmpegLibrary::get() {
    static const FfmpegLibrary library = load();
    return library;
}

}  // namespace kelvara
