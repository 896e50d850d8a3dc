# SPDX-License-Identifier: GPL-3.0-or-later
"""The separation worker on mixes made here: a centred sung or speech-like voice over a wide
accompaniment. Runs the worker as the program does (its command line, Kelvara's decoder) and
scores the instrumental against the true accompaniment.

    separate_test.py BUILD_DIR"""
import json
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import vocal_mixes  # noqa: E402

BUILD = sys.argv[1] if len(sys.argv) > 1 else os.environ.get("KELVARA_BUILD_DIR", "")
VOCALS = os.path.join(BUILD, "share", "kelvara", "vocals")
DECODER = os.path.join(BUILD, "tools", "kelvara-analyze", "kelvara-analyze")
sys.path.insert(0, VOCALS)
import separate  # noqa: E402

os.environ["KELVARA_DECODER"] = DECODER

SECONDS = 20.0


def run_worker(source, folder):
    """The worker's events and exit status, run with the job's command line."""
    environment = dict(os.environ, OMP_NUM_THREADS="4", PYTHONUNBUFFERED="1")
    finished = subprocess.run([sys.executable, "-u", os.path.join(VOCALS, "separate.py"), "--input", source,
                               "--output", folder, "--models", "models"],
                              stdout=subprocess.PIPE, env=environment, check=False)
    events = [json.loads(line) for line in finished.stdout.decode("utf-8").splitlines()]
    return events, finished.returncode


def residual_voice(audio_path, voice):
    """The voice the worker's masks leave: the masks it computes on the mix, applied to the
    voice alone (the subtraction is linear once the mask is fixed), in dB of the voice."""
    masks = []
    compute = separate.vocal_mask

    def recording(*arguments):
        mask = compute(*arguments)
        masks.append(mask)
        return mask

    with tempfile.TemporaryDirectory() as folder:
        mix = separate.decode(audio_path, folder, separate.Texts())
        bands = separate.Bands(mix.rate)
        repetition, _, _ = separate.gather(mix, bands, lambda fraction: None)
        separate.vocal_mask = recording
        separate.separate(mix, repetition, bands, lambda start, block: None, lambda fraction: None)
        replay = iter(masks)
        separate.vocal_mask = lambda *arguments: next(replay)
        voice_raw = os.path.join(folder, "voice.f32")
        with open(voice_raw, "wb") as sink:
            sink.write(b'{"channels":2,"sampleRate":44100}\n')
            sink.write(voice.T.astype(np.float32).tobytes())
        voice_audio = separate.DecodedAudio(voice_raw, len(b'{"channels":2,"sampleRate":44100}\n'), 2, 44100)
        left = []

        def keep(start, block):
            left.append((start, block.copy()))

        separate.separate(voice_audio, repetition, bands, keep, lambda fraction: None)
        separate.vocal_mask = compute
    remaining = np.zeros_like(voice)
    for start, block in left:
        first, last = max(start, 0), min(start + block.shape[1], voice.shape[1])
        if last > first:
            remaining[:, first:last] = block[:, first - start:last - start]
    return 10 * np.log10(np.sum(remaining ** 2) / np.sum(voice ** 2))


class SeparationWorkerTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def separate_mix(self, kind):
        mixed, music, voice = vocal_mixes.mix(kind, SECONDS)
        source = os.path.join(self.folder.name, kind + ".wav")
        vocal_mixes.write_wav(source, mixed)
        output = os.path.join(self.folder.name, kind)
        events, status = run_worker(source, output)
        self.assertEqual(status, 0, events)
        results = [event["result"] for event in events if "result" in event]
        self.assertEqual(results, [os.path.join(output, "instrumental.wav")])
        self.assertTrue(any("%" in event.get("stage", "") for event in events))
        # The mix as written (16-bit) is the source the worker saw.
        return vocal_mixes.read_wav(source), music, voice, vocal_mixes.read_wav(results[0]), source

    def check_kind(self, kind, least_sdr):
        mixed, music, voice, instrumental, source = self.separate_mix(kind)
        self.assertEqual(instrumental.shape, mixed.shape)
        score = vocal_mixes.sdr(music, instrumental)
        left = residual_voice(source, voice)
        print("%s: SDR %.2f dB (the mix itself %.2f dB), residual voice %.2f dB"
              % (kind, score, vocal_mixes.sdr(music, mixed), left))
        self.assertGreaterEqual(score, least_sdr)
        self.assertLessEqual(left, -15.0)
        return mixed, instrumental

    def test_sung_voice(self):
        mixed, instrumental = self.check_kind("sung", 12.0)
        # Sample-aligned with the source: the cross-correlation peaks at lag 0.
        reach = 200
        centre = slice(reach, mixed.shape[1] - reach)
        lags = range(-reach, reach + 1)
        correlation = [float(np.sum(mixed[:, centre] * np.roll(instrumental, lag, axis=1)[:, centre])) for lag in lags]
        self.assertEqual(list(lags)[int(np.argmax(correlation))], 0)

    def test_speech_like_voice(self):
        self.check_kind("speech", 9.0)

    def test_a_mono_source_is_refused(self):
        mixed, _, _ = vocal_mixes.mix("sung", 4.0)
        for name, audio in (("mono", mixed[:1]), ("nearly-mono", np.stack([mixed[0], mixed[0] * 0.9999]))):
            source = os.path.join(self.folder.name, name + ".wav")
            vocal_mixes.write_wav(source, audio)
            events, status = run_worker(source, os.path.join(self.folder.name, name))
            self.assertEqual(status, 2, name)
            self.assertEqual(events[-1], {"error": "Трек записан в моно: вокал в нём нельзя отделить"}, name)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
