// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace kelvara::testing {

// Real audio files for tests, made with sox and ffmpeg in a temporary folder that lives as
// long as the object. Every maker returns the new file's path and throws std::runtime_error
// (with the tool's own output) when the tool fails.
class AudioFiles {
public:
    AudioFiles();

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // `sox -R -D -n <format options> <name> <effects>`: a synthesised signal, the same on
    // every run and undithered, so equal channels stay equal. The type follows the extension.
    QString synthesize(const QString& name, const QStringList& formatOptions, const QStringList& effects);

    // A sine of `hertz` at half scale, 16-bit.
    QString tone(const QString& name, double seconds, int rate = 44'100, int channels = 1, double hertz = 440);

    // A stereo 16-bit "song" at 44.1 kHz for the vocal separation: a 220 Hz sine under pink noise.
    QString stereoSong(const QString& name, double seconds);

    // Clicks of 10 ms white noise, one every 60 ÷ bpm seconds from `firstClick` on, 16-bit mono.
    QString clickTrack(const QString& name, double bpm, int clicks, double firstClick, int rate = 44'100);

    // `ffmpeg -i <source> <options> <name>`: the source re-encoded (or re-muxed).
    QString encode(const QString& source, const QString& name, const QStringList& options = {});

    // The first `keptFraction` of the bytes of `source`, as a file damaged in transfer is.
    QString truncatedCopy(const QString& source, const QString& name, double keptFraction);

    // A 32-bit float WAV holding exactly these (interleaved) samples, whatever their values.
    QString floatWav(const QString& name, int rate, int channels, const std::vector<float>& samples);

    // Runs a program to its end; throws when it cannot start or fails.
    static void run(const QString& program, const QStringList& arguments);

private:
    QTemporaryDir dir_;
};

}  // namespace kelvara::testing
