"""Drives the real veltrano.exe under Wine for end-to-end tests: Wine and processes (process,
wine), the screen and input (screen), sound (sound) and Settings.def (settings), all re-exported
here (`import harness as h`). Runs inside scripts/testenv.sh, which provides a private X display,
PulseAudio sink and Wine prefix (DISPLAY, VELTRANO_SINK, WINEPREFIX); standard library only."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "tools"))

from .process import *  # noqa: E402,F401,F403
from .screen import *  # noqa: E402,F401,F403
from .settings import *  # noqa: E402,F401,F403
from .sound import *  # noqa: E402,F401,F403
from .wine import *  # noqa: E402,F401,F403
