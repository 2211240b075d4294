#!/usr/bin/env bash
# Installs every Debian package the build, the data build, the tests, the fuzz
# targets (clang with libFuzzer) and the screen checks need. Safe to run again:
# apt-get skips what is installed.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config git ca-certificates clang-format \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins \
  qt6-translations-l10n \
  libgl-dev libxkbcommon-dev \
  libxcb1-dev libxcb-xinput-dev \
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev \
  libpq-dev postgresql \
  libsdl2-dev \
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libswresample-dev \
  espeak-ng ffmpeg sox \
  libespeak-ng-dev qt6-image-formats-plugins \
  fonts-liberation fontconfig \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  xvfb xauth xdotool imagemagick x11-utils x11-xkb-utils ccache \
  librsvg2-bin desktop-file-utils \
  poppler-utils \
  clang libclang-rt-dev
# The data build fetches its picture sources with npm; a machine that already
# has Node.js with npm keeps it (Debian's npm conflicts with other builds).
if ! command -v npm >/dev/null 2>&1; then
  $SUDO apt-get install -y --no-install-recommends nodejs npm
fi
