#!/usr/bin/env bash
# The browser build in headless Chromium, its buttons, pointer and offline
# checks in Firefox ESR too (label web). Skipped (77) when the browser build
# or its test tools are missing, unless WEB_TEST_REQUIRED is set, as CI sets it.
set -uo pipefail
snapshot=$1
web_build=$2
site="$web_build/site"
modules="$web_build/node/node_modules"
chromium=${CHROMIUM:-/usr/bin/chromium}
# The new checks run in Firefox ESR too where it is installed (scripts/web.sh
# installs it); FIREFOX= leaves it out.
firefox=${FIREFOX-/usr/bin/firefox-esr}
[ -x "$firefox" ] || firefox=""

missing=""
[ -f "$site/index.html" ] && [ -f "$site/mehrfachspalt.wasm" ] || missing="the browser build (bash scripts/web.sh)"
[ -d "$modules/puppeteer-core" ] || missing="puppeteer-core (bash scripts/web.sh)"
[ -x "$chromium" ] || missing="chromium (bash scripts/web.sh)"
command -v node >/dev/null || missing="node (bash scripts/web.sh)"
command -v convert >/dev/null || missing="ImageMagick (bash scripts/deps.sh)"
if [ -n "$missing" ]; then
  echo "web.page: $missing is missing"
  [ -n "${WEB_TEST_REQUIRED:-}" ] && exit 1
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The headless pictures the page must match, as raw RGBA for the comparison.
# German, whatever the machine's language, or in the language given.
reference() {
  env LC_ALL= LC_MESSAGES= LANGUAGE="${4:-}" LANG="${5:-C}" "$snapshot" --frames "$1" --keys "$2" \
    "$work/$3.png" >/dev/null || exit 1
  convert "$work/$3.png" -depth 8 "rgba:$work/$3.rgba" || exit 1
}
reference 1 "" start
reference 2 i intensity
reference 8 igggggg eight
reference 2 g three
reference 1 "" start-fr fr C.UTF-8
# The lab view: its labels, two laser lines, a finer ruler; in English.
reference 3 u lab-u
reference 4 uq lab-uq
reference 5 uqz lab-uqz
reference 3 u lab-u-en en C.UTF-8
# The settings the page opens from its address (?setting=), as the snapshot
# tool draws them (page_test.cjs has the same texts).
settings=("v1,slits=3" "v1,slits=1,width=20,field=far,curve=on"
  "v1,spacing=40,wavelength=10,curve=on,readouts=on" "v1,slits=8,detector=-100,projector=on"
  "v1,width=8,menu=on,help=on")
for i in "${!settings[@]}"; do
  env LC_ALL= LC_MESSAGES= LANGUAGE= LANG=C "$snapshot" --frames 1 --setting "${settings[$i]}" \
    "$work/setting-$i.png" >/dev/null || exit 1
  convert "$work/setting-$i.png" -depth 8 "rgba:$work/setting-$i.rgba" || exit 1
done

NODE_PATH="$modules" exec node "$(dirname "$0")/page_test.cjs" "$site" "$work" "$chromium" $firefox
