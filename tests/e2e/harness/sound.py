"""Sound: recordings of the PulseAudio sink the exe plays into, and tones to play."""

import array
import math
import os
import struct
import subprocess
import threading
import time
import wave

from .process import tool_env, wait_for


class Recorder:
    """Records a PulseAudio sink's monitor, mono 16-bit at `rate`; `start_time` is the time.time()
    of the first sample, so that what is heard can be related to wall-clock time."""

    def __init__(self, sink=None, rate=8000, path=None):
        self.sink = sink or os.environ.get("VELTRANO_SINK", "vsink")
        self.rate = rate
        self.path = path
        self.start_time = self._proc = self._thread = None
        self._data, self._lock = bytearray(), threading.Lock()

    def start(self, timeout=10):
        # A small latency makes parec hand over data in small pieces, which dates the
        # first sample precisely and loses nothing when it is stopped.
        self._proc = subprocess.Popen(
            ["parec", "-d", self.sink + ".monitor", "--format=s16le", "--rate=%d" % self.rate,
             "--channels=1", "--latency-msec=20"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=tool_env(),
            start_new_session=True)
        self._thread = threading.Thread(target=self._reader, daemon=True)
        self._thread.start()
        wait_for(lambda: self.start_time is not None or self._proc.poll() is not None, timeout,
                 interval=0.02, what="parec to deliver sound data")
        if self.start_time is None:
            raise RuntimeError("parec exited with %s (is PULSE_SERVER set?)"
                               % self._proc.returncode)
        return self

    def _reader(self):
        fd = self._proc.stdout.fileno()
        received = 0
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                break
            now = time.time()
            received += len(chunk)
            # The last sample of this chunk was recorded no later than now, so the first
            # one no later than now - duration; the smallest such bound is the best.
            start = now - received / 2.0 / self.rate
            with self._lock:
                self._data += chunk
                if self.start_time is None or start < self.start_time:
                    self.start_time = start

    def stop(self):
        if self._proc and self._proc.poll() is None:
            self._proc.terminate()
            try:
                self._proc.wait(5)
            except subprocess.TimeoutExpired:
                self._proc.kill()
                self._proc.wait(5)
        if self._thread:
            self._thread.join(5)
        if self._proc:
            self._proc.stdout.close()
        if self.path:
            with open(self.path, "wb") as f:
                f.write(self.raw())
        return self

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def raw(self):
        with self._lock:
            return bytes(self._data[:len(self._data) // 2 * 2])

    def samples(self):
        a = array.array("h")
        a.frombytes(self.raw())
        if array.array("h", [1]).tobytes() != b"\x01\x00":
            a.byteswap()
        return a

    def duration(self):
        return len(self.raw()) / 2.0 / self.rate

    def wall_time(self, t):
        """time.time() value of the moment `t` seconds into the recording."""
        return self.start_time + t

    def _windows(self, window_s):
        s = self.samples()
        n = max(1, int(round(window_s * self.rate)))
        for i in range(0, len(s), n):
            yield i / float(self.rate), s[i:i + n]

    def rms_windows(self, window_s=0.05):
        """[(t, rms)] for consecutive windows of window_s seconds."""
        return [(t, (sum(v * v for v in w) / len(w)) ** 0.5) for t, w in self._windows(window_s)]

    def peak_windows(self, window_s=0.01):
        """[(t, peak absolute sample)] for consecutive windows."""
        return [(t, max(abs(v) for v in w)) for t, w in self._windows(window_s)]

    def onsets(self, threshold=1000, min_silence=0.2, window_s=0.01):
        """Times (s into the recording) where the peak level rises above `threshold` (0..32767)
        after at least `min_silence` s below it; sound playing from the start is no onset."""
        result = []
        silent_since = None
        for t, peak in self.peak_windows(window_s):
            if peak > threshold:
                if silent_since is not None and t - silent_since >= min_silence - 1e-9:
                    result.append(t)
                silent_since = None
            elif silent_since is None:
                silent_since = t
        return result

    def wall_spans(self, threshold=1000, min_silence=1.0):
        """sound_spans as time.time() values; a gap under a second joins two (alarms beep in
        groups)."""
        return [(self.wall_time(a), self.wall_time(b))
                for a, b in self.sound_spans(threshold, min_silence)]

    def sound_spans(self, threshold=1000, min_silence=0.2, window_s=0.01):
        """[(start, end)] of the stretches above threshold, split at silences of min_silence s."""
        spans = []
        for t, peak in self.peak_windows(window_s):
            if peak > threshold:
                if spans and t - spans[-1][1] < min_silence:
                    spans[-1][1] = t + window_s
                else:
                    spans.append([t, t + window_s])
        return [tuple(s) for s in spans]



def write_tone(path, seconds, rate=8000, frequency=660):
    """A WAVE file of a sine tone, loud enough to be told from silence."""
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(
            struct.pack("<h", int(20000 * math.sin(2 * math.pi * frequency * i / rate)))
            for i in range(int(seconds * rate))))
