#!/bin/bash
# Runs a test program on a virtual X server of 1024 x 768 pixels.
#   xvfb_run.sh PROGRAM [ARGS...]
# Exits 77 (skipped) when xvfb-run or Xvfb is missing.
for tool in xvfb-run Xvfb; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool not found"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
