# SPDX-License-Identifier: GPL-3.0-or-later
"""Installs Kelvara's vocal module into the Python runtime that runs this script.

    python3 install.py --events --root ROOT

Morvik unpacks a self-contained Python into ROOT/python-<uuid>/python and starts this script
with it. The script
  2. checks that what the check of step 4 needs is there (separate.py, Kelvara's decoder);
  3. installs the pinned numerical packages (install-requirements.txt beside this script) into
     it with pip;
  4. checks the module by separating a few seconds of stereo audio it makes itself with
     separate.py (beside this script), then writes ROOT/runtime.json (python = this interpreter,
     models = ROOT/models) in one step, temporary file and rename.
Whatever happens, it then removes the staging folders ROOT/python-* of earlier runs except
the one runtime.json points to and the one it pointed to when this run began, so a failed or
cancelled run leaves the working module and its runtime.json as they were, and an instrumental
Kelvara is rendering with the replaced module at this moment can still finish.

With --events it prints its progress as JSON lines ({"stage": 2..4, "title": …, "detail": …},
{"error": …} before a non-zero exit); the texts are Russian keys the installer translates.
Everything else it and pip print is for the installation log.

KELVARA_PIP_FIND_LINKS=FOLDER makes pip install from the packages in FOLDER instead of the
package index (offline installations and tests). The check needs KELVARA_DECODER (Kelvara's
decoder, which separate.py calls); Morvik passes it."""
import argparse
import json
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import traceback
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
REQUIREMENTS = os.path.join(HERE, "install-requirements.txt")
SEPARATOR = os.path.join(HERE, "separate.py")
CHECK_SECONDS = 3
CHECK_RATE = 44100
# The separated check file may differ from its source by less than this, as Kelvara requires.
CHECK_TOLERANCE_S = 0.1


class Failure(Exception):
    """A failure the installer shows: its text is a Russian key."""


class Events:
    def __init__(self, enabled):
        self.enabled = enabled

    def __call__(self, **event):
        if self.enabled:
            sys.stdout.write(json.dumps(event, ensure_ascii=False) + "\n")
            sys.stdout.flush()


def staging_folder(root):
    """The python-* folder under ROOT that holds this interpreter, or None."""
    folder = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(sys.executable))))
    is_staging = os.path.basename(folder).startswith("python-")
    return folder if is_staging and os.path.dirname(folder) == os.path.abspath(root) else None


def check_prerequisites(events):
    """What the check at the end needs, before the long download: the worker and the decoder."""
    events(stage=2, title="Подготовка Python…")
    decoder = os.environ.get("KELVARA_DECODER", "")
    if not os.path.isfile(SEPARATOR) or not decoder or not os.access(decoder, os.X_OK):
        raise Failure("Не найден декодер Kelvara")


def pip_arguments():
    arguments = [sys.executable, "-m", "pip", "install", "--disable-pip-version-check", "--no-input",
                 "--no-warn-script-location", "--only-binary=:all:", "-r", REQUIREMENTS]
    local = os.environ.get("KELVARA_PIP_FIND_LINKS", "")
    if local:
        arguments += ["--no-index", "--find-links", local]
    return arguments


def install_packages(events):
    events(stage=3, title="Загрузка компонентов…")
    if subprocess.run(pip_arguments()).returncode != 0:
        raise Failure("Не удалось установить компоненты.")


def write_check_audio(path):
    """Stereo: a centred tone (the "voice") over a tone on each side, at half scale."""
    frames = bytearray()
    for index in range(CHECK_SECONDS * CHECK_RATE):
        time = index / CHECK_RATE
        centre = 0.25 * math.sin(2 * math.pi * 440 * time)
        left = centre + 0.2 * math.sin(2 * math.pi * 220 * time)
        right = centre + 0.2 * math.sin(2 * math.pi * 330 * time)
        frames += struct.pack("<hh", int(left * 32767), int(right * 32767))
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(CHECK_RATE)
        out.writeframes(bytes(frames))


