#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds and tests with.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpng-dev zlib1g-dev
  libjpeg62-turbo-dev
  libsdl2-dev xvfb xauth imagemagick
  libgtk-3-dev libwebkit2gtk-4.1-dev libgdk-pixbuf-2.0-dev shared-mime-info
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  libfreetype-dev fonts-liberation2 libcups2-dev cups-client libcairo2-dev
  clang-format git
  clang libclang-rt-14-dev
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if ! dpkg -s "${packages[@]}" >/dev/null 2>&1; then
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
fi
