// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace kelvara::testing {

// A mono test signal made of simple instruments placed at exact times. Deterministic: the
// same calls give the same samples.
class SyntheticAudio {
public:
    explicit SyntheticAudio(double seconds, int sampleRate = 22'050);

    int sampleRate() const { return sampleRate_; }
    double duration() const { return static_cast<double>(samples_.size()) / sampleRate_; }
    const std::vector<float>& samples() const { return samples_; }

    // Percussion, starting at `time` seconds, `gain` the linear peak level.
    void click(double time, double gain = 0.8);   // metronome: 1.5 kHz burst with a noisy edge
    void kick(double time, double gain = 0.9);    // sine swept down from 150 to 50 Hz
    void snare(double time, double gain = 0.5);   // noise with a 190 Hz body
    void hat(double time, double gain = 0.2);     // short bright noise
    void openHat(double time, double gain = 0.25);  // long bright noise
    void rim(double time, double gain = 0.4);     // short 800 Hz knock (clave, rim, cowbell)

    // A sine note with a soft attack and release (bass lines, chords, sustained pads).
    void note(double time, double length, double frequency, double gain);
    // A steady sine over the whole signal.
    void tone(double frequency, double gain);
    // White noise over the whole signal at this RMS level in dB full scale.
    void noise(double dbfs);
    // Muffles the seconds from..to with two one-pole low-passes at `cutoff` Hz (12 dB per octave).
    void lowPass(double from, double to, double cutoff);

private:
    // Adds `length` seconds of shape(t) from `time` on, t the seconds since `time`.
    template <typename Shape>
    void add(double time, double length, Shape shape);
    double whiteSample();
    double brightSample();  // white noise, differentiated: most of its energy above 2.5 kHz

    int sampleRate_;
    std::vector<float> samples_;
    std::minstd_rand random_{20'240'611};
    double lastWhite_ = 0;
};

}  // namespace kelvara::testing
