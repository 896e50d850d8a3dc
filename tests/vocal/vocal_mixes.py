# SPDX-License-Identifier: GPL-3.0-or-later
"""Synthetic test mixes for the separation worker: a centre-panned voice over a stereo-wide
accompaniment, with the parts kept apart so that a test can score the instrumental.

Two voices: a sung one (vowels on held notes with vibrato) and a speech-like one (short
syllables with fricative and plosive consonants, in a room). The accompaniment has a centred
kick, snare and bass, wide hi-hats and wide chords."""
import numpy as np

RATE = 44100


def _envelope(length, attack, release):
    env = np.ones(length)
    a = min(length, int(attack * RATE))
    r = min(length - a, int(release * RATE))
    env[:a] = np.linspace(0, 1, a, endpoint=False)
    if r > 0:
        env[length - r:] = np.linspace(1, 0, r)
    return env


def _formant_filter(source, formants, rng_state=None):
    """Shapes a glottal source with resonators at the given (frequency, bandwidth) pairs."""
    from scipy.signal import lfilter
    out = np.zeros_like(source)
    for freq, bandwidth in formants:
        r = np.exp(-np.pi * bandwidth / RATE)
        theta = 2 * np.pi * freq / RATE
        out += lfilter([1 - r], [1, -2 * r * np.cos(theta), r * r], source)
    return out


VOWELS = [
    [(730, 90), (1090, 110), (2440, 160)],  # a
    [(270, 60), (2290, 100), (3010, 150)],  # i
    [(300, 60), (870, 90), (2240, 150)],    # u
    [(530, 70), (1840, 100), (2480, 160)],  # e
    [(570, 80), (840, 90), (2410, 160)],    # o
]


def _glottal(f0_track):
    """A band-limited pulse train following an f0 track (Hz per sample), a sawtooth with a
    falling spectrum like a voice source."""
    phase = np.cumsum(f0_track) / RATE
    out = np.zeros_like(f0_track)
    nyquist = RATE / 2
    for k in range(1, 40):
        partial = np.sin(2 * np.pi * k * phase) / k ** 1.2
        out += np.where(k * f0_track < nyquist * 0.9, partial, 0)
    return out


def sung_voice(seconds, rng):
    length = int(seconds * RATE)
    out = np.zeros(length)
    t = 0
    scale = [0, 2, 4, 5, 7, 9, 11, 12]
    while t < length:
        note = int(rng.uniform(0.35, 1.1) * RATE)
        note = min(note, length - t)
        base = 196.0 * 2 ** (scale[rng.integers(len(scale))] / 12)
        n = np.arange(note) / RATE
        vibrato = 2 ** (0.5 * np.sin(2 * np.pi * 5.5 * n) * np.clip(n / 0.3, 0, 1) / 12)
        f0 = base * vibrato
        voiced = _formant_filter(_glottal(f0), VOWELS[rng.integers(len(VOWELS))])
        out[t:t + note] = voiced * _envelope(note, 0.04, 0.08)
        t += note + int(rng.uniform(0.0, 0.15) * RATE)
    return out


def _room(signal, rng):
    """A small room: an exponentially decaying noise tail, identical in both channels."""
    from scipy.signal import fftconvolve
    tail = int(0.35 * RATE)
    impulse = rng.standard_normal(tail) * np.exp(-np.arange(tail) / (0.08 * RATE)) * 0.08
    impulse[0] = 1.0
    return fftconvolve(signal, impulse)[:len(signal)]


def _consonant(rng, kind):
    from scipy.signal import butter, lfilter
    if kind == "fricative":
        length = int(rng.uniform(0.06, 0.14) * RATE)
        b, a = butter(4, [3000 / (RATE / 2), 9000 / (RATE / 2)], "band")
        return lfilter(b, a, rng.standard_normal(length)) * _envelope(length, 0.02, 0.03) * 0.6
    length = int(0.025 * RATE)
    b, a = butter(2, [800 / (RATE / 2), 5000 / (RATE / 2)], "band")
    return lfilter(b, a, rng.standard_normal(length)) * np.exp(-np.arange(length) / (0.006 * RATE))


def speech_voice(seconds, rng):
    length = int(seconds * RATE)
    dry = np.zeros(length)
    t = 0
    while t < length:
        syllable = []
        if rng.random() < 0.8:
            syllable.append(_consonant(rng, "fricative" if rng.random() < 0.5 else "plosive"))
        vowel = int(rng.uniform(0.09, 0.22) * RATE)
        start = rng.uniform(110, 160)
        f0 = np.linspace(start, start * rng.uniform(0.8, 1.1), vowel)
        syllable.append(_formant_filter(_glottal(f0), VOWELS[rng.integers(len(VOWELS))])
                        * _envelope(vowel, 0.015, 0.04))
        piece = np.concatenate(syllable)[:length - t]
        dry[t:t + len(piece)] = piece
        t += len(piece) + int(rng.uniform(0.02, 0.12) * RATE)
        if rng.random() < 0.12:
            t += int(rng.uniform(0.2, 0.5) * RATE)
    return _room(dry, rng)


