# SPDX-License-Identifier: GPL-3.0-or-later
"""Kelvara's separation worker: writes an instrumental of one audio file.

    separate.py --input FILE --output FOLDER --models FOLDER

Prints one JSON object per line on standard output: {"stage": text} while it works,
{"result": path} when the instrumental is written, {"error": text} before a non-zero exit.

The method is signal processing (no model ships): a soft time-frequency mask removes the part
of the centre channel that is centred, tonal and does not repeat, which is where a lead voice
sits in a stereo mix. The track is decoded by Kelvara's own decoder (the program named by
KELVARA_DECODER), so the instrumental's sample 0 is the player's and the waveform's sample 0.
The language of the texts comes from KELVARA_STAGE_TEXTS: a JSON object that maps each
Russian text to its translation (missing entries stay Russian)."""
import argparse
import json
import os
import subprocess
import sys
import wave

# Numerical libraries start as many threads as the job allows, and no more.
for _variable in ("OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ.setdefault(_variable, os.environ.get("OMP_NUM_THREADS", "4"))

import numpy as np  # noqa: E402
from scipy import fft, ndimage  # noqa: E402

# Tuned by measurement on generated centre-voice mixes (tests/vocal): a sung voice with vibrato
# and a speech-like one with consonants in a room, over centred drums and bass and wide chords.
# The wider band reaches speech fundamentals and fricatives; the harmonic cue keeps a floor
# because consonants are percussive; a softer mask power removes more of a reverberant voice.
FRAME = 4096
HOP = 1024
LOW_HZ = 80.0             # speech fundamentals reach down to about 90 Hz
HIGH_HZ = 11000.0         # fricatives reach up to about 10 kHz
CHUNK_FRAMES = 512          # frames separated at a time: memory stays flat on long tracks
CONTEXT = 9                 # frames of context each side for the median filters
MEDIAN = 9                  # harmonic/percussive median filter length, frames and bins
CENTRE_FULL_DEG = 20.0
CENTRE_FALLOFF_DEG = 8.0
MASK_POWER = 0.4
REPEAT_NEIGHBOURS = 12
REPEAT_MIN_GAP_S = 1.0
REPEAT_RANGE_S = 30.0
FEATURE_BANDS = 100
MONO_SIDE_DB = -35.0        # side this far below the mid, between these two, is mono
MONO_LOW_HZ = 120.0
MONO_HIGH_HZ = 8000.0
THREADS = int(os.environ.get("OMP_NUM_THREADS", "4"))
HARMONIC_FLOOR = 0.7        # share of the mask the harmonic cue cannot take away (consonants)


class Failure(Exception):
    """A failure to report to the user as an error event."""


class Texts:
    def __init__(self):
        try:
            table = json.loads(os.environ.get("KELVARA_STAGE_TEXTS", "{}"))
        except ValueError:
            table = {}
        self.table = table if isinstance(table, dict) else {}

    def __call__(self, russian, *arguments):
        text = self.table.get(russian)
        text = text if isinstance(text, str) else russian
        for index, argument in enumerate(arguments):
            text = text.replace("{%d}" % index, str(argument))
        return text


def emit(**event):
    sys.stdout.write(json.dumps(event, ensure_ascii=False) + "\n")
    sys.stdout.flush()


class Progress:
    """Stage events with a percentage, sent only when the shown number changes."""

    def __init__(self, texts):
        self.texts = texts
        self.shown = None

    def __call__(self, fraction):
        percent = int(max(0.0, min(1.0, fraction)) * 100)
        if percent != self.shown:
            self.shown = percent
            emit(stage=self.texts("Отделяю вокал… {0} %", percent))


# --- decoding --------------------------------------------------------------------------------

class DecodedAudio:
    """Raw float32 interleaved frames in a file, read a range at a time."""

    def __init__(self, path, offset, channels, rate):
        self.path = path
        self.offset = offset
        self.channels = channels
        self.rate = rate
        self.frames = (os.path.getsize(path) - offset) // (4 * channels)

    def read(self, start, count):
        """Frames [start, start + count) as (2, count) float32; outside the track is silence."""
        out = np.zeros((2, count), np.float32)
        first = max(start, 0)
        last = min(start + count, self.frames)
        if last > first:
            with open(self.path, "rb") as source:
                source.seek(self.offset + first * 4 * self.channels)
                block = np.fromfile(source, np.float32, (last - first) * self.channels)
            block = block.reshape(-1, self.channels)
            out[:, first - start:last - start] = block[:, :2].T
        return out


def decode(source, folder, texts):
    """Decodes with Kelvara's decoder into the work folder: one JSON header line
    ({"channels", "sampleRate"}), then float32 frames."""
    decoder = os.environ.get("KELVARA_DECODER", "")
    if not decoder or not os.access(decoder, os.X_OK):
        raise Failure(texts("Не найден декодер Kelvara"))
    raw = os.path.join(folder, "decoded.f32")
    with open(raw, "wb") as sink:
        finished = subprocess.run([decoder, "--decode", source], stdout=sink, stderr=subprocess.PIPE)
    if finished.returncode != 0:
        message = finished.stderr.decode("utf-8", "replace").strip()
        raise Failure(message or texts("Не удалось декодировать аудио."))
    with open(raw, "rb") as header_file:
        header_line = header_file.readline()
    header = json.loads(header_line)
    channels = int(header["channels"])
    audio = DecodedAudio(raw, len(header_line), channels, int(header["sampleRate"]))
    if channels < 2:
        raise Failure(texts("Трек записан в моно: вокал в нём нельзя отделить"))
    return audio


# --- spectra ---------------------------------------------------------------------------------

WINDOW = np.sqrt(0.5 - 0.5 * np.cos(2 * np.pi * np.arange(FRAME) / FRAME)).astype(np.float32)


def frame_start(index):
    """Frame f covers samples [f·HOP − (FRAME − HOP), …): every sample lies in FRAME/HOP frames."""
    return index * HOP - (FRAME - HOP)


def frame_count(frames):
    """Frames whose start lies before the end of the track."""
    return (frames + FRAME - 1) // HOP


def spectra(audio, first, last):
    """STFT of frames [first, last) for both channels: (2, frames, bins) complex64."""
    samples = audio.read(frame_start(first), (last - first - 1) * HOP + FRAME)
    strides = np.lib.stride_tricks.sliding_window_view(samples, FRAME, axis=1)[:, ::HOP]
    return fft.rfft(strides * WINDOW, axis=2, workers=THREADS)


class Bands:
    """Bin ranges of the mask (LOW_HZ to HIGH_HZ) and of the mono check, and the band of each
    bin in the repetition feature."""

    def __init__(self, rate):
        hz = np.arange(FRAME // 2 + 1) * rate / FRAME
        self.low = int(np.searchsorted(hz, LOW_HZ))
        self.high = int(np.searchsorted(hz, min(HIGH_HZ, rate / 2)))
        self.mono_check = slice(int(np.searchsorted(hz, MONO_LOW_HZ)),
                                int(np.searchsorted(hz, min(MONO_HIGH_HZ, rate / 2))))
        edges = np.geomspace(40.0, rate / 2, FEATURE_BANDS + 1)
        self.feature_band = np.clip(np.searchsorted(edges, hz) - 1, 0, FEATURE_BANDS - 1)


# --- cues ------------------------------------------------------------------------------------

def centre_cue(left, right):
    """1 where a bin sits in the centre, falling off with its angle away from it. The angle is
    the one between mid and side, so a phase difference counts like a level difference."""
    mid = np.abs(left + right)
    side = np.abs(left - right)
    degrees = np.degrees(np.arctan2(side, mid + 1e-12))
    beyond = np.maximum(degrees - CENTRE_FULL_DEG, 0.0)
    cue = np.exp(-0.5 * (beyond / CENTRE_FALLOFF_DEG) ** 2)
    return ndimage.uniform_filter(cue, size=3, mode="nearest")


def harmonic_cue(magnitude):
    """Harmonic share of each bin from median filters across time and across frequency."""
    harmonic = ndimage.median_filter(magnitude, size=(MEDIAN, 1), mode="nearest")
    percussive = ndimage.median_filter(magnitude, size=(1, MEDIAN), mode="nearest")
    h2 = harmonic * harmonic
    return h2 / (h2 + percussive * percussive + 1e-12)


class Repetition:
    """The non-repeating cue: the part of a bin above the median of the frames most like its
    own frame elsewhere in the track. Likeness is measured on the side channel pooled to
    log-frequency bands, where a centred voice is absent."""

    def __init__(self, total_frames, bands, rate):
        self.features = np.zeros((total_frames, FEATURE_BANDS), np.float32)
        # The mid's magnitudes in the mask's range, for the whole track: 50 MB for 10 minutes.
        self.magnitudes = np.zeros((total_frames, bands.high - bands.low), np.float16)
        all_bins = len(bands.feature_band)
        self.pool = np.zeros((all_bins, FEATURE_BANDS), np.float32)
        self.pool[np.arange(all_bins), bands.feature_band] = 1.0
        self.gap = int(REPEAT_MIN_GAP_S * rate / HOP)
        self.reach = int(REPEAT_RANGE_S * rate / HOP)

    def gather(self, first, side, mid_magnitude):
        pooled = (np.abs(side) ** 2) @ self.pool
        feature = np.log1p(pooled * 1e3)
        feature -= feature.mean(axis=1, keepdims=True)
        norm = np.linalg.norm(feature, axis=1, keepdims=True)
        self.features[first:first + len(feature)] = feature / np.maximum(norm, 1e-9)
        self.magnitudes[first:first + len(feature)] = mid_magnitude

    def cue(self, first, last, magnitude):
        total = len(self.features)
        lo = max(0, first - self.reach)
        hi = min(total, last + self.reach)
        similarity = self.features[first:last] @ self.features[lo:hi].T
        frames = np.arange(first, last)[:, None]
        candidates = np.arange(lo, hi)[None, :]
        distance = np.abs(candidates - frames)
        similarity[(distance < self.gap) | (distance > self.reach)] = -np.inf
        count = min(REPEAT_NEIGHBOURS, similarity.shape[1])
        nearest = np.argpartition(-similarity, count - 1, axis=1)[:, :count]
        valid = np.take_along_axis(similarity, nearest, axis=1) > -np.inf
        neighbours = self.magnitudes[lo + nearest].astype(np.float32)
        if valid.all():
            typical = np.median(neighbours, axis=1)
        else:
            # A short track: a frame uses the others it has; with none, nothing repeats.
            neighbours[~valid] = np.nan
            with np.errstate(all="ignore"):
                typical = np.nan_to_num(np.nanmedian(neighbours, axis=1), nan=0.0)
        typical = np.minimum(typical, magnitude)
        return (magnitude - typical) / (magnitude + 1e-9)


# --- the two passes --------------------------------------------------------------------------

def chunks(total):
    for first in range(0, total, CHUNK_FRAMES):
        yield first, min(total, first + CHUNK_FRAMES)


def gather(audio, bands, progress):
    """First pass: the repetition feature of the whole track, and the side-to-mid energy."""
    total = frame_count(audio.frames)
    repetition = Repetition(total, bands, audio.rate)
    side_energy = mid_energy = 0.0
    for first, last in chunks(total):
        left, right = spectra(audio, first, last)
        mid = 0.5 * (left + right)
        side = 0.5 * (left - right)
        repetition.gather(first, side, np.abs(mid[:, bands.low:bands.high]))
        side_energy += float(np.sum(np.abs(side[:, bands.mono_check]) ** 2))
        mid_energy += float(np.sum(np.abs(mid[:, bands.mono_check]) ** 2))
        progress(0.3 * last / total)
    return repetition, side_energy, mid_energy


def vocal_mask(left, right, repetition, bands, first, last):
    """The soft mask of the voice in the centre, for frames [first, last) with context."""
    low, high = bands.low, bands.high
    l, r = left[:, low:high], right[:, low:high]
    magnitude = np.abs(0.5 * (l + r))
    centre = centre_cue(l, r)
    harmonic = harmonic_cue(magnitude)
    harmonic = HARMONIC_FLOOR + (1 - HARMONIC_FLOOR) * harmonic
    non_repeating = repetition.cue(first, last, magnitude)
    mask = np.zeros(left.shape, np.float32)
    mask[:, low:high] = (centre * harmonic * non_repeating) ** MASK_POWER
    return mask


def separate(audio, repetition, bands, sink, progress):
    """Second pass: subtract the masked mid from both channels, chunk by chunk, overlap-adding
    the frames into `sink`."""
    total = frame_count(audio.frames)
    pending = np.zeros((2, 0), np.float32)
    pending_start = frame_start(0)
    for first, last in chunks(total):
        lo = max(0, first - CONTEXT)
        hi = min(total, last + CONTEXT)
        left, right = spectra(audio, lo, hi)
        mask = vocal_mask(left, right, repetition, bands, lo, hi)[first - lo:last - lo]
        left, right = left[first - lo:last - lo], right[first - lo:last - lo]
        removed = mask * 0.5 * (left + right)
        frames = fft.irfft(np.stack([left - removed, right - removed]), n=FRAME, axis=2, workers=THREADS) * WINDOW * 0.5
        end = frame_start(last - 1) + FRAME
        grown = np.zeros((2, end - pending_start), np.float32)
        grown[:, :pending.shape[1]] = pending
        for index in range(last - first):
            at = frame_start(first + index) - pending_start
            grown[:, at:at + FRAME] += frames[:, index]
        done = frame_start(last) - pending_start if last < total else grown.shape[1]
        sink(pending_start, grown[:, :done])
        pending = grown[:, done:]
        pending_start += done
        progress(0.3 + 0.65 * last / total)


class FloatSink:
    """Keeps the track's frames [0, frames) in a float32 file and their peak."""

    def __init__(self, path, frames):
        self.file = open(path, "wb")
        self.frames = frames
        self.peak = 0.0
        self.path = path

    def __call__(self, start, block):
        first = max(start, 0)
        last = min(start + block.shape[1], self.frames)
        if last <= first:
            return
        part = block[:, first - start:last - start]
        self.peak = max(self.peak, float(np.max(np.abs(part))))
        self.file.write(np.ascontiguousarray(part.T).astype(np.float32).tobytes())

    def close(self):
        self.file.close()


def write_wav(floats, frames, rate, target, progress):
    """16-bit PCM with triangular dither, scaled down as a whole if it would clip."""
    gain = min(1.0, (32767.0 - 2.0) / 32768.0 / max(floats.peak, 1e-9))
    rng = np.random.default_rng(0)
    step = 1 << 18
    with open(floats.path, "rb") as source, wave.open(target, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(rate)
        for start in range(0, frames, step):
            block = np.fromfile(source, np.float32, min(step, frames - start) * 2)
            dither = rng.random(block.shape) - rng.random(block.shape)
            pcm = np.clip(np.round(block * gain * 32768.0 + dither), -32768, 32767).astype("<i2")
            out.writeframes(pcm.tobytes())
    progress(1.0)


def run(arguments, texts):
    os.makedirs(arguments.output, exist_ok=True)
    emit(stage=texts("Читаю трек…"))
    audio = decode(arguments.input, arguments.output, texts)
    if audio.frames < 1:
        raise Failure(texts("Не удалось декодировать аудио."))
    progress = Progress(texts)
    bands = Bands(audio.rate)
    repetition, side_energy, mid_energy = gather(audio, bands, progress)
    if side_energy <= mid_energy * 10 ** (MONO_SIDE_DB / 10):
        raise Failure(texts("Трек записан в моно: вокал в нём нельзя отделить"))
    floats = FloatSink(os.path.join(arguments.output, "instrumental.f32"), audio.frames)
    separate(audio, repetition, bands, floats, progress)
    floats.close()
    os.remove(audio.path)
    target = os.path.join(arguments.output, "instrumental.wav")
    write_wav(floats, audio.frames, audio.rate, target, progress)
    os.remove(floats.path)
    emit(result=target)


def main():
    parser = argparse.ArgumentParser(description="Writes an instrumental of an audio file.")
    parser.add_argument("--input", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--models", default="")
    arguments = parser.parse_args()
    texts = Texts()
    try:
        run(arguments, texts)
    except Failure as failure:
        emit(error=str(failure))
        return 2
    except (OSError, ValueError, KeyError, MemoryError) as failure:
        emit(error=texts("Ошибка обработки: {0}", failure))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
