#!/usr/bin/env bash
# The catalogues as CI checks them: the template up to date with the sources
# (a text added without scripts/update_texts.sh fails), every catalogue and
# the template through msgfmt --check, and every catalogue complete: each text
# translated, none fuzzy. Characters the screen's font lacks fail the build
# itself (tools/check_catalogue.cpp); the room each text has, the tests
# (tests/lessons/languages_test.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh gettext
fresh=$(mktemp --suffix=.pot)
trap 'rm -f "$fresh"' EXIT
bash scripts/texts_template.sh "$fresh"
if ! diff -u -I '^"POT-Creation-Date:' po/mehrfachspalt.pot "$fresh"; then
  echo "po/mehrfachspalt.pot is behind the sources: run bash scripts/update_texts.sh" >&2
  exit 1
fi
status=0
# The template's header keeps xgettext's placeholders, which msgfmt notes.
if ! notes=$(msgfmt --check -o /dev/null po/mehrfachspalt.pot 2>&1); then
  echo "$notes" >&2
  exit 1
fi
for po in po/*.po; do
  msgfmt --check -o /dev/null "$po"
  # Every text of the template, translated.
  if ! msgcmp "$po" po/mehrfachspalt.pot; then
    echo "$po: lacks texts of the template: run bash scripts/update_texts.sh, then translate" >&2
    status=1
  fi
  stats=$(LC_ALL=C msgfmt --statistics -o /dev/null "$po" 2>&1)
  if grep -qE 'fuzzy|untranslated' <<<"$stats"; then
    echo "$po: $stats" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "po/: template up to date, $(ls po/*.po | wc -l) catalogues checked and complete"
exit "$status"
