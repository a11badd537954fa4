#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from what clang-format makes of
# it with the root's .clang-format; lists the files. scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format not installed" >&2
  exit 1
fi
bad=0
while IFS= read -r file; do
  if ! "$format" --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file (clang-format -i $file)" >&2
    bad=1
  fi
done < <(git ls-files '*.cpp' '*.h')
if [ "$bad" -ne 0 ]; then exit 1; fi
echo "format: ok"
