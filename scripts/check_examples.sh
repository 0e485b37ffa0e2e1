#!/usr/bin/env bash
# Compiles the usage note at the top of every public header (the one named
# after its folder), so that a note that no longer fits the declarations
# fails CI instead of misleading a reader. A note is the lines after
# "// Usage:" that start with "//   " (the comment mark and three blanks):
# its #include lines come after the header itself, the rest is the body of a
# function that has argc and argv. Prints each fault and exits 1 if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=${CXX:-g++}
status=0
checked=0
while IFS= read -r header; do
  # #line marks every line, so that an error names the header's own line.
  source=$(awk -v header="$header" '
    /^\/\/ Usage:$/ { inside = 1; next }
    inside && /^\/\/   / {
      code = substr($0, 6)
      line = "#line " NR " \"" header "\"\n" code "\n"
      if (code ~ /^#include /) includes = includes line; else body = body line
      next
    }
    inside { exit }
    END {
      if (body == "") exit 1
      printf "#include \"%s\"\n%sint usage_note(int argc, char** argv) {\n%s    return 0;\n}\n",
        header, includes, body
    }' "$header") || { echo "$header: no usage note (\"// Usage:\", then lines of \"//   code\")"; status=1; continue; }
  if ! "$compiler" -std=c++20 -fsyntax-only -I. -x c++ - <<<"$source"; then
    echo "$header: its usage note does not compile"
    status=1
  fi
  checked=$((checked + 1))
done < <(git ls-files '*.h' | awk -F/ 'NF >= 2 && $NF == $(NF - 1) ".h" && $1 !~ /^(tests|bench|tools|web)$/')
[ "$status" -eq 0 ] && echo "usage notes: the notes of $checked public headers compile"
exit "$status"
