#!/usr/bin/env bash
# Builds the program for the browser into build-web/site and prints that
# folder, which any static file server can serve. Installs what is missing:
# the desktop build's packages (the build-time font tool runs on this
# machine), Debian's emscripten with node-acorn, Node.js and npm, Chromium
# for the page's test and Firefox ESR for the page's cost measurement
# (bench/present_cost.sh), librsvg2-bin for the page's icons (rendered from
# the program's SVG), and puppeteer-core (which drives both browsers and
# never downloads one of its own) into build-web/node.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten node-acorn chromium firefox-esr librsvg2-bin)
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
bash scripts/deps.sh "${packages[@]}"

# Debian's emscripten finds acorn there; a Node.js from elsewhere does not look.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [ ! -d build-web/node/node_modules/puppeteer-core ]; then
  mkdir -p build-web/node
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix build-web/node --no-audit --no-fund \
    --loglevel=error puppeteer-core@22.15.0
fi

emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc)"
echo "The page is in $(pwd)/build-web/site: serve that folder, e.g."
echo "  python3 -m http.server -d build-web/site 8000   # then open http://localhost:8000/"
