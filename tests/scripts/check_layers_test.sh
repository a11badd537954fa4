#!/usr/bin/env bash
# Runs scripts/check-layers.sh on copies of the tree: the tree as it is must
# pass, and each planted fault must fail with status 1 and name the file.
#
#   tests/scripts/check_layers_test.sh SOURCE_ROOT
set -euo pipefail

src=$(cd "${1:?usage: $0 SOURCE_ROOT}" && pwd)
check=$src/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A fresh copy of the tree without build/ and .git in $tree.
copies=0
fresh() {
  copies=$((copies + 1))
  tree=$work/tree$copies
  mkdir "$tree"
  tar -C "$src" --exclude=./build --exclude=./.git -cf - . | tar -C "$tree" -xf -
}

# Runs the check on $tree; status in $status, output in $out and $err.
run_check() {
  status=0
  bash "$check" "$tree" >"$work/out" 2>"$work/err" || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# plant FILE TEXT: appends the line TEXT to FILE of $tree and sets $planted
# to "FILE:LINE" of the new line.
plant() {
  [[ -f $tree/$1 ]] || { fail "no $1 in the tree to plant into"; return 1; }
  printf '%s\n' "$2" >>"$tree/$1"
  planted=$1:$(wc -l <"$tree/$1")
}

expect_ok() {
  run_check
  if ((status != 0)); then
    fail "$1: status $status, expected 0; stderr: $err"
  elif [[ $(tail -n 1 <<<"$out") != "layers: ok" ]]; then
    fail "$1: last line is not \"layers: ok\": $out"
  fi
}

# expect_violation NAME TEXT: status 1 and TEXT in stderr.
expect_violation() {
  run_check
  if ((status != 1)); then
    fail "$1: status $status, expected 1; stderr: $err"
  elif ! grep -qF -- "$2" <<<"$err"; then
    fail "$1: stderr does not hold \"$2\": $err"
  fi
  if grep -qx 'layers: ok' <<<"$out"; then
    fail "$1: \"layers: ok\" printed on failure"
  fi
}

# The tree as it is.
fresh
expect_ok "tree as it is"
for line in 'packing -> ' 'platform -> ' 'engine -> '; do
  grep -q "^$line" <<<"$out" || fail "tree as it is: no graph line \"$line...\": $out"
done

# A platform source reaching up into pictures.
fresh
plant platform/files/text.cpp '#include "pictures/picture.h"'
expect_violation "platform includes pictures" \
  "$planted: platform may not include pictures/picture.h (layer 2 above layer 1)"

# The platform core reaching into a backend.
fresh
plant platform/display/display.cpp '#include "platform/sdl/sdl_display.h"'
expect_violation "platform core includes a backend" \
  "$planted: platform may not include platform/sdl/sdl_display.h (layer 1b above layer 1)"

# A header that exists nowhere.
fresh
plant engine/engine.cpp '#include "platform/files/no_such_header.h"'
expect_violation "missing header" "$planted: engine includes \"platform/files/no_such_header.h\""

# The launcher may include host and nothing else.
fresh
mkdir -p "$tree/autorun"
printf '#include "host/temp_folder.h"\n' >"$tree/autorun/launcher.cpp"
expect_ok "autorun includes host"
plant autorun/launcher.cpp '#include "platform/wendax.h"'
expect_violation "autorun includes platform" "$planted: autorun may not include platform/wendax.h"

# What stays allowed: a backend including the core, a folder of layer 2
# including another, a program on top including anything, an include
# relative to the including file, a system include.
fresh
plant platform/sdl/sdl_audio.cpp '#include "platform/files/text.h"'
plant kvr_read/kvr_remap.cpp '#include "pictures/picture.h"'
plant tools/file_io.cpp '#include "platform/sdl/sdl_display.h"'
plant platform/files/text.cpp '#include "memory.h"'
plant platform/files/text.cpp '#include <pictures/picture.h>'
expect_ok "allowed includes"
grep -q '^kvr_read -> .*pictures' <<<"$out" || fail "allowed includes: kvr_read -> pictures not in the graph: $out"

# The layer table of the architecture page must match the script's.
fresh
# The backquotes are the table's, not command substitutions.
# shellcheck disable=SC2016
sed -i 's/^| 3 | `scene\/`/| 3 | `scene\/`, `extra\/`/' "$tree/docs/architecture.md"
if cmp -s "$tree/docs/architecture.md" "$src/docs/architecture.md"; then
  fail "docs table: the scene row of docs/architecture.md was not found to change"
else
  expect_violation "docs table differs" "docs/architecture.md differs"
fi

if ((failures)); then
  echo "check_layers_test: $failures failed" >&2
  exit 1
fi
echo "check_layers_test: ok"
