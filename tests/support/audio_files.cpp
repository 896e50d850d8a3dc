// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_files.h"

#include <QDataStream>
#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace kelvara::testing {

namespace {

QString number(double value) { return QString::number(value, 'g', 12); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

}  // namespace

AudioFiles::AudioFiles() {
    if (!dir_.isValid()) {
        throw std::runtime_error("no temporary folder for audio files");
    }
}

void AudioFiles::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw std::runtime_error((program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") +
                                  QString::fromLocal8Bit(process.readAll()) + process.errorString())
                                     .toStdString());
    }
}

QString AudioFiles::synthesize(const QString& name, const QStringList& formatOptions, const QStringList& effects) {
    const QString target = path(name);
    run(QStringLiteral("sox"), QStringList{QStringLiteral("-R"), QStringLiteral("-D"), QStringLiteral("-n")} + formatOptions +
                                   QStringList{target} + effects);
    return target;
}

QString AudioFiles::tone(const QString& name, double seconds, int rate, int channels, double hertz) {
    return synthesize(name,
                      {QStringLiteral("-r"), QString::number(rate), QStringLiteral("-c"), QString::number(channels),
                       QStringLiteral("-b"), QStringLiteral("16")},
                      {QStringLiteral("synth"), number(seconds), QStringLiteral("sine"), number(hertz),
                       QStringLiteral("vol"), QStringLiteral("0.5")});
}

QString AudioFiles::stereoSong(const QString& name, double seconds) {
    return synthesize(name,
                      {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"), QStringLiteral("2"),
                       QStringLiteral("-b"), QStringLiteral("16")},
                      {QStringLiteral("synth"), number(seconds), QStringLiteral("sine"), QStringLiteral("220"),
                       QStringLiteral("pinknoise"), QStringLiteral("vol"), QStringLiteral("0.5")});
}

QString AudioFiles::clickTrack(const QString& name, double bpm, int clicks, double firstClick, int rate) {
    constexpr double clickSeconds = 0.01;
    return synthesize(name,
                      {QStringLiteral("-r"), QString::number(rate), QStringLiteral("-c"), QStringLiteral("1"),
                       QStringLiteral("-b"), QStringLiteral("16")},
                      {QStringLiteral("synth"), number(clickSeconds), QStringLiteral("whitenoise"),
                       QStringLiteral("vol"), QStringLiteral("0.7"), QStringLiteral("pad"), QStringLiteral("0"),
                       number(60.0 / bpm - clickSeconds), QStringLiteral("repeat"), QString::number(clicks - 1),
                       QStringLiteral("pad"), number(firstClick)});
}

QString AudioFiles::encode(const QString& source, const QString& name, const QStringList& options) {
    const QString target = path(name);
    run(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"),
                                              QStringLiteral("-loglevel"), QStringLiteral("error"),
                                              QStringLiteral("-y"), QStringLiteral("-i"), source} +
                                      options + QStringList{target});
    return target;
}

QString AudioFiles::truncatedCopy(const QString& source, const QString& name, double keptFraction) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + source.toStdString());
    }
    const QByteArray bytes = file.readAll();
    const QString target = path(name);
    writeFile(target, bytes.left(static_cast<qsizetype>(static_cast<double>(bytes.size()) * keptFraction)));
    return target;
}

QString AudioFiles::floatWav(const QString& name, int rate, int channels, const std::vector<float>& samples) {
    constexpr quint16 ieeeFloat = 3;
    const auto dataBytes = static_cast<quint32>(samples.size() * sizeof(float));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << ieeeFloat << quint16(channels) << quint32(rate)
        << quint32(rate * channels * 4) << quint16(channels * 4) << quint16(32);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (const float sample : samples) {
        out << sample;
    }
    const QString target = path(name);
    writeFile(target, bytes);
    return target;
}

}  // namespace kelvara::testing
