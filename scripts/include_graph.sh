#!/usr/bin/env bash
# Prints which folders of the program include which, from the #include "..." lines, and fails
# when the links run in a circle.
#   scripts/include_graph.sh [depth]   depth 1 (default): top-level folders; 2: the rooms inside them
# Each line is "from -> to (n)": n include lines in from/ name a header in to/. Tests, benchmarks
# and tools are left out: they may include anything.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
depth=${1:-1}
cd "$here"
# The source files (in a copied tree without git: every source file outside the build folders).
if git -C "$here" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  all=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
else
  all=$(find . -type f \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)
fi
files=$(printf '%s\n' "$all" | grep -vE '^(tests|bench|tools|build[^/]*)/')
edges=$(printf '%s\n' "$files" | xargs grep -HoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"]+"' |
  awk -v depth="$depth" -v list=<(printf '%s\n' "$files") '
    function folder(path,   n, parts, i, out) {
      n = split(path, parts, "/"); out = ""
      for (i = 1; i < n && i <= depth; i++) out = out (i > 1 ? "/" : "") parts[i]
      return out == "" ? "." : out
    }
    BEGIN { while ((getline f < list) > 0) known[f] = 1 }
    {
      file = substr($0, 1, index($0, ":") - 1)
      inc = $0; sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
      if (!(inc in known)) { dir = file; sub(/\/[^\/]*$/, "", dir); inc = dir "/" inc }
      if (!(inc in known)) next
      a = folder(file); b = folder(inc)
      if (a != b) count[a " " b]++
    }
    END { for (e in count) print e, count[e] }' | sort)
printf '%s\n' "$edges" | awk 'NF == 3 { printf "%s -> %s (%d)\n", $1, $2, $3 }'
if ! loop=$(printf '%s\n' "$edges" | awk 'NF == 3 { print $1, $2 }' | tsort 2>&1 >/dev/null); then
  echo "The folders include each other in a circle, for example:" >&2
  printf '%s\n' "$loop" | awk '/input contains a loop/ { if (seen++) exit; next } { sub(/^tsort: /, ""); print "  " $0 }' >&2
  exit 1
fi
echo "no circle"
