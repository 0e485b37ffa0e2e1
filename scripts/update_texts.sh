#!/usr/bin/env bash
# After adding or changing a text of the screen: renews the template
# po/mehrfachspalt.pot from the sources and merges it into every catalogue,
# whose new or changed entries then wait for their translation (see
# CONTRIBUTING.md, "Adding a text" and "Adding a language").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh gettext
bash scripts/texts_template.sh po/mehrfachspalt.pot
for po in po/*.po; do
  msgmerge --quiet --update --backup=none --add-location=file "$po" po/mehrfachspalt.pot
done
echo "po/: template renewed; translate what 'bash scripts/check_texts.sh' names"
