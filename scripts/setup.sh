#!/usr/bin/env bash
# Installs the Debian packages needed to build and test Veltrano, and only those
# that are missing, so a second run on a prepared machine costs a fraction of a second.
set -euo pipefail

PACKAGES=(
    cmake make g++
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
    # Never add wine32 or the i386 architecture: the kernel here cannot run i386 code and
    # with wine32 present the wine launcher picks the 32-bit loader even for 64-bit exes.
    wine64 wine
    xvfb xauth xdotool x11-utils imagemagick
    pulseaudio pulseaudio-utils sox
    faketime googletest libgtest-dev icoutils librsvg2-bin
    fonts-wqy-microhei # Wine ships no CJK font; without it Chinese UI text draws as boxes
    python3 clang-format
    # `make fuzz`: libFuzzer and clang's sanitizer runtimes are only recommended by clang, and
    # recommendations are not installed here.
    clang libclang-rt-14-dev
    nsis # makensis, for the installer that `make dist` builds
    locales # the zh_CN.UTF-8 locale, so Wine can use Chinese file names (below)
)

# Wine takes code page 936 from LC_ALL=zh_CN.UTF-8, but it can only name files outside ASCII
# when that locale really exists on the Linux side.
LOCALE=zh_CN.UTF-8

has_locale() {
    locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'
}

ensure_locale() {
    if has_locale; then
        return 0
    fi
    if ((EUID != 0)); then
        echo "setup: the $LOCALE locale is missing (run this script as root to generate it)" >&2
        return 1
    fi
    if ! grep -q "^$LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$LOCALE UTF-8" >>/etc/locale.gen
    fi
    locale-gen >/dev/null 2>&1 || locale-gen "$LOCALE" >/dev/null
    echo "setup: generated the $LOCALE locale"
}

# Prints the packages from the list that are not installed, one per line.
missing_packages() {
    local installed
    # dpkg-query exits 1 when some names are unknown to it; the output is still complete.
    installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null |
        awk '$2 == "installed" { print $1 }' || true)
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        if ! grep -qxF "$pkg" <<<"$installed"; then
            echo "$pkg"
        fi
    done
}

main() {
    local missing
    mapfile -t missing < <(missing_packages)
    if ((${#missing[@]} == 0)); then
        echo "setup: all ${#PACKAGES[@]} packages already installed"
        ensure_locale
        return 0
    fi
    if ((EUID != 0)); then
        echo "setup: missing packages (run this script as root to install): ${missing[*]}" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    local log
    log=$(mktemp)
    # Package lists on a fresh machine may be absent or stale, so refresh before installing.
    if ! { apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
        >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "setup: installing failed: ${missing[*]}" >&2
        return 1
    fi
    rm -f "$log"
    echo "setup: installed ${#missing[@]} package(s): ${missing[*]}"
    ensure_locale
}

main "$@"
