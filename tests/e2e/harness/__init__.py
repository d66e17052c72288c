"""Drives the real veltrano.exe under Wine for end-to-end tests, in four parts by what they drive:
Wine and processes (process, wine), the screen and input (screen), sound (sound) and
Settings.def (settings). Everything is re-exported here: tests `import harness as h`.

Meant to run inside scripts/testenv.sh, which provides a private X display, a private
PulseAudio daemon with a null sink and a fresh Wine prefix through the environment:
VELTRANO_EXE (Linux path of the x86_64 exe), WINEPREFIX, DISPLAY, VELTRANO_SINK.

Only the Python standard library is used; X, sound and time are reached through
xdotool, xwininfo, ImageMagick's import, parec, wineserver and libfaketime.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "tools"))

from .process import *  # noqa: E402,F401,F403
from .screen import *  # noqa: E402,F401,F403
from .settings import *  # noqa: E402,F401,F403
from .sound import *  # noqa: E402,F401,F403
from .wine import *  # noqa: E402,F401,F403
