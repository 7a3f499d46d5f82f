#!/usr/bin/env python3
"""The editor end to end: plays the demo loop on the Null Output under Xvfb with real keys.

usage: editor_smoke_test.py QUILLET QUILLET_CLI MAKE_DEMO_LOOP

Makes the demo loop file, starts `quillet demo.lx2` on a virtual display with the Null Output
recording what it plays, presses Space (play), waits, presses Space (stop) and Ctrl+Q, and
expects the editor to exit with 0. What it recorded after its leading silence must be, sample
for sample, the start of what `quillet-cli render` writes for the loop at its preview tempo, up
to the stop, after which the voices fade out within a tenth of a second.
Run by xvfb-run; xdotool types the keys.
"""

import json
import math
import os
import struct
import subprocess
import sys
import tempfile
import time

EXIT_TIMEOUT_SECONDS = 20
WINDOW_TIMEOUT_SECONDS = 30
PLAY_SECONDS = 1.0
# At least this much must have played: half of the time between the two presses.
MINIMUM_PLAYED_FRAMES = 22050
# Stop lets the sounding voices fade out; then the output is silent.
MAXIMUM_FADE_FRAMES = 4410


def fail(message):
    print("editor_smoke_test: " + message, file=sys.stderr)
    sys.exit(1)


def run(arguments, **options):
    result = subprocess.run(arguments, capture_output=True, text=True, **options)
    if result.returncode != 0:
        fail("%s failed (%d): %s%s" % (" ".join(arguments), result.returncode, result.stdout, result.stderr))
    return result.stdout


