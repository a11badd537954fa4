#!/bin/bash
# kvr_viewer in an SDL2 window on a virtual X server plays the sample game;
# a screenshot of the window equals the screenshot the headless run takes of
# the same frame (the menu, its cursor in the top-left corner).
#
#   viewer_xvfb_test.sh KVR_VIEWER DISC_DIR
#
# Exits 77 (skipped) when xvfb-run, Xvfb or ImageMagick is missing.
set -u
viewer=$1
disc=$2

if [ "${3:-}" != "--inner" ]; then
  for tool in xvfb-run Xvfb import compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skipped: $tool not found"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" bash "$0" "$viewer" "$disc" --inner
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# As in the platform's SDL test: libraries SDL loads and unloads keep
# allocations that cannot be told from ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export SDL_RENDER_DRIVER=software
export SDL_AUDIODRIVER=dummy

printf '10 shot menu\n12 quit\n' > "$work/session.txt"
if ! "$viewer" --headless --session "$work/session.txt" --shots "$work" "$disc"; then
  echo "FAIL: the headless run failed"
  exit 1
fi

"$viewer" "$disc" &
pid=$!
sleep 3  # start-up, the menu's warp entry, frames reaching the screen
if ! kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: kvr_viewer ended in its window"
  exit 1
fi
import -window root -depth 8 "$work/window.png"
shot=$?
kill "$pid"
wait "$pid" 2>/dev/null
if [ "$shot" -ne 0 ]; then
  echo "FAIL: screenshot failed"
  exit 1
fi
# The two paths widen 5- and 6-bit channels to 8 bits each their own way;
# a pixel counts as different beyond that.
differ=$(compare -metric AE -fuzz 4% "$work/menu.png" "$work/window.png" null: 2>&1)
if [ "$differ" != "0" ]; then
  echo "FAIL: $differ pixels differ between the window and the headless frame"
  exit 1
fi
echo "PASS"