def separated(source, folder, models):
    """The path separate.py names as its result, or None; its other output goes to the log."""
    environment = dict(os.environ, PYTHONNOUSERSITE="1", PYTHONUNBUFFERED="1")
    run = subprocess.run([sys.executable, "-u", SEPARATOR, "--input", source, "--output", folder,
                          "--models", models], stdout=subprocess.PIPE, env=environment)
    result = None
    for line in run.stdout.decode("utf-8", "replace").splitlines():
        print("separate.py:", line)  # for the log; its events are not ours
        try:
            event = json.loads(line)
        except ValueError:
            continue
        if isinstance(event, dict) and isinstance(event.get("result"), str):
            result = event["result"]
    return result if run.returncode == 0 else None


def seconds_of(path):
    with wave.open(path, "rb") as audio:
        return audio.getnframes() / audio.getframerate() if audio.getnchannels() == 2 else 0


def check_module(events, root, models):
    events(stage=4, title="Проверка модуля…")
    work = tempfile.mkdtemp(prefix=".check-", dir=root)
    try:
        source = os.path.join(work, "check.wav")
        write_check_audio(source)
        result = separated(source, os.path.join(work, "out"), models)
        if result is None or abs(seconds_of(result) - CHECK_SECONDS) >= CHECK_TOLERANCE_S:
            raise Failure("Проверка модуля не пройдена.")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def write_runtime(root, models):
    """runtime.json in one step: Kelvara never reads half of it, and a failure keeps the old."""
    descriptor = {"models": models, "python": sys.executable}
    handle, temporary = tempfile.mkstemp(prefix=".runtime-", suffix=".json", dir=root)
    try:
        with os.fdopen(handle, "w", encoding="utf-8") as out:
            json.dump(descriptor, out, ensure_ascii=False, indent=4)
            out.write("\n")
            out.flush()
            os.fsync(out.fileno())
        os.replace(temporary, os.path.join(root, "runtime.json"))
    except OSError:
        os.unlink(temporary)
        raise


def live_interpreter(root):
    """The python path of ROOT/runtime.json, or None when there is none to read."""
    try:
        with open(os.path.join(root, "runtime.json"), encoding="utf-8") as descriptor:
            python = json.load(descriptor).get("python")
    except (OSError, ValueError, AttributeError):
        return None
    return os.path.normpath(os.path.abspath(python)) if isinstance(python, str) else None


def remove_earlier_stagings(root, kept):
    """Every python-* folder but those in `kept` and the one runtime.json points to."""
    interpreters = [path for path in (live_interpreter(root), *kept) if path is not None]
    try:
        names = os.listdir(root)
    except OSError:
        return
    for name in names:
        folder = os.path.join(root, name)
        if not name.startswith("python-") or not os.path.isdir(folder):
            continue
        if any(os.path.commonpath([path, folder]) == folder for path in interpreters):
            continue
        shutil.rmtree(folder, ignore_errors=True)


def install(events, root):
    models = os.path.join(root, "models")
    check_prerequisites(events)
    install_packages(events)
    os.makedirs(models, exist_ok=True)
    check_module(events, root, models)
    write_runtime(root, models)


def main():
    parser = argparse.ArgumentParser(description="Installs Kelvara's vocal module.")
    parser.add_argument("--events", action="store_true", help="print progress as JSON lines")
    parser.add_argument("--root", required=True, help="the vocal root folder")
    arguments = parser.parse_args()
    events = Events(arguments.events)
    root = os.path.abspath(arguments.root)
    replaced = live_interpreter(root)
    try:
        install(events, root)
        return 0
    except Failure as failure:
        events(error=str(failure))
        return 1
    except Exception:  # noqa: BLE001 - whatever it was, the user is told and the log has it
        traceback.print_exc()
        events(error="Не удалось завершить установку")
        return 1
    finally:
        remove_earlier_stagings(root, [staging_folder(root), replaced])


if __name__ == "__main__":
    sys.exit(main())
