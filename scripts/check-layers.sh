#!/usr/bin/env bash
# Checks that no source folder includes a header of a folder above it.
#
#   scripts/check-layers.sh [ROOT]
#
# ROOT is the tree to check (default: the repository holding this script).
# Prints the include graph between folders and "layers: ok", exit 0; or each
# offending include on stderr, exit 1. The layer table below must read the
# same as the one in ROOT/docs/architecture.md; the script checks that too.
set -euo pipefail

# Layers, bottom to top; a folder may include its own layer and those below.
# A source belongs to the longest folder of the table that holds it, so
# platform/files belongs to platform and pictures/mtrd to pictures.
#   1b        the platform's backends: they may include the platform core
#             (layer 1), the core never includes them.
#   top       programs that may include every folder.
#   host-only programs that may include only host/ and themselves.
readonly LAYER_TABLE='
0         packing host
1         platform
1b        platform/sdl platform/headless
2         pictures dct kvr_read orv_vr zqm
3         scene
4         engine
top       tools
host-only autorun
'
# Programs on top of everything, not checked; nothing checked includes them.
readonly UNCHECKED='tests bench fuzz demo'

if (($# > 1)); then
  echo "usage: $0 [ROOT]" >&2
  exit 2
fi
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [[ ! -d $root ]]; then
  echo "check-layers: $root is not a folder" >&2
  exit 2
fi
cd "$root"

# The layer table of the architecture page: the rows of the table headed
# "| Layer | Folders |", as "LAYER FOLDER..." with the backquoted folder names
# of the second column.
doc=docs/architecture.md
doc_table() {
  awk '
    /^\| *Layer *\| *Folders *\|/ { in_table = 1; next }
    in_table && /^\|[-: |]*$/ { next }
    in_table && !/^\|/ { exit }
    in_table {
      n = split($0, cell, "|")
      if (n < 4) next
      layer = cell[2]; gsub(/[ `]/, "", layer)
      line = layer
      rest = cell[3]
      while (match(rest, /`[^`]*`/)) {
        name = substr(rest, RSTART + 1, RLENGTH - 2)
        sub(/\/$/, "", name)
        line = line " " name
        rest = substr(rest, RSTART + RLENGTH)
      }
      print line
    }' "$doc"
}
script_table() { awk 'NF { $1 = $1; print }' <<<"$LAYER_TABLE"; }

if [[ ! -f $doc ]]; then
  echo "check-layers: $doc is missing; it holds the layer table" >&2
  exit 1
fi
if [[ $(doc_table) != "$(script_table)" ]]; then
  {
    echo "check-layers: the layer table of $doc differs from the one in scripts/check-layers.sh"
    diff <(script_table) <(doc_table) | sed -n 's/^</  script:/p; s/^>/  doc:   /p'
  } >&2
  exit 1
fi

# Every file of the tree but build/ and hidden folders: the includes resolve
# against this list.
mapfile -t all_files < <(find . -mindepth 1 \( -path ./build -o -name '.*' \) -prune -o \
  \( -type f -o -type l \) -print | sed 's|^\./||' | LC_ALL=C sort)

# The sources to check: every C or C++ file outside the unchecked folders.
unchecked_re="^(${UNCHECKED// /|})/"
sources=()
for f in "${all_files[@]}"; do
  [[ $f =~ \.(h|hh|hpp|hxx|inc|ipp|c|cc|cpp|cxx)$ ]] || continue
  [[ $f =~ $unchecked_re ]] && continue
  sources+=("$f")
done

includes=()
if ((${#sources[@]})); then
  # grep exits 1 when no source includes anything.
  mapfile -t includes < <(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
    -- "${sources[@]}" || true)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\n' "$LAYER_TABLE" >"$work/table"
printf '%s\n' "${all_files[@]}" >"$work/files"
printf '%s\n' "${sources[@]}" >"$work/sources"
printf '%s\n' "${includes[@]}" >"$work/includes"

awk -v unchecked="$UNCHECKED" -v work="$work" '
  # The folder of the table that holds path p, or "" for none.
  function unit_of(p,    d) {
    d = p
    while (sub(/\/[^\/]*$/, "", d)) {
      if (d in level) return d
    }
    return ""
  }
  # p with "." and ".." resolved, or "" when it leaves the tree.
  function normal(p,    n, part, i, out, k) {
    n = split(p, part, "/")
    k = 0
    for (i = 1; i <= n; i++) {
      if (part[i] == "" || part[i] == ".") continue
      if (part[i] == "..") { if (k == 0) return ""; k--; continue }
      out[++k] = part[i]
    }
    p = ""
    for (i = 1; i <= k; i++) p = p (i > 1 ? "/" : "") out[i]
    return p
  }
  function top_folder(p) { sub(/\/.*/, "", p); return p }
  function add_edge(from, to) {
    if (from == to) return
    if (!((from, to) in edge)) { edge[from, to] = 1; targets[from] = targets[from] " " to }
  }
  function fail(msg) { print msg > "/dev/stderr"; failures++ }

  !NF { next }

  FILENAME == work "/table" {
    rows++
    for (i = 2; i <= NF; i++) {
      level[$i] = $1; rank[$i] = rows; order[++units] = $i
    }
    next
  }
  FILENAME == work "/files" { exists[$0] = 1; next }
  FILENAME == work "/sources" {
    u = unit_of($0)
    if (u == "") {
      if (index($0, "/")) {
        fail($0 ": " top_folder($0) "/ is in no layer of the table in scripts/check-layers.sh")
      } else {
        fail($0 ": a source at the root is in no layer")
      }
      next
    }
    present[u] = 1
    next
  }
  # FILE:LINE:#include "HEADER"
  {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    sub(/\r$/, "", text)
    if (!match(text, /"[^"]*"/)) next
    written = substr(text, RSTART + 1, RLENGTH - 2)
    from = unit_of(file)
    if (from == "") next  # reported above

    dir = file; sub(/\/[^\/]*$/, "", dir)
    header = normal(dir "/" written)
    if (header == "" || !(header in exists)) header = normal(written)
    if (header == "" || !(header in exists)) {
      fail(file ":" line ": " from " includes \"" written "\", which is in no folder of the tree")
      next
    }

    to = unit_of(header)
    where = file ":" line ": " from " may not include " header
    if (to == "") {
      folder = top_folder(header)
      add_edge(from, folder)
      if (index(" " unchecked " ", " " folder " ")) {
        fail(where " (" folder "/ is a program on top of the layers)")
      } else {
        fail(where " (" folder "/ is in no layer)")
      }
      next
    }
    add_edge(from, to)
    if (from == to) next
    lf = level[from]; lt = level[to]
    if (lf == "top") next
    if (lf == "host-only") {
      if (to != "host") fail(where " (" from " may include only host)")
      next
    }
    if (lt == "top" || lt == "host-only") {
      fail(where " (" to " is a program, not a library)")
    } else if (rank[to] > rank[from]) {
      fail(where " (layer " lt " above layer " lf ")")
    }
  }
  END {
    for (i = 1; i <= units; i++) {
      u = order[i]
      if (!(u in present)) continue
      n = split(targets[u], t, " ")
      # Sorted, for a stable graph.
      for (a = 2; a <= n; a++) {
        v = t[a]
        for (b = a - 1; b >= 1 && t[b] > v; b--) t[b + 1] = t[b]
        t[b + 1] = v
      }
      s = ""
      for (a = 1; a <= n; a++) s = s " " t[a]
      print u " ->" (n ? s : " (none)")
    }
    if (failures) {
      print "layers: " failures " violation" (failures > 1 ? "s" : "") > "/dev/stderr"
      exit 1
    }
    print "layers: ok"
  }
' "$work/table" "$work/files" "$work/sources" "$work/includes"