def read_wave(path):
    """(format tag, channels, rate, bits, samples) of a RIFF WAVE file: PCM 16-bit or float 32-bit."""
    with open(path, "rb") as wave_file:
        data = wave_file.read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        fail("%s is not a WAVE file" % path)
    position = 12
    fmt = None
    samples = None
    while position + 8 <= len(data):
        chunk_id = data[position:position + 4]
        size = struct.unpack_from("<I", data, position + 4)[0]
        body = data[position + 8:position + 8 + size]
        if chunk_id == b"fmt ":
            fmt = struct.unpack_from("<HHIIHH", body, 0)
            if fmt[0] == 0xFFFE and len(body) >= 26:  # WAVE_FORMAT_EXTENSIBLE: the sub-format's tag
                fmt = (struct.unpack_from("<H", body, 24)[0],) + fmt[1:]
        elif chunk_id == b"data":
            samples = body
        position += 8 + size + (size & 1)
    if fmt is None or samples is None:
        fail("%s lacks its fmt or data chunk" % path)
    tag, channels, rate, _, _, bits = fmt
    if tag == 3 and bits == 32:
        values = list(struct.unpack("<%df" % (len(samples) // 4), samples[:len(samples) // 4 * 4]))
    elif tag == 1 and bits == 16:
        values = list(struct.unpack("<%dh" % (len(samples) // 2), samples[:len(samples) // 2 * 2]))
    else:
        fail("%s: format %d with %d bits is not expected" % (path, tag, bits))
    return tag, channels, rate, bits, values


def rendered_value(played):
    """A played float as a 16-bit render writes it: x 32767, rounded half away from zero, clamped."""
    scaled = float(played) * 32767.0
    rounded = math.copysign(math.floor(abs(scaled) + 0.5), scaled)
    return int(max(-32768.0, min(32767.0, rounded)))


def first_sound(values):
    for index, value in enumerate(values):
        if value != 0:
            return index
    return len(values)


def find_window(pid, environment):
    deadline = time.monotonic() + WINDOW_TIMEOUT_SECONDS
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "demo"],
                               capture_output=True, text=True, env=environment, timeout=WINDOW_TIMEOUT_SECONDS)
        windows = found.stdout.split()
        if found.returncode == 0 and windows:
            return windows[-1]
        time.sleep(0.2)
    fail("no editor window named after demo.lx2 appeared (pid %d)" % pid)


def key(window, name, environment):
    # Without a window manager nothing gives the window the focus: take it first.
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, env=environment, timeout=10)
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True, env=environment, timeout=10)


def main():
    if len(sys.argv) != 4:
        fail("usage: editor_smoke_test.py QUILLET QUILLET_CLI MAKE_DEMO_LOOP")
    quillet, cli, make_demo_loop = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="quillet-smoke-") as folder:
        runtime = os.path.join(folder, "runtime")
        config = os.path.join(folder, "config")
        os.mkdir(runtime, 0o700)
        os.mkdir(config)
        wave = os.path.join(folder, "demo-loop.wav")
        loop = os.path.join(folder, "demo.lx2")
        recording = os.path.join(folder, "played.wav")
        rendered = os.path.join(folder, "rendered.wav")
        run([make_demo_loop, wave])
        run([cli, "slice", wave, "-o", loop, "--force", "--sensitivity", "50", "--bars", "2", "--sign", "4/4",
             "--preview", "on"])
        info = json.loads(run([cli, "info", loop, "--json"]))
        tempo = "%.3f" % (info["preview_tempo"] / 1000.0)
        run([cli, "render", loop, "-o", rendered, "--force", "--tempo", tempo, "--rate", "44100"])

        environment = dict(os.environ)
        environment.update({
            "QUILLET_AUDIO_DEVICE": "null",
            "QUILLET_NULL_OUTPUT_RECORD": recording,
            "XDG_CONFIG_HOME": config,
            "XDG_RUNTIME_DIR": runtime,
        })
        environment.pop("QT_QPA_PLATFORM", None)
        # Under AddressSanitizer: libxkbcommon-x11 strndup()s key names that are counted, not
        # terminated, which the strict string checks take for an overflow inside the library.
        if "ASAN_OPTIONS" in environment:
            environment["ASAN_OPTIONS"] = environment["ASAN_OPTIONS"].replace("strict_string_checks=1",
                                                                              "strict_string_checks=0")
        editor = subprocess.Popen([quillet, loop], env=environment, cwd=folder,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            window = find_window(editor.pid, environment)
            key(window, "space", environment)
            time.sleep(PLAY_SECONDS)
            key(window, "space", environment)
            time.sleep(0.3)
            key(window, "ctrl+q", environment)
            out, err = editor.communicate(timeout=EXIT_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            editor.kill()
            out, err = editor.communicate()
            fail("the editor did not exit within %d s after Ctrl+Q:\n%s%s" % (EXIT_TIMEOUT_SECONDS, out, err))
        except BaseException:
            editor.kill()
            editor.communicate()
            raise
        if editor.returncode != 0:
            fail("the editor exited with %d:\n%s%s" % (editor.returncode, out, err))

        _, expected_channels, expected_rate, _, expected = read_wave(rendered)
        tag, channels, rate, bits, played = read_wave(recording)
        if (tag, bits, rate) != (3, 32, 44100) or channels != expected_channels or expected_rate != 44100:
            fail("recording: format %d, %d bits, %d Hz, %d channels; render %d channels at %d Hz"
                 % (tag, bits, rate, channels, expected_channels, expected_rate))
        played = [rendered_value(value) for value in played]
        played_start = first_sound(played)
        rendered_start = first_sound(expected)
        if played_start >= len(played):
            fail("the editor recorded only silence")
        if played_start < rendered_start:
            fail("the recording sounds before the render does")
        offset = played_start - rendered_start
        if offset % channels:
            fail("the recording's sound does not begin on a frame")
        last = len(played)
        while last > offset and played[last - 1] == 0:
            last -= 1
        # Frames played as rendered: up to the stop, where the voices fade out instead.
        matched = 0
        limit = min(last - offset, len(expected))
        while matched < limit and played[offset + matched] == expected[matched]:
            matched += 1
        matched_frames = matched // channels
        fade_frames = max(0, (last - offset - matched) // channels)
        if matched_frames < MINIMUM_PLAYED_FRAMES:
            fail("only %d frames played as rendered; sample %d (frame %d) played %d, rendered %d"
                 % (matched_frames, matched, matched_frames, played[offset + matched] if offset + matched < len(played)
                    else 0, expected[matched] if matched < len(expected) else 0))
        if fade_frames > MAXIMUM_FADE_FRAMES:
            fail("after the stop at frame %d the sound went on for %d frames" % (matched_frames, fade_frames))
        if last - offset > len(expected):
            fail("%d frames played, more than the loop's %d" % ((last - offset) // channels, len(expected) // channels))
        print("editor_smoke_test: %d frames played as rendered, then a fade of %d frames" % (matched_frames, fade_frames))


if __name__ == "__main__":
    main()
