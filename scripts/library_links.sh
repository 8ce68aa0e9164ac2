#!/usr/bin/env bash
# Checks that the program's libraries call only the libraries below them: no symbol that one
# library needs is defined in a library above it. (An #include of a part above does not build;
# this catches a function declared in a lower part but defined in a higher one.)
#   scripts/library_links.sh LIBRARY-FOLDER   (the build's lib/ folder)
set -euo pipefail
lib=${1:?the build\'s lib folder}
order=(platform sound psk rtty state settings displays logbook core main_window) # bottom to top
defined() { nm -C --defined-only "$lib/libsondrel_$1.a" | awk '$2 ~ /^[TDBRVW]$/ { $1 = ""; $2 = ""; print substr($0, 3) }' | sort -u; }
needed() { nm -C -u "$lib/libsondrel_$1.a" | awk '{ $1 = ""; print substr($0, 2) }' | sort -u; }
bad=0
for ((i = 0; i < ${#order[@]}; i++)); do
  for ((j = i + 1; j < ${#order[@]}; j++)); do
    found=$(comm -12 <(needed "${order[i]}") <(defined "${order[j]}") | grep -vE '^(typeinfo|vtable|guard|construction)' || true)
    if [[ -n $found ]]; then
      echo "${order[i]} calls ${order[j]}, which sits above it:"
      printf '  %s\n' "$found"
      bad=1
    fi
  done
done
if ((bad)); then exit 1; fi
echo "every library calls only those below it"
