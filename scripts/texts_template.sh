#!/usr/bin/env bash
# Writes the template of the program's texts (the German texts the sources
# mark with screen_text, title_text and N_, and the page's that its script
# marks with N_) to the file named, by xgettext:
#
#   bash scripts/texts_template.sh po/mehrfachspalt.pot
#
# Locations name the file only, so that moving a line does not change the
# template; scripts/update_texts.sh and scripts/check_texts.sh call it.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$1"
mapfile -t sources < <(find app sim lessons -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=N_ --keyword=screen_text \
  --keyword=title_text --add-comments=TRANSLATORS: --add-location=file \
  --package-name=mehrfachspalt --msgid-bugs-address= -o "$out" "${sources[@]}" 2>&1 |
  { grep -v -e 'msgid-bugs-address' -e "'Makevars' file" -e 'MSGID_BUGS_ADDRESS' -e 'command line option' || true; }
# The page's script alone, on its own lines, so that xgettext reads it as
# JavaScript and the locations still name web/index.html.
page=$(mktemp -d)
trap 'rm -rf "$page"' EXIT
mkdir -p "$page/web"
awk '/^<script>$/ { inside = 1; print ""; next } /^<\/script>$/ { inside = 0 }
     { print inside ? $0 : "" }' web/index.html >"$page/web/index.html"
xgettext --from-code=UTF-8 --language=JavaScript --keyword= --keyword=N_ --add-location=file \
  --join-existing -D "$page" -o "$out" web/index.html
sed -i 's/charset=CHARSET/charset=UTF-8/' "$out"