def accompaniment(seconds, rng, tempo=120.0):
    """Stereo (2, n): centred kick, snare and bass; hi-hats and chords spread wide."""
    from scipy.signal import butter, lfilter
    length = int(seconds * RATE)
    beat = 60.0 / tempo
    centre = np.zeros(length)
    left = np.zeros(length)
    right = np.zeros(length)

    def place(target, sound, at):
        i = int(at * RATE)
        if i < length:
            n = min(len(sound), length - i)
            target[i:i + n] += sound[:n]

    kick_n = int(0.25 * RATE)
    k = np.arange(kick_n) / RATE
    kick = np.sin(2 * np.pi * (50 * k + 60 * (1 - np.exp(-k * 30)) / 30)) * np.exp(-k * 12)
    snare_n = int(0.2 * RATE)
    s = np.arange(snare_n) / RATE
    b, a = butter(2, [150 / (RATE / 2), 7000 / (RATE / 2)], "band")
    snare = (lfilter(b, a, rng.standard_normal(snare_n)) * 0.8 + np.sin(2 * np.pi * 190 * s) * 0.5) \
        * np.exp(-s * 22)
    hat_n = int(0.05 * RATE)
    b, a = butter(2, 7000 / (RATE / 2), "high")
    beats = int(seconds / beat) + 1
    for i in range(beats):
        at = i * beat
        if i % 2 == 0:
            place(centre, kick, at)
        else:
            place(centre, snare, at)
        for half in (0, 0.5):
            hat = lfilter(b, a, rng.standard_normal(hat_n)) * np.exp(-np.arange(hat_n) / (0.01 * RATE)) * 0.3
            place(left if (i + (half > 0)) % 2 == 0 else right, hat, at + half * beat)
    # Bass: one note per beat, centred, following the chord roots.
    roots = [55.0, 55.0 * 2 ** (5 / 12), 55.0 * 2 ** (7 / 12), 55.0 * 2 ** (3 / 12)]
    bar = 4 * beat
    for i in range(beats):
        root = roots[(i // 4) % len(roots)]
        n = int(beat * 0.9 * RATE)
        x = np.arange(n) / RATE
        note = (np.sin(2 * np.pi * root * x) + 0.3 * np.sin(2 * np.pi * 2 * root * x)) * _envelope(n, 0.01, 0.05)
        place(centre, note * 0.6, i * beat)
    # Chords: a detuned pad per bar, voiced differently and delayed between the channels.
    bars = int(seconds / bar) + 1
    for i in range(bars):
        root = roots[i % len(roots)] * 4
        n = int(bar * RATE)
        x = np.arange(n) / RATE
        env = _envelope(n, 0.05, 0.2)
        for ratio, side in ((1.0, 0), (2 ** (4 / 12), 1), (2 ** (7 / 12), 0), (2 ** (11 / 12), 1), (2.0, 0)):
            for channel, detune in ((left, 0.997), (right, 1.003)):
                pan = 1.0 if (channel is left) == (side == 0) else 0.35
                tone = sum(np.sin(2 * np.pi * root * ratio * detune * h * x + rng.uniform(0, 6.28)) / h
                           for h in (1, 2, 3))
                place(channel, tone * env * 0.12 * pan, i * bar)
    return np.stack([centre + left, centre + right])


def mix(kind, seconds=20.0, seed=1, voice_to_music_db=0.0):
    """(mix, accompaniment, voice), each (2, n) float64; the mix peaks at 0.8."""
    rng = np.random.default_rng(seed)
    music = accompaniment(seconds, rng)
    voice = sung_voice(seconds, rng) if kind == "sung" else speech_voice(seconds, rng)
    gain = np.sqrt(np.mean(music ** 2)) / max(np.sqrt(np.mean(voice ** 2)), 1e-12) * 10 ** (voice_to_music_db / 20)
    voice = np.stack([voice, voice]) * gain
    total = music + voice
    scale = 0.8 / np.max(np.abs(total))
    return total * scale, music * scale, voice * scale


def write_wav(path, stereo):
    """16-bit PCM WAV of a (channels, n) array in −1…1."""
    import wave
    pcm = np.clip(np.round(stereo.T * 32767), -32768, 32767).astype("<i2")
    with wave.open(str(path), "wb") as out:
        out.setnchannels(stereo.shape[0])
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(pcm.tobytes())


def read_wav(path):
    import wave
    with wave.open(str(path), "rb") as source:
        raw = source.readframes(source.getnframes())
        channels = source.getnchannels()
    return np.frombuffer(raw, "<i2").reshape(-1, channels).T.astype(np.float64) / 32768


def sdr(reference, estimate):
    error = np.sum((reference - estimate) ** 2)
    return 10 * np.log10(np.sum(reference ** 2) / max(error, 1e-20))


def residual_voice(reference, estimate, voice):
    """What is left of the voice, at most: everything the instrumental has beyond the true
    accompaniment, relative to the voice, in dB."""
    return 10 * np.log10(max(np.sum((estimate - reference) ** 2), 1e-20) / np.sum(voice ** 2))
