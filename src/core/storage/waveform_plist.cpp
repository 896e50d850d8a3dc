// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/waveform_plist.h"

#include <array>

namespace kelvara {

namespace {

using Series = std::vector<float> Waveform::*;

struct NamedSeries {
    const char* key;
    Series series;
};

constexpr std::array<NamedSeries, 5> seriesKeys = {{{"peaks", &Waveform::peaks},
                                                    {"rms", &Waveform::rms},
                                                    {"low", &Waveform::low},
                                                    {"mid", &Waveform::mid},
                                                    {"high", &Waveform::high}}};

PlistValue encodeGrid(const BeatGrid& grid) {
    PlistValue value = PlistValue::dict();
    value.insert(QStringLiteral("bpm"), PlistValue::real(grid.bpm));
    value.insert(QStringLiteral("origin"), PlistValue::real(grid.origin));
    value.insert(QStringLiteral("confidence"), PlistValue::real(grid.confidence));
    return value;
}

std::optional<BeatGrid> decodeGrid(const PlistValue& value) {
    const PlistValue* bpm = value.find(QStringLiteral("bpm"));
    const PlistValue* origin = value.find(QStringLiteral("origin"));
    const PlistValue* confidence = value.find(QStringLiteral("confidence"));
    if (!bpm || !origin || !confidence || !bpm->toNumber() || !origin->toNumber() || !confidence->toNumber()) {
        return std::nullopt;
    }
    return BeatGrid{*bpm->toNumber(), *origin->toNumber(), *confidence->toNumber()};
}

std::optional<std::vector<float>> decodeSeries(const PlistValue* value) {
    const std::vector<double>* numbers = value ? value->toNumbers() : nullptr;
    if (!numbers) {
        return std::nullopt;
    }
    std::vector<float> series(numbers->size());
    for (std::size_t i = 0; i < series.size(); ++i) {
        series[i] = static_cast<float>((*numbers)[i]);
    }
    return series;
}

}  // namespace

PlistValue WaveformPlist::encode(const Waveform& waveform) {
    PlistValue value = PlistValue::dict();
    value.insert(QStringLiteral("version"), PlistValue::integer(waveform.version));
    value.insert(QStringLiteral("duration"), PlistValue::real(waveform.duration));
    for (const auto& [key, series] : seriesKeys) {
        const std::vector<float>& floats = waveform.*series;
        value.insert(QString::fromLatin1(key), PlistValue::numbers(std::vector<double>(floats.begin(), floats.end())));
    }
    if (waveform.beatGrid) {
        value.insert(QStringLiteral("beatGrid"), encodeGrid(*waveform.beatGrid));
    }
    return value;
}

std::optional<Waveform> WaveformPlist::decode(const PlistValue& value) {
    const PlistValue* version = value.find(QStringLiteral("version"));
    const PlistValue* duration = value.find(QStringLiteral("duration"));
    if (!version || !duration || !version->toInteger() || !duration->toNumber()) {
        return std::nullopt;
    }
    Waveform waveform;
    waveform.version = *version->toInteger();
    waveform.duration = *duration->toNumber();
    for (const auto& [key, series] : seriesKeys) {
        auto decoded = decodeSeries(value.find(QString::fromLatin1(key)));
        if (!decoded) {
            return std::nullopt;
        }
        waveform.*series = std::move(*decoded);
    }
    if (const PlistValue* grid = value.find(QStringLiteral("beatGrid"))) {
        waveform.beatGrid = decodeGrid(*grid);
        if (!waveform.beatGrid) {
            return std::nullopt;
        }
    }
    return waveform;
}

}  // namespace kelvara
