// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthetic_audio.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvara::testing {

namespace {

constexpr double twoPi = 2 * std::numbers::pi;

double decay(double t, double timeConstant) { return std::exp(-t / timeConstant); }

}  // namespace

SyntheticAudio::SyntheticAudio(double seconds, int sampleRate)
    : sampleRate_(sampleRate), samples_(static_cast<std::size_t>(std::llround(seconds * sampleRate)), 0.0f) {}

template <typename Shape>
void SyntheticAudio::add(double time, double length, Shape shape) {
    const auto first = static_cast<std::size_t>(std::max(0LL, std::llround(time * sampleRate_)));
    const auto count = static_cast<std::size_t>(length * sampleRate_);
    const std::size_t end = std::min(samples_.size(), first + count);
    for (std::size_t i = first; i < end; ++i) {
        samples_[i] += static_cast<float>(shape(static_cast<double>(i - first) / sampleRate_));
    }
}

double SyntheticAudio::whiteSample() { return std::uniform_real_distribution<double>(-1.0, 1.0)(random_); }

double SyntheticAudio::brightSample() {
    const double white = whiteSample();
    const double bright = 0.5 * (white - lastWhite_);
    lastWhite_ = white;
    return bright;
}

void SyntheticAudio::click(double time, double gain) {
    add(time, 0.03, [&](double t) {
        return gain * decay(t, 0.004) * (0.8 * std::sin(twoPi * 1'500 * t) + 0.2 * brightSample());
    });
}

void SyntheticAudio::kick(double time, double gain) {
    add(time, 0.3, [&](double t) {
        // Phase of a sine whose frequency falls exponentially from 150 Hz towards 50 Hz.
        const double phase = twoPi * (50 * t + 100 * 0.03 * (1 - decay(t, 0.03)));
        return gain * decay(t, 0.12) * std::sin(phase);
    });
}

void SyntheticAudio::snare(double time, double gain) {
    add(time, 0.2, [&](double t) {
        return gain * (0.6 * decay(t, 0.05) * whiteSample() + 0.4 * decay(t, 0.03) * std::sin(twoPi * 190 * t));
    });
}

void SyntheticAudio::hat(double time, double gain) {
    add(time, 0.05, [&](double t) { return gain * decay(t, 0.012) * brightSample(); });
}

void SyntheticAudio::openHat(double time, double gain) {
    add(time, 0.4, [&](double t) { return gain * decay(t, 0.12) * brightSample(); });
}

void SyntheticAudio::rim(double time, double gain) {
    add(time, 0.06, [&](double t) { return gain * decay(t, 0.01) * std::sin(twoPi * 800 * t); });
}

void SyntheticAudio::note(double time, double length, double frequency, double gain) {
    constexpr double edge = 0.02;  // attack and release, seconds
    add(time, length, [&](double t) {
        const double envelope = std::min({1.0, t / edge, std::max(0.0, (length - t) / edge)});
        return gain * envelope * std::sin(twoPi * frequency * t);
    });
}

void SyntheticAudio::tone(double frequency, double gain) {
    add(0, duration(), [&](double t) { return gain * std::sin(twoPi * frequency * t); });
}

void SyntheticAudio::noise(double dbfs) {
    // Uniform noise in ±a has an RMS of a ÷ √3.
    const double amplitude = std::pow(10.0, dbfs / 20) * std::sqrt(3.0);
    add(0, duration(), [&](double) { return amplitude * whiteSample(); });
}

void SyntheticAudio::lowPass(double from, double to, double cutoff) {
    const double a = 1 - std::exp(-twoPi * cutoff / sampleRate_);
    const auto first = static_cast<std::size_t>(std::max(0LL, std::llround(from * sampleRate_)));
    const auto end = std::min(samples_.size(), static_cast<std::size_t>(std::max(0LL, std::llround(to * sampleRate_))));
    double once = 0;
    double twice = 0;
    for (std::size_t i = first; i < end; ++i) {
        once += a * (samples_[i] - once);
        twice += a * (once - twice);
        samples_[i] = static_cast<float>(twice);
    }
}

}  // namespace kelvara::testing
