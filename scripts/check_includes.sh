#!/usr/bin/env bash
# The include rules the compiler cannot see: a folder's *_internal.h headers
# are for its own files (and for the tests and benchmarks); sim/ and app/ include
# only the public header of each graphics folder, the one named after it.
# Prints each breach and exits 1 if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while IFS= read -r file; do
  dir=$(dirname "$file")
  while IFS= read -r header; do
    header_dir=$(dirname "$header")
    name=$(basename "$header" .h)
    case "$header" in
      *_internal.h)
        case "$dir" in
          "$header_dir" | tests | tests/* | bench) ;;
          *) echo "$file: includes $header, internal to $header_dir/" && status=1 ;;
        esac
        ;;
    esac
    case "$dir" in
      sim | app | lessons)
        case "$header" in
          gfx/gfx.h | runtime/runtime.h | sim/* | lessons/* | app/*) ;;
          gfx/*) [ "$name" = "$(basename "$header_dir")" ] ||
            { echo "$file: includes $header, not its folder's public header" && status=1; } ;;
        esac
        ;;
    esac
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files '*.cpp' '*.h')
[ "$status" -eq 0 ] && echo "includes: every internal header stays in its folder"
exit "$status"
