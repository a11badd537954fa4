#!/bin/bash
# The SDL2 display backend on a virtual X server: a window shows a test
# pattern through Wendax, a screenshot of the whole X display is compared
# with it, at 640 x 480 and at 320 x 240 scaled by two.
#
#   sdl_xvfb_test.sh PROGRAM
#
# Exits 77 (skipped) when xvfb-run, Xvfb or ImageMagick's import is missing.
set -u
program=$1

if [ "${2:-}" != "--inner" ]; then
  for tool in xvfb-run Xvfb import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skipped: $tool not found"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" bash "$0" "$program" --inner
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Libraries that SDL loads and unloads at run time keep a few allocations;
# once unloaded, their leak reports cannot be told from ours by any
# suppression, so this one test runs without leak detection (sanitizer
# builds only; other builds ignore it). Our own code is leak-checked by the
# headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The software renderer gives the same pixels on every machine.
export SDL_RENDER_DRIVER=software

run_one() {
  local width=$1 height=$2
  local ready="$work/ready" stop="$work/stop" shot="$work/shot.rgb"
  rm -f "$ready" "$stop" "$shot"
  "$program" show "$width" "$height" "$ready" "$stop" &
  local pid=$!
  for _ in $(seq 200); do
    [ -e "$ready" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -e "$ready" ]; then
    echo "FAIL: the program did not present a frame at ${width}x${height}"
    kill "$pid" 2>/dev/null
    wait "$pid"
    return 1
  fi
  sleep 0.5  # a few more presentations reach the screen
  import -window root -depth 8 "rgb:$shot"
  local shot_status=$?
  touch "$stop"
  wait "$pid"
  local status=$?
  if [ "$shot_status" -ne 0 ]; then
    echo "FAIL: screenshot failed"
    return 1
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL: the program ended with status $status"
    return 1
  fi
  "$program" check "$width" "$height" "$shot" 640 480
}

run_one 640 480 || exit 1
run_one 320 240 || exit 1
echo "PASS"
