// The browser build in headless Chromium: served from 127.0.0.1, driven by
// keys, its canvas compared with the headless pictures of the same keys;
// then its buttons, pointer, status line and offline use, in Chromium and
// (where it is installed) in Firefox ESR.
// Arguments: the site folder, a folder with the reference pictures as raw
// RGBA (start; intensity after i; eight after i and six g; three after g),
// the Chromium executable, optionally the Firefox ESR executable.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [site, references, chromium, firefox] = process.argv.slice(2);
// The page follows the browser's languages; the checks that compare with the
// headless (German) pictures ask for German.
const GERMAN = '?lang=de';
const WIDTH = 640;
const LIGHT_RED = [255, 85, 85, 255];
const RED = [170, 0, 0, 255];

// The static parts of the picture: x, y, width, height.
const STATIC = {
  heading: [8, 0, 264, 15],  // after its first cell, which the first frame touches
  spacing: [35, 20, 176, 15],
  wavelength: [35, 40, 176, 15],
  hint: [30, 465, 176, 15],
  credit: [542, 464, 96, 15],
  mark: [525, 466, 11, 11],
  'barrier above the slits': [24, 20, 3, 170],
  'barrier below the slits': [24, 310, 3, 161],
  axis: [200, 248, 270, 1],
};

let passed = 0;
let failed = 0;
function check(what, ok, detail) {
  if (ok) {
    passed += 1;
    console.log(`ok: ${what}`);
  } else {
    failed += 1;
    console.log(`FAILED: ${what}${detail ? ': ' + detail : ''}`);
  }
}

function readReference(name) {
  return fs.readFileSync(path.join(references, `${name}.rgba`));
}

function cut(rgba, [x, y, w, h]) {
  const out = [];
  for (let row = y; row < y + h; row++) {
    const start = (row * WIDTH + x) * 4;
    for (const v of rgba.subarray(start, start + w * 4)) out.push(v);
  }
  return out;
}

function firstDifference(a, b) {
  if (a.length !== b.length) return `${a.length} values against ${b.length}`;
  for (let i = 0; i < a.length; i++) {
    if (a[i] !== b[i]) return `value ${i}: ${a[i]} against ${b[i]}`;
  }
  return null;
}

const MIME = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
              '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png'};
// The server can go away (offline: every request fails) and can hand out the
// service worker of another build (its cache version changed).
function serve(folder) {
  const sockets = new Set();
  const server = http.createServer((request, response) => {
    if (server.offline) {
      request.socket.destroy();
      return;
    }
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': MIME[path.extname(file)] || 'application/octet-stream'});
    if (server.workerVersion && name === '/service_worker.js') {
      response.end(fs.readFileSync(file, 'utf8').replace(/\d+\.\d+\.\d+-[0-9a-f]{16}/, server.workerVersion));
      return;
    }
    fs.createReadStream(file).pipe(response);
  });
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  server.goOffline = (offline) => {
    server.offline = offline;
    if (offline) for (const socket of sockets) socket.destroy();
  };
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// CPU seconds of a process and all its descendants.
function cpuSeconds(rootPid) {
  const ticks = 100;  // USER_HZ on Linux
  const children = new Map();
  const times = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const parent = Number(fields[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
      times.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / ticks);
    } catch (e) {
      // The process ended meanwhile.
    }
  }
  let total = 0;
  const todo = [rootPid];
  while (todo.length) {
    const pid = todo.pop();
    total += times.get(pid) || 0;
    todo.push(...(children.get(pid) || []));
  }
  return total;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// What the checks read from a page: a region of its canvas, the pictures
// shown so far, a condition that must come true in time, a region that
// must equal the reference's.
function pageTools(page) {
  // Read through a canvas of the test's own, so that the page's canvas is
  // only ever drawn to, as the program does.
  const region = (r) => page.evaluate(([x, y, w, h]) => {
    const copy = document.createElement('canvas');
    copy.width = w;
    copy.height = h;
    const context = copy.getContext('2d', {willReadFrequently: true});
    context.drawImage(document.getElementById('screen'), -x, -y);
    return Array.from(context.getImageData(0, 0, w, h).data);
  }, r);
  const pictures = () => page.evaluate(() => Module.picturesShown || 0);
  async function until(what, test, ms = 10000) {
    const end = Date.now() + ms;
    let last;
    while (Date.now() < end) {
      last = await test();
      if (last === true) return true;
      await sleep(50);
    }
    check(what, false, typeof last === 'string' ? last : 'not within the time');
    return false;
  }
  async function same(what, reference, r) {
    let detail = null;
    const ok = await until(what, async () => {
      detail = firstDifference(await region(r), cut(reference, r));
      return detail === null || detail;
    });
    if (ok) check(what, true);
  }
  return {region, pictures, until, same};
}

// Every problem the page reports: console errors and warnings, page
// errors, failed requests.
function watch(page, problems) {
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning' || message.type() === 'warn') {
      problems.push(`console ${message.type()}: ${message.text()}`);
    }
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));
}

// The buttons shown, in the page's order: at the start, and in the lab view.
const BUTTON_KEYS = ['g', 'k', 'a', 'i', 'm', 's', 'w', 'e', '+', '-', 'PageUp', 'PageDown',
                     'r', 'c', 'p', 'h', 'b', 'B', 't', 'u', 'G', 'K', 'f', 'l', 'ArrowUp', 'ArrowLeft',
                     'ArrowDown', 'ArrowRight'];
const LAB_BUTTON_KEYS = ['g', 'k', 'm', 's', 'w', 'e', '+', '-', 'PageUp', 'PageDown', 'r', 'c', 'p',
                         'h', 'b', 'B', 'u', 'q', 'G', 'K', 'z', 'Z', 'l', 'ArrowUp', 'ArrowLeft',
                         'ArrowDown', 'ArrowRight'];

// The page's layout in a viewport: its shown buttons' keys and boxes, whether
// the page is wider or taller than the viewport, the canvas's box.
async function layout(page) {
  return page.evaluate(() => {
    const buttons = [...document.querySelectorAll('[data-key]')].filter(
        (button) => button.getClientRects().length > 0).map((button) => {
      const r = button.getBoundingClientRect();
      return {key: button.dataset.key, w: r.width, h: r.height, left: r.left, right: r.right,
              tabIndex: button.tabIndex};
    });
    const screen = document.getElementById('screen').getBoundingClientRect();
    const root = document.documentElement;
    return {buttons, screen: {w: screen.width, h: screen.height},
            wider: root.scrollWidth > innerWidth, taller: root.scrollHeight > innerHeight};
  });
}

// Nothing vanishes while a key is held: each key erases the rays and the
// axis (and "+" the whole scene) and the next frame draws them again; the
// page shows only whole frames. While a key is held (a repeat about every
// 50 ms), a look every 0.1 s: the detector line, the axis from the barrier
// to it and both rays in every one.
async function heldKeys(page) {
  const figures = () => page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const copy = document.createElement('canvas');
    copy.width = 640;
    copy.height = 480;
    const c = copy.getContext('2d', {willReadFrequently: true});
    c.drawImage(canvas, 0, 0);
    const data = c.getImageData(0, 0, 640, 480).data;
    const is = (x, y, [r, g, b]) => {
      const i = (y * 640 + x) * 4;
      return data[i] === r && data[i + 1] === g && data[i + 2] === b;
    };
    let line = -1;
    for (let x = 639; x >= 30 && line < 0; x--) {
      let red = 0;
      for (let y = 40; y < 440; y++) red += is(x, y, [170, 0, 0]) ? 1 : 0;
      if (red >= 320) line = x;
    }
    if (line < 0) return 'no detector line';
    const span = line - 40;
    let axis = 0;
    for (let x = 35; x < 35 + span; x++) axis += is(x, 248, [170, 170, 170]) ? 1 : 0;
    if (axis < span * 9 / 10) return `the axis has ${axis} of ${span} pixels`;
    for (const ray of [[85, 255, 85], [0, 0, 170]]) {
      let n = 0;
      for (let y = 180; y < 300; y++) {
        for (let x = 35; x < 35 + span; x++) n += is(x, y, ray) ? 1 : 0;
      }
      if (n < span * 9 / 10) return `the ray ${ray} has ${n} pixels over ${span} columns`;
    }
    return line;
  });
  async function hold(key, seconds) {
    const looks = [];
    await page.keyboard.down(key);
    const end = Date.now() + seconds * 1000;
    let next = Date.now();
    while (Date.now() < end) {
      await page.keyboard.down(key);  // held: a repeat
      if (Date.now() >= next) {
        looks.push(await figures());
        next += 100;
      }
      await sleep(50);
    }
    await page.keyboard.up(key);
    return looks;
  }
  const left = await hold('ArrowLeft', 2);
  const looks = [...left, ...await hold('+', 1)];
  const broken = looks.filter((look) => typeof look === 'string');
  check(`held keys: the line, the axis and the rays in all of ${looks.length} looks`,
        looks.length >= 25 && broken.length === 0, broken.join('; '));
  const lines = left.filter((look) => typeof look === 'number');
  check('held left cursor key: the line moved', Math.max(...lines) - Math.min(...lines) >= 10,
        `from ${Math.max(...lines)} to ${Math.min(...lines)}`);
}

// The buttons, the pointer, the status line and the page without a network,
// in a tab of its own after a first visit (which left the service worker).
async function touchAndOffline(browser, url, server, kind) {
  const label = (what) => (kind === 'chromium' ? what : `${kind}: ${what}`);
  const ok = (what, test, detail) => check(label(what), test, detail);
  const problems = [];
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 768, hasTouch: true});
  watch(page, problems);
  const tools = pageTools(page);
  const {region, pictures} = tools;
  const until = (what, test, ms) => tools.until(label(what), test, ms);
  const same = (what, reference, r) => tools.same(label(what), reference, r);
  async function eventually(what, test, ms) {
    if (await until(what, test, ms)) ok(what, true);
  }
  const started = () =>
      page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  async function runs(what) {
    const before = await pictures();
    await eventually(what, async () => (await pictures()) > before + 3);
  }
  // A finger in Chromium; Firefox's headless WebDriver BiDi cannot
  // synthesize touch (performActions fails), so there it is the mouse.
  const finger = kind === 'chromium' ? {
    down: (x, y) => page.touchscreen.touchStart(x, y),
    move: (x, y) => page.touchscreen.touchMove(x, y),
    up: () => page.touchscreen.touchEnd(),
  } : {
    down: async (x, y) => {
      await page.mouse.move(x, y);
      await page.mouse.down();
    },
    move: (x, y) => page.mouse.move(x, y),
    up: () => page.mouse.up(),
  };
  async function tap(key) {
    const box = await (await page.$(`[data-key="${key}"]`)).boundingBox();
    await finger.down(box.x + box.width / 2, box.y + box.height / 2);
    await finger.up();
  }
  // The viewport position of the centre of picture pixel (x, y).
  async function at(x, y) {
    const box = await (await page.$('#screen')).boundingBox();
    return [box.x + (x + 0.5) * box.width / 640, box.y + (y + 0.5) * box.height / 480];
  }
  // The columns of the red detector line: red on rows far apart.
  async function detectorColumns() {
    const rows = await Promise.all([30, 120, 300, 450].map((y) => region([0, y, 640, 1])));
    const columns = [];
    for (let x = 0; x < 640; x++) {
      if (rows.every((row) => RED.every((v, i) => row[x * 4 + i] === v))) columns.push(x);
    }
    return columns;
  }
  const lineAt = (column) => async () => {
    const columns = await detectorColumns();
    return (columns.length === 1 && columns[0] === column) || `red columns ${columns.join(' ')}`;
  };
  // Rows 0..479 whose curve sample reaches the right edge.
  async function sampledRows() {
    const edge = await region([639, 0, 1, 480]);
    let count = 0;
    for (let y = 0; y < 480; y++) {
      if (LIGHT_RED.every((v, i) => edge[y * 4 + i] === v)) count += 1;
    }
    return count;
  }

  await page.goto(url + GERMAN);
  await started();
  await eventually('the service worker is registered and controls the page', () => page.evaluate(
      async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return (registration && registration.active !== null &&
                navigator.serviceWorker.controller !== null) || 'not yet';
      }));

  // At 1024 x 768 everything fits; a button is large enough for a finger,
  // and none takes the focus.
  const wide = await layout(page);
  ok('one button per key', JSON.stringify(wide.buttons.map((b) => b.key)) ===
     JSON.stringify(BUTTON_KEYS), wide.buttons.map((b) => b.key).join(' '));
  const small = wide.buttons.filter((b) => b.w < 44 || b.h < 44 || b.tabIndex !== -1);
  ok('every button at least 44 x 44 and out of the tab order', small.length === 0,
     JSON.stringify(small));
  ok('at 1024 x 768 the page fits the window', !wide.wider && !wide.taller, JSON.stringify(wide));

  // A tap on g adds a slit; the keyboard still works after it.
  await tap('g');
  await same('a tap on g: the heading shows 3', readReference('three'), STATIC.heading);
  ok('the button took no focus', await page.evaluate(() => document.activeElement === document.body));
  await page.keyboard.press('k');
  await same('then k from the keyboard: the heading shows 2', readReference('start'),
             STATIC.heading);
  // The grating's buttons type the capitals: G is one slit more, K one fewer.
  await tap('G');
  await same('a tap on G: the heading shows 3', readReference('three'), STATIC.heading);
  await tap('K');
  await same('then a tap on K: the heading shows 2', readReference('start'), STATIC.heading);
  // The wave picture's button: the room below the rays takes its shades;
  // two taps more leave it white again.
  const white = async () => {
    const pixels = await region([100, 300, 300, 100]);
    return pixels.every((v, i) => i % 4 === 3 || v === 255);
  };
  await tap('f');
  await eventually('a tap on f: the wave picture fills the room',
                   async () => !(await white()) || 'still white');
  await tap('f');
  await tap('f');
  await eventually('two taps more: the room is white again', async () => (await white()) || 'not white');

  // The tone's button: a trusted tap wakes the page's audio, and the gain it
  // asks for is the tone's scale (0.3) times the resultant's length over its
  // longest: 0.76 at the start, 30 rows above the axis; 1 on the axis.
  // Headless Firefox has no sound output to run its audio on: there the
  // gain asked for alone counts.
  const gain = () => page.evaluate(() => [Module.toneGain,
                                          Module.toneContext && Module.toneContext.state]);
  const gainNear = (want) => async () => {
    const [g, state] = await gain();
    return (g !== undefined && Math.abs(g - want) < 0.005 &&
            (state === 'running' || kind !== 'chromium')) ||
        `gain ${g}, audio ${state}`;
  };
  await tap('l');
  await eventually('a tap on l: the gain is 0.76 of the scale 30 rows up', gainNear(0.3 * 0.763));
  await page.keyboard.press('5');
  await eventually('on the axis: the whole scale', gainNear(0.3));
  // With ticks, a drag up the detector line from the axis through the
  // double slit's first minimum (67 rows up) to the first maximum: each
  // frame's gain is the scale times |cos(k (r1 - r2) / 2)| of two slits 20
  // rows apart, 535 columns before the line, within a row's change, since
  // the finger may land a row off.
  await tap('l');
  const twoSlits = (offset) => 0.3 * Math.abs(Math.cos(
      Math.PI / 5 * (Math.hypot(535, offset - 10) - Math.hypot(535, offset + 10))));
  const ticks = () => page.evaluate(() => Module.toneTicks || 0);
  const ticksBefore = await ticks();
  const heard = [];
  await finger.down(...await at(560, 248));
  for (let offset = 0; offset <= 140; offset += 4) {
    await finger.move(...await at(560, 248 - offset));
    // The finger's move reaches the program within a frame or two.
    const near = [offset - 1, offset, offset + 1].map(twoSlits);
    const fits = (g) => Math.min(...near) - 0.005 <= g && g <= Math.max(...near) + 0.005;
    const shown = await pictures();
    let g;
    while (!fits(g = (await gain())[0]) && (await pictures()) <= shown + 4) await sleep(10);
    heard.push([offset, g, fits(g)]);
  }
  await finger.up();
  const last = await pictures();
  await until('frames after the drag', async () => (await pictures()) > last + 3);
  const off = heard.filter(([, , fits]) => !fits);
  ok('a drag through a minimum and a maximum: the gain follows the resultant\'s length',
     off.length === 0, off.map(([o, g]) => `${o} rows up: ${g.toFixed(3)}`).join(', '));
  ok('the drag met the minimum and the maximum',
     Math.min(...heard.map(([, g]) => g)) < 0.02 && Math.max(...heard.map(([, g]) => g)) > 0.29,
     heard.map(([, g]) => g.toFixed(2)).join(' '));
  const ticked = (await ticks()) - ticksBefore;
  ok('ticks at the turns passed (the minimum, the first maximum)', ticked >= 2 && ticked <= 4,
     `${ticked} ticks`);
  await tap('l');
  await eventually('one tap more: the tone is off', async () => (await gain())[0] === 0 ||
                   `gain ${(await gain())[0]}`);
  await finger.down(...await at(560, 218));
  await finger.up();

  // A held arrow button: one press, repeats while held, one release.
  await page.evaluate(() => {
    const pass = Module.passKey;
    window.keysPassed = [];
    Module.passKey = (event, down) => {
      window.keysPassed.push(`${event.key}${down ? (event.repeat ? ' again' : ' down') : ' up'}`);
      pass(event, down);
    };
  });
  const up = await (await page.$('[data-key="ArrowUp"]')).boundingBox();
  await finger.down(up.x + up.width / 2, up.y + up.height / 2);
  await until('a held arrow button repeats', () => page.evaluate(
      () => window.keysPassed.filter((k) => k === 'ArrowUp again').length >= 3 ||
            window.keysPassed.join(', ')));
  await finger.up();
  const passed = await page.evaluate(() => window.keysPassed.join(', '));
  ok('a held arrow button: down, repeats, up', /^ArrowUp down(, ArrowUp again){3,}, ArrowUp up$/
     .test(passed), passed);

  // A drag moves the detector line; a mouse drag beyond the canvas goes on
  // to its edge, since the canvas keeps the pointer captured.
  await eventually('the detector line stands at column 560', lineAt(560));
  // Row 210 lies between the rows the line is read on, which the rays and
  // phasors at the detector point would cover.
  await finger.down(...await at(560, 210));
  for (const x of [550, 530, 510, 500]) await finger.move(...await at(x, 210));
  await finger.up();
  await eventually('a drag moves the detector line to column 500', lineAt(500));
  await page.mouse.move(...await at(500, 200));
  await page.mouse.down();
  const box = await (await page.$('#screen')).boundingBox();
  await page.mouse.move(box.x + box.width + 40, box.y + box.height / 2, {steps: 4});
  await eventually('a mouse drag beyond the canvas: the line at the edge', lineAt(639));
  await page.mouse.up();
  await page.mouse.move(...await at(600, 200));
  await runs('a mouse over the canvas, not pressed: the picture runs on');
  ok('and the line stays', (await lineAt(639)()) === true);

  // A tap on i, then a drag down the picture: the curve samples of the rows
  // passed appear at the right edge.
  await tap('i');
  await eventually('a tap on i: the line moves by 80 columns', lineAt(559));
  const sampled = await sampledRows();
  await finger.down(...await at(559, 60));
  await finger.move(...await at(559, 200));
  await finger.move(...await at(559, 420));
  await finger.up();
  await eventually('a drag draws the curve samples of the rows passed', async () => {
    const now = await sampledRows();
    return now > sampled + 100 || `${sampled} rows sampled before, ${now} after`;
  });

  // Single steps show on the status line and in the title.
  await tap('s');
  await eventually('s: the status line says Einzelschritt', () => page.evaluate(
      () => (/Einzelschritt/.test(document.getElementById('status').textContent) &&
             /Einzelschritt/.test(document.title)) || document.getElementById('status').textContent));
  await tap('w');
  await eventually('w: the status line is clear again', () => page.evaluate(
      () => (document.getElementById('status').textContent === '' &&
             !/Einzelschritt/.test(document.title)) || document.getElementById('status').textContent));

  // The manifest: a name, the page as its start, icons that load.
  const manifest = await page.evaluate(async () => {
    const href = new URL(document.querySelector('link[rel="manifest"]').getAttribute('href'),
                         location.href).href;
    const data = await (await fetch(href)).json();
    const icons = await Promise.all((data.icons || []).map(async (icon) => {
      const image = new Image();
      image.src = new URL(icon.src, href).href;
      try {
        await image.decode();
        return `${icon.src} ${icon.sizes} ${image.naturalWidth}x${image.naturalHeight}`;
      } catch (error) {
        return `${icon.src} does not load`;
      }
    }));
    return {data, icons, start: new URL(data.start_url, href).href};
  });
  const {data} = manifest;
  ok('the manifest names the program, in German, standalone',
     data.name === 'Mehrfachspalt' && data.lang === 'de' && data.display === 'standalone' &&
     /Interferenz/.test(data.description), JSON.stringify(data));
  ok('the manifest starts the page', manifest.start === url, manifest.start);
  const icons = manifest.icons.join('; ');
  ok('the manifest\'s icons load: SVG, 192 and 512 pixels',
     /mehrfachspalt\.svg any \d+x\d+/.test(icons) && /192x192 192x192/.test(icons) &&
     /512x512 512x512/.test(icons), icons);
  if (kind === 'chromium') {
    const session = await page.createCDPSession();
    const {errors} = await session.send('Page.getAppManifest');
    ok('Chromium reads the manifest without an error', errors.length === 0, JSON.stringify(errors));
    const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
    ok('Chromium finds the page installable', installabilityErrors.length === 0,
       JSON.stringify(installabilityErrors));
  }

  // Without a network the page opens and runs from what the service worker
  // kept. Failed requests there are the point, not a problem.
  const cacheNames = () => page.evaluate(() => caches.keys());
  const kept = await cacheNames();
  ok('one cache, named with the version and the files\' hash',
     kept.length === 1 && /^mehrfachspalt \d+\.\d+\.\d+-[0-9a-f]{16} /.test(kept[0]), kept.join(', '));
  const online = problems.length;
  server.goOffline(true);
  if (kind === 'chromium') await page.setOfflineMode(true);
  await page.reload();
  await started();
  await runs('offline: a reload shows the picture and runs');
  await same('offline: the start picture', readReference('start'), STATIC.heading);
  await tap('g');
  await same('offline: a tap on g, the heading shows 3', readReference('three'), STATIC.heading);
  if (kind === 'chromium') await page.setOfflineMode(false);
  server.goOffline(false);
  problems.splice(online);

  // A new build: its worker fetches the files anew and drops the old cache.
  server.workerVersion = `9.9.9-${'f'.repeat(16)}`;
  await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
  await eventually('a new build\'s worker replaces the cache', async () => {
    const names = await cacheNames();
    return (names.length === 1 && names[0].startsWith(`mehrfachspalt ${server.workerVersion} `)) ||
        names.join(', ');
  });
  server.workerVersion = null;

  // On a phone, upright and sideways: nothing wider than the screen, the
  // buttons large enough, the picture not too small.
  if (kind === 'chromium') {
    for (const [width, height] of [[390, 844], [844, 390]]) {
      await page.setViewport({width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 2});
      await started();
      const phone = await layout(page);
      const off = phone.buttons.filter((b) => b.w < 44 || b.h < 44 || b.left < 0 ||
                                              b.right > width);
      ok(`a ${width} x ${height} phone: nothing wider than the screen, buttons of 44 x 44`,
         !phone.wider && off.length === 0, JSON.stringify(phone));
      ok(`a ${width} x ${height} phone: the picture at least 320 pixels wide`,
         phone.screen.w >= 320, JSON.stringify(phone.screen));
    }
  }
  ok('the console shows no error', problems.length === 0, problems.join('; '));
  await page.close();
}

// The screens of a classroom: viewport width, height and device pixel ratio.
// The first five (laptops and projectors with the browser's bars, a 1920 x
// 1080 screen at 125 %) have room for the picture at 1:1 or larger.
const SCREENS = [[1366, 680, 1], [1280, 720, 1], [1024, 680, 1], [1920, 970, 1], [1536, 730, 1.25],
                 [768, 1024, 1], [390, 844, 1], [844, 390, 1]];
const FULL_SIZE = 5;
// The start picture's green ray runs from slit 1 at (25, 238) to the
// detector point at (560, 218); between x 40 and 500 nothing else crosses
// it. Light green on white: what a column shows of it is how much greener
// than red its greenest pixel near the ray is (170 for the ray's own colour).
// A sixth of that is still a visible line; a row dropped by scaling shows 0.
const RAY = {from: [25, 238], to: [560, 218], x: [40, 500]};
const RAY_SEEN = 170 / 6;

// What a user sees of the page: the canvas, every shown button with the
// box inside its border and padding and the boxes of its label's lines.
function screenLayout(page) {
  return page.evaluate(() => {
    const box = (r) => ({left: r.left, top: r.top, right: r.right, bottom: r.bottom,
                         w: r.width, h: r.height});
    const buttons = [...document.querySelectorAll('button')].filter(
        (button) => button.getClientRects().length > 0).map((button) => {
      const style = getComputedStyle(button);
      const r = button.getBoundingClientRect();
      const px = (name) => parseFloat(style[name]);
      const inner = {left: r.left + px('borderLeftWidth') + px('paddingLeft'),
                     right: r.right - px('borderRightWidth') - px('paddingRight'),
                     top: r.top + px('borderTopWidth') + px('paddingTop'),
                     bottom: r.bottom - px('borderBottomWidth') - px('paddingBottom')};
      const range = document.createRange();
      range.selectNodeContents(button);
      return {label: button.textContent, ...box(r), inner,
              lines: [...range.getClientRects()].map(box)};
    });
    const root = document.documentElement;
    return {buttons, canvas: box(document.getElementById('screen').getBoundingClientRect()),
            ratio: devicePixelRatio, width: root.clientWidth, height: root.clientHeight,
            scrollWidth: root.scrollWidth, scrollHeight: root.scrollHeight};
  });
}

// The weakest column of the ray in a screenshot of the viewport: the
// device columns between picture x 40 and 500, each searched a few device
// rows around the ray.
function weakestRayColumn(png, canvas, ratio) {
  const width = png.readUInt32BE(16);  // the PNG header's width
  const rgba = execFileSync('convert', ['png:-', '-depth', '8', 'rgba:-'],
                            {input: png, maxBuffer: 1 << 28});
  const k = canvas.w / 640;  // CSS pixels per picture pixel
  const rayY = (x) => RAY.from[1] + (x - RAY.from[0]) * (RAY.to[1] - RAY.from[1]) /
      (RAY.to[0] - RAY.from[0]);
  let weakest = {seen: Infinity, column: -1};
  const first = Math.ceil((canvas.left + RAY.x[0] * k) * ratio);
  const last = Math.floor((canvas.left + (RAY.x[1] + 1) * k) * ratio);
  for (let column = first; column < last; column++) {
    const x = ((column + 0.5) / ratio - canvas.left) / k;
    const row = (canvas.top + (rayY(x) + 0.5) * k) * ratio;
    const reach = 2 + k * ratio;
    let seen = -255;
    for (let y = Math.floor(row - reach); y <= Math.ceil(row + reach); y++) {
      const at = (y * width + column) * 4;
      seen = Math.max(seen, rgba[at + 1] - rgba[at]);
    }
    if (seen < weakest.seen) weakest = {seen, column};
  }
  return weakest;
}

const settle = (page) => page.evaluate(
    () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));

// The page at the screens of a classroom, each in turn: the picture's
// scale, the buttons beside or below it and whole, the green ray unbroken;
// then the projector view, in and out by its button.
async function classroomScreens(browser, url, kind, screens) {
  const label = (what) => (kind === 'chromium' ? what : `${kind}: ${what}`);
  const ok = (what, test, detail) => check(label(what), test, detail);
  const problems = [];
  const page = await browser.newPage();
  watch(page, problems);
  const tools = pageTools(page);
  await page.setViewport({width: 1024, height: 768});
  await page.goto(url + GERMAN);
  await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  for (const [width, height, ratio] of screens) {
    const name = `${width} x ${height}${ratio === 1 ? '' : ` at ${ratio}`}`;
    await page.setViewport({width, height, deviceScaleFactor: ratio});
    await settle(page);
    const view = await screenLayout(page);
    const {canvas} = view;
    const scale = canvas.w * view.ratio / 640;
    console.log(`measure: ${label(name)}: scale ${scale.toFixed(3)}, canvas ${canvas.w} x ${canvas.h}`);
    if (SCREENS.indexOf(screens.find((s) => s[0] === width && s[1] === height)) < FULL_SIZE) {
      ok(`${name}: the picture at 1:1 or larger`, scale >= 1, scale);
      ok(`${name}: the whole page on screen`, view.scrollWidth <= view.width &&
         view.scrollHeight <= view.height, JSON.stringify(view));
    }
    ok(`${name}: from 2:1 up a whole number of device pixels per picture pixel`,
       scale < 2 || Math.abs(scale - Math.round(scale)) < 1e-6, scale);
    ok(`${name}: nothing wider than the window`, view.scrollWidth <= view.width,
       `${view.scrollWidth} > ${view.width}`);
    const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom &&
                               b.top < a.bottom;
    const misplaced = view.buttons.filter(
        (b) => b.left < 0 || b.top < 0 || b.right > view.scrollWidth ||
               b.bottom > view.scrollHeight || overlaps(b, canvas) || b.w < 44 || b.h < 44);
    ok(`${name}: every button inside the page, none over the picture, 44 x 44 at least`,
       misplaced.length === 0, JSON.stringify(misplaced));
    const spilling = view.buttons.filter((b) => b.lines.some(
        (line) => line.left < b.inner.left - 0.5 || line.right > b.inner.right + 0.5 ||
                  line.top < b.inner.top - 0.5 || line.bottom > b.inner.bottom + 0.5));
    ok(`${name}: every label inside its button's padding`, spilling.length === 0,
       spilling.map((b) => b.label).join(', '));
    const ray = weakestRayColumn(await page.screenshot(), canvas, view.ratio);
    ok(`${name}: the green ray without a gap`, ray.seen >= RAY_SEEN,
       `device column ${ray.column} shows ${ray.seen}`);
  }

  // The projector view: the picture fills the window one way with its
  // shape kept, the buttons wait behind the toggle, the keys work on.
  await page.click('#projector');
  await settle(page);
  const big = await screenLayout(page);
  const {canvas} = big;
  const slack = 4 / big.ratio;  // the canvas is sized in steps of 4 device pixels
  ok('the projector button: the picture fills the window\'s height or width',
     (big.width - canvas.w <= slack || big.height - canvas.h <= slack) && canvas.left >= 0 &&
     canvas.top >= 0 && canvas.right <= big.width && canvas.bottom <= big.height,
     JSON.stringify({canvas, width: big.width, height: big.height}));
  ok('in the projector view the picture keeps its shape',
     Math.abs(canvas.w * 3 - canvas.h * 4) < 1, JSON.stringify(canvas));
  ok('in the projector view only the toggle is shown', big.buttons.length === 1 &&
     big.buttons[0].w >= 44 && big.buttons[0].h >= 44, big.buttons.map((b) => b.label).join(', '));
  await page.keyboard.press('g');
  await tools.same(label('in the projector view g adds a slit'), readReference('three'),
                   STATIC.heading);
  await page.keyboard.press('k');
  await tools.same(label('and k takes it away'), readReference('start'), STATIC.heading);
  await page.click('#panel-toggle');
  await page.click('#projector');
  await settle(page);
  const back = await page.evaluate(() => ({
    projector: document.documentElement.classList.contains('projector'),
    fullscreen: document.fullscreenElement !== null,
    buttons: document.querySelectorAll('[data-key]')[0].getClientRects().length}));
  ok('the projector button again: back to the page with its buttons',
     !back.projector && !back.fullscreen && back.buttons === 1, JSON.stringify(back));
  // F11, where the browser passes it on, is the page's: on and off again.
  const projector = () => page.evaluate(
      () => document.documentElement.classList.contains('projector'));
  await page.keyboard.press('F11');
  await settle(page);
  const byKey = await projector();
  await page.keyboard.press('F11');
  await settle(page);
  ok('F11 enters the projector view and leaves it', byKey && !(await projector()));
  ok('the console shows no error', problems.length === 0, problems.join('; '));
  await page.close();
}

// Firefox ESR through WebDriver BiDi, as bench/page_cost.cjs launches it:
// the page's new checks once more.
async function inFirefox(url, server) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mehrfachspalt-firefox-'));
  let browser;
  try {
    // puppeteer-core 22 names the browser "product", later versions "browser".
    browser = await puppeteer.launch({product: 'firefox', browser: 'firefox',
                                      protocol: 'webDriverBiDi', executablePath: firefox,
                                      headless: true, userDataDir: profile});
    await touchAndOffline(browser, url, server, 'Firefox');
    await classroomScreens(browser, url, 'Firefox', [SCREENS[2], SCREENS[6]]);
  } finally {
    if (browser) await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

// The page in other languages: ?lang=, the browser's languages, the choice
// on the page that keeps itself, and without a network; the picture's texts
// as the headless program draws them in that language, the buttons' words
// within their buttons. Anything else in ?lang= gives German.
async function languages(browser, url, server) {
  const problems = [];
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 900});
  watch(page, problems);
  const {same, until} = pageTools(page);
  // What navigator.languages answers in the documents opened next.
  let speaking = null;
  async function open(address, browserLanguages) {
    if (speaking) await page.removeScriptToEvaluateOnNewDocument(speaking.identifier);
    speaking = await page.evaluateOnNewDocument((wanted) => {
      Object.defineProperty(navigator, 'languages', {get: () => wanted});
    }, browserLanguages);
    await page.goto(address);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
    return page.evaluate(() => ({
      lang: document.documentElement.lang,
      end: document.querySelector('[data-key="e"]').title,
      up: document.querySelector('[data-key="ArrowUp"]').title,
      choice: document.getElementById('language').value,
    }));
  }
  const french = readReference('start-fr');
  const START = readReference('start');
  const inFrench = (texts) => texts.lang === 'fr' && texts.end === 'quitter' &&
                              texts.up === 'détecteur vers le haut' && texts.choice === 'fr';
  check('the references differ in French',
        firstDifference(cut(french, STATIC.hint), cut(START, STATIC.hint)) !== null);

  // Every text the page shows, and says to a screen reader, by element.
  const pageTexts = () => page.evaluate(() => [...document.querySelectorAll(
      'button, .caption, [aria-label], h1 small')].map((e) => [
        e.title, e.getAttribute('aria-label'),
        e.tagName === 'SELECT' ? '' : e.textContent.trim()]));  // the languages' own names
  await open(url + GERMAN, ['de-DE']);
  const german = await pageTexts();
  let texts = await open(url + '?lang=fr', ['de-DE']);
  check('?lang=fr: French buttons and language', inFrench(texts), JSON.stringify(texts));
  const untranslated = (await pageTexts()).map((e, i) => [e, german[i]])
      .filter(([e, g]) => e.some((text, k) => text && text === g[k] && /[a-zäöü]{3}/.test(text)))
      .map(([e]) => e.join(' | '));
  check('?lang=fr: no German left on the page', untranslated.length === 0, untranslated.join('; '));
  for (const name of ['spacing', 'wavelength', 'hint']) {
    await same(`?lang=fr: the picture's ${name} in French`, french, STATIC[name]);
  }
  const overflowing = await page.evaluate(() => [...document.querySelectorAll('button, h1')]
      .filter((b) => b.offsetParent && b.scrollWidth > b.clientWidth + 1)
      .map((b) => b.title || b.textContent));
  check('?lang=fr: every button\'s words within it, the heading whole', overflowing.length === 0,
        overflowing.join(', '));
  await page.keyboard.press('s');
  if (await until('?lang=fr: s, the status line and the title in French', () => page.evaluate(
      () => /^Pas à pas/.test(document.getElementById('status').textContent) &&
            /pas à pas$/.test(document.title)))) {
    check('?lang=fr: s, the status line and the title in French', true);
  }
  await page.keyboard.press('w');
  await page.keyboard.press('e');
  if (await until('?lang=fr: e, the end in French', () => page.evaluate(
      () => /terminé/.test(document.getElementById('status').textContent)))) {
    check('?lang=fr: e, the end in French', true);
  }

  texts = await open(url, ['fr-CA', 'en-US']);
  check('a French browser: French buttons', inFrench(texts), JSON.stringify(texts));
  await same('a French browser: the hint in French', french, STATIC.hint);
  texts = await open(url, ['pt-BR', 'es']);
  check('a browser for Portuguese, then Spanish: Spanish',
        texts.lang === 'es' && texts.end === 'salir', JSON.stringify(texts));
  texts = await open(url + '?lang=FR-ca', ['de-DE']);
  check('?lang=FR-ca: French', inFrench(texts), JSON.stringify(texts));
  for (const odd of ['xx', '%3Cb%3Efr%3C%2Fb%3E', 'constructor', '__proto__', '']) {
    texts = await open(`${url}?lang=${odd}`, ['xx-YY']);
    check(`?lang=${decodeURIComponent(odd)}: German`, texts.lang === 'de' && texts.end === 'Ende',
          JSON.stringify(texts));
  }
  await same('?lang= with anything: the German hint', START, STATIC.hint);

  // The choice on the page: the page starts again in it, and keeps it.
  await open(url + GERMAN, ['de-DE']);
  await Promise.all([page.waitForNavigation(), page.select('#language', 'es')]);
  await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  const chosen = await page.evaluate(() => document.documentElement.lang);
  check('choosing Español: the page in Spanish', chosen === 'es', chosen);
  texts = await open(url, ['fr-FR']);
  check('the choice kept over the browser\'s languages', texts.lang === 'es', JSON.stringify(texts));
  texts = await open(url + '?lang=en', ['fr-FR']);
  check('?lang= over the kept choice', texts.lang === 'en' && texts.end === 'quit',
        JSON.stringify(texts));
  await page.evaluate(() => localStorage.clear());

  // Without a network, in French: from what the service worker kept.
  const online = problems.length;
  server.goOffline(true);
  await page.setOfflineMode(true);
  texts = await open(url + '?lang=fr', ['de-DE']);
  check('offline: ?lang=fr, French buttons', inFrench(texts), JSON.stringify(texts));
  await same('offline: the hint in French', french, STATIC.hint);
  await page.setOfflineMode(false);
  server.goOffline(false);
  problems.splice(online);
  check('languages: the console shows no error', problems.length === 0, problems.join('; '));
  await page.close();
}

// The page for screen readers: the picture's words in a polite live region
// after a change, never while nothing changes, in the page's language; the
// canvas, the buttons and the groups as Chromium's accessibility tree has
// them; the page without Web Audio.
async function screenReaders(browser, url) {
  const problems = [];
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 900});
  watch(page, problems);
  const {pictures, until} = pageTools(page);
  const words = () => page.evaluate(() => document.getElementById('description').textContent);
  async function says(what, pattern) {
    let last = '';
    if (await until(what, async () => pattern.test(last = await words()) || last, 15000)) {
      check(what, true);
    }
    return last;
  }
  async function open(address) {
    await page.goto(address);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  }

  await open(url + GERMAN);
  const start = await says('the words at the start, in German', new RegExp(
      '^2 Spalte im Abstand 20 Pix, Wellenlänge 5 Pix, Nahfeld\\. Detektor im Abstand 535 Pix, ' +
      '30 Pix über der Achse\\. Intensität [0-9.]+ von 64, zwischen Maximum und Minimum\\.$'));
  // Two slits 20 rows apart, 535 columns before the line, 30 rows up.
  const share = Math.cos(Math.PI / 5 * (Math.hypot(535, 20) - Math.hypot(535, 40))) ** 2;
  const intensity = Number((/Intensität ([0-9.]+)/.exec(start) || [])[1]);
  check('the intensity said is the two slits\' (cos^2 of half the phase difference)',
        Math.abs(intensity - 64 * share) < 0.1, `${intensity}, ${(64 * share).toFixed(2)}`);
  // Nothing changes: no word in 20 frames, while the picture turns on.
  await page.evaluate(() => {
    window.regionChanges = 0;
    new MutationObserver(() => { window.regionChanges += 1; }).observe(
        document.getElementById('description'), {childList: true, characterData: true, subtree: true});
    window.descriptionsBefore = Module.descriptions;
  });
  const shown = await pictures();
  await until('20 frames pass', async () => (await pictures()) >= shown + 20);
  const quiet = await page.evaluate(
      () => [window.regionChanges, Module.descriptions - window.descriptionsBefore]);
  check('no change of the live region in 20 frames without a change', quiet[0] === 0 && quiet[1] === 0,
        `${quiet[0]} changes, ${quiet[1]} texts`);
  await page.keyboard.press('g');
  await says('g: the words say 3 slits', /^3 Spalte im Abstand 20 Pix, /);
  await page.keyboard.press('5');
  await says('5: on the axis, near the maximum of order 0',
             /auf der Achse\. Intensität [0-9.]+ von 64, nahe dem Maximum 0\. Ordnung\.$/);

  // What Chromium tells a screen reader.
  const tree = await page.target().createCDPSession();
  const {nodes} = await tree.send('Accessibility.getFullAXTree');
  const shownNodes = nodes.filter((node) => !node.ignored);
  const value = (field) => (field && field.value !== undefined ? String(field.value) : '');
  const property = (node, name) => value(((node.properties || []).find((p) => p.name === name) || {}).value);
  const picture = shownNodes.find((node) => value(node.role) === 'image');
  check('the canvas is an image with a name and the words as its description',
        picture && /Zeigerkette/.test(value(picture.name)) &&
        value(picture.description) === await words(),
        picture ? `${value(picture.name)} / ${value(picture.description)}` : 'no image');
  const live = shownNodes.filter((node) => property(node, 'live') === 'polite');
  check('the words and the status line are polite live regions',
        live.some((node) => value(node.role) === 'status') &&
        live.some((node) => value(node.role) === 'paragraph' && property(node, 'atomic') === 'true'),
        live.map((node) => value(node.role)).join(', '));
  const buttons = shownNodes.filter((node) => value(node.role) === 'button');
  const nameless = buttons.filter((node) => value(node.name).trim() === '');
  check('every button has a name', buttons.length >= BUTTON_KEYS.length && nameless.length === 0,
        `${buttons.length} buttons, ${nameless.length} without a name`);
  // In the tree's order (the focus and reading order), as the page shows them.
  const order = shownNodes.filter((node) => !/^(StaticText|InlineTextBox)$/.test(value(node.role)))
      .map((node) => value(node.name))
      .filter((name) => ['Befehle', 'Spaltbreite, Feld, Gitter und Wellenbild', 'Detektor bewegen',
                         'Sprache'].includes(name) || /^Bild: /.test(name));
  check('the tree in the page\'s order: picture, commands, the setting\'s keys, the detector, ' +
        'the language', JSON.stringify(order) === JSON.stringify(
            ['Bild: Spalte, Zeigerkette am Detektor und Intensitätskurve', 'Befehle',
             'Spaltbreite, Feld, Gitter und Wellenbild', 'Detektor bewegen', 'Sprache']),
        JSON.stringify(order));
  const ahead = await page.evaluate(() => [...document.querySelectorAll('[tabindex]')]
      .filter((element) => element.tabIndex > 0).length);
  check('no element jumps the focus order', ahead === 0, `${ahead} with a positive tabindex`);
  await tree.detach();

  await open(url + '?lang=fr');
  await says('the words in French', new RegExp(
      "^2 fentes espacées de 20 px, longueur d'onde 5 px, Champ proche\\. Détecteur à 535 px, " +
      "30 px au-dessus de l'axe\\. Intensité [0-9.]+ sur 64, entre un maximum et un minimum\\.$"));
  await page.keyboard.press('g');
  await says('g: the words in French say 3 slits', /^3 fentes espacées de 20 px, /);

  // A browser without Web Audio: "l" says so on our line, the picture runs on.
  const noAudio = await page.evaluateOnNewDocument(() => {
    window.AudioContext = undefined;
    window.webkitAudioContext = undefined;
  });
  await open(url + GERMAN);
  await page.keyboard.press('l');
  const said = await until('without Web Audio: l says there is no sound', () => page.evaluate(
      () => /^mehrfachspalt: no sound: /.test(document.getElementById('status').textContent) ||
            document.getElementById('status').textContent));
  if (said) check('without Web Audio: l says there is no sound', true);
  const running = await pictures();
  await until('without Web Audio: the picture runs on', async () => (await pictures()) > running + 5);
  await page.removeScriptToEvaluateOnNewDocument(noAudio.identifier);
  problems.splice(0, problems.length, ...problems.filter((p) => !/no sound/.test(p)));
  check('screen readers: the console shows no error', problems.length === 0, problems.join('; '));
  await page.close();
}

// Settings from the page's address: ?setting= opens the picture the
// snapshot tool draws for the same text; a text the program refuses leaves
// the start setting and one line on the status line, never markup.
const PAGE_SETTINGS = ['v1,slits=3', 'v1,slits=1,width=20,field=far,curve=on',
                       'v1,spacing=40,wavelength=10,curve=on,readouts=on',
                       'v1,slits=8,detector=-100,projector=on', 'v1,width=8,menu=on,help=on'];
async function settingsInPage(browser, url) {
  const problems = [];
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 900});
  watch(page, problems);
  const {same, until} = pageTools(page);
  const open = async (query) => {
    await page.goto(url + GERMAN + query);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  };
  for (const [i, text] of PAGE_SETTINGS.entries()) {
    await open('&setting=' + encodeURIComponent(text));
    const reference = readReference(`setting-${i}`);
    for (const name of ['heading', 'spacing', 'wavelength', 'hint']) {
      await same(`?setting=${text}: the ${name} as the snapshot tool draws it`, reference,
                 STATIC[name]);
    }
  }
  const status = () => page.evaluate(() => {
    const line = document.getElementById('status');
    return {text: line.textContent, elements: line.children.length};
  });
  for (const odd of ['bogus', '<b>v1</b>', 'v1,slits=9', 'v1,width=7', 'v1,' + 'x'.repeat(100000)]) {
    await open('&setting=' + encodeURIComponent(odd));
    const refused = await until(`?setting=${odd.slice(0, 20)}: one line on the status line`,
                                async () => {
                                  const line = await status();
                                  return (/^mehrfachspalt: setting: /.test(line.text) &&
                                          line.elements === 0) || JSON.stringify(line);
                                });
    if (refused) check(`?setting=${odd.slice(0, 20)}: one line on the status line`, true);
    await same(`?setting=${odd.slice(0, 20)}: the start picture`, readReference('start'),
               STATIC.heading);
  }
  // The link: three slits, then the button; the address it made opens them.
  await open('');
  await page.keyboard.press('g');
  await page.click('#link-button');
  const made = await until('the link button makes the address', () => page.evaluate(
      () => typeof Module.settingLink === 'string' || 'none yet'));
  if (made) {
    const link = await page.evaluate(() => Module.settingLink);
    const shown = await page.evaluate(() => ({
      field: document.getElementById('link').hidden ? '' : document.getElementById('link').value,
      line: document.getElementById('status').textContent}));
    check('the address holds the setting, copied or shown to copy',
          /^v1,slits=3(,phase=[-0-9.e]+)?$/.test(new URL(link).searchParams.get('setting')) &&
          (shown.field === link || /kopiert/.test(shown.line)), `${link} ${JSON.stringify(shown)}`);
    await page.goto(link);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
    await same('the address opens the setting: the heading shows 3', readReference('three'),
               STATIC.heading);
  }
  // The experiments, listed as "v" steps through them: each opens its setting.
  await open('');
  const options = await page.$$eval('#experiment option', (all) => all.map((o) => o.value));
  check('the page lists the seven experiments',
        options.length === 8 && options.slice(1).every((v) => /^v1/.test(v)), options.join(' '));
  await Promise.all([page.waitForNavigation(), page.select('#experiment', options[7])]);
  await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  const opened = await page.evaluate(() => new URLSearchParams(location.search).get('setting'));
  check('choosing experiment 7 opens its setting', opened === options[7], opened);
  await same('experiment 7: the heading of one wide slit in the far field',
             readReference('setting-1'), STATIC.heading);
  // The refusals are the program's own lines, which the page also logs.
  const others = problems.filter((p) => !/mehrfachspalt: setting: /.test(p));
  check('settings: the console shows no error', others.length === 0, others.join('; '));
  await page.close();
}

// The lab view ("u") in the page, by key and by its buttons: its own set of
// buttons while it shows, the whole page still on a laptop's screen, the
// labels and the ruler as the snapshot tool draws them (in German and in
// English), and the first set again after the second "u".
const LAB = {labels: [35, 20, 240, 55], ruler: [490, 20, 40, 120]};
async function labView(browser, url) {
  const problems = [];
  const page = await browser.newPage();
  await page.setViewport({width: 1366, height: 680});
  watch(page, problems);
  const {same, until} = pageTools(page);
  const open = async (query) => {
    await page.goto(url + query);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
  };
  async function keySet(what, set) {
    if (await until(what, () => page.evaluate(
        (wanted) => Module.keySet === wanted || `the key set is "${Module.keySet}"`, set))) {
      check(what, true);
    }
  }
  const shown = async () => (await layout(page)).buttons.map((b) => b.key).join(' ');
  await open(GERMAN);
  await page.keyboard.press('u');
  await keySet('the key u: the program names the lab view\'s keys', 'lab');
  check('the lab view shows its own buttons', await shown() === LAB_BUTTON_KEYS.join(' '),
        await shown());
  const view = await layout(page);
  check('the lab view at 1366 x 680: the whole page on screen', !view.wider && !view.taller,
        JSON.stringify(view));
  const words = await page.evaluate(() => ({
    left: document.querySelector('[data-key="ArrowLeft"]').title,
    arrows: document.querySelector('#arrows .caption').textContent}));
  check('the arrows\' words name the wall', words.left === 'Schirm näher' &&
        words.arrows === 'Detektor und Schirm', JSON.stringify(words));
  await same('u: the labels as the snapshot tool draws them', readReference('lab-u'), LAB.labels);
  await page.click('[data-key="q"]');
  await same('the q button: two laser lines', readReference('lab-uq'), LAB.labels);
  await page.click('[data-key="z"]');
  await same('the z button: a finer ruler', readReference('lab-uqz'), LAB.ruler);
  await page.click('[data-key="Z"]');
  await same('the Z button: the ruler as before', readReference('lab-uq'), LAB.ruler);
  await page.click('[data-key="u"]');
  await keySet('the u button: the program names its first keys again', '');
  check('the first buttons again', await shown() === BUTTON_KEYS.join(' '), await shown());
  await same('the u button: the pixel view\'s labels', readReference('start'), STATIC.spacing);
  await open('?lang=en');
  await page.keyboard.press('u');
  await same('the lab view\'s labels in English', readReference('lab-u-en'), LAB.labels);
  check('lab view: the console shows no error', problems.length === 0, problems.join('; '));
  await page.close();
}

async function main() {
  const server = await serve(path.resolve(site));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mehrfachspalt-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const problems = [];
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 900});
    watch(page, problems);

    const {region, pictures, until, same} = pageTools(page);

    const started = Date.now();
    await page.goto(url + GERMAN);
    await page.waitForFunction(() => Module.firstPictureAt !== undefined, {timeout: 30000});
    const firstPicture = await page.evaluate(() => Module.firstPictureAt);
    console.log(`measure: first picture ${firstPicture.toFixed(0)} ms after navigation start ` +
                `(${Date.now() - started} ms after the request)`);
    console.log(`measure: build ${fs.readdirSync(site).map(
        (f) => fs.statSync(path.join(site, f)).size).reduce((a, b) => a + b, 0)} bytes`);

    const start = readReference('start');
    for (const [name, r] of Object.entries(STATIC)) await same(`start picture: ${name}`, start, r);

    // Frame rate and the browser's CPU while animating.
    const pid = browser.process().pid;
    const [shown0, cpu0, t0] = [await pictures(), cpuSeconds(pid), Date.now()];
    await sleep(3000);
    const [shown1, cpu1, t1] = [await pictures(), cpuSeconds(pid), Date.now()];
    const seconds = (t1 - t0) / 1000;
    console.log(`measure: ${((shown1 - shown0) / seconds).toFixed(1)} pictures per second, ` +
                `browser CPU ${(100 * (cpu1 - cpu0) / seconds).toFixed(0)} % of one core`);
    check('the picture animates', shown1 > shown0);

    // Keys the program has no use for, floods, focus and visibility changes
    // and a tiny window: the program runs on and the picture is unharmed.
    await page.evaluate(() => {
      const odd = [{code: 'Lang1', key: 'Lang1'}, {code: '', key: 'Unidentified'},
                   {code: 'X'.repeat(200), key: '\u20AC'.repeat(200)}, {code: 'F13', key: 'F13'},
                   {code: 'Quote', key: '\u00E4'}, {code: 'KeyQ', key: '\uD83D\uDE00'},
                   {code: 'Escape', key: 'Escape'}, {code: 'Tab', key: 'Tab', shiftKey: true},
                   {code: 'KeyX', key: 'x', altKey: true}, {code: 'KeyC', key: 'c', ctrlKey: true}];
      for (const init of odd) {
        window.dispatchEvent(new KeyboardEvent('keydown', init));
        window.dispatchEvent(new KeyboardEvent('keyup', init));
      }
      for (let i = 0; i < 2000; i++) {
        window.dispatchEvent(new KeyboardEvent('keydown', {code: 'KeyX', key: 'x', repeat: true}));
      }
      window.dispatchEvent(new Event('blur'));
      window.dispatchEvent(new Event('focus'));
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await page.setViewport({width: 90, height: 60});
    await sleep(300);
    await page.setViewport({width: 1024, height: 900});
    const before = await pictures();
    await sleep(300);
    check('odd keys, a flood, focus changes and a tiny window: still animating',
          (await pictures()) > before);
    await same('the heading after all that', start, STATIC.heading);

    // The intensity sample of row 218 at the right edge.
    await page.keyboard.press('i');
    const intensity = readReference('intensity');
    const sample = [611, 218, 29, 1];
    const expected = cut(intensity, sample);
    check('the reference has the sample at x 611..639',
          expected.every((v, i) => v === LIGHT_RED[i % 4]));
    await same('i draws the intensity sample at x 611..639 on row 218', intensity, sample);

    // Eight slits: the heading shows 8.
    for (let i = 0; i < 6; i++) {
      await page.keyboard.press('g');
      await sleep(80);
    }
    await same('six times g: the heading shows 8', readReference('eight'), STATIC.heading);

    await heldKeys(page);

    // Single steps: the wait for a key hands the page back to the browser
    // and shows the frame it waits after; each key brings one step, and w
    // lets the picture run again.
    async function standsStill() {
      let count = await pictures();
      for (let tries = 0; tries < 20; tries++) {
        await sleep(400);
        const now = await pictures();
        if (now === count) return true;
        count = now;
      }
      return false;
    }
    await page.keyboard.press('s');
    check('s: the picture stands still', await standsStill());
    const waitCpu0 = [cpuSeconds(pid), Date.now()];
    await sleep(2000);
    const waitCpu1 = [cpuSeconds(pid), Date.now()];
    console.log(`measure: browser CPU while waiting for a step ` +
                `${(100 * (waitCpu1[0] - waitCpu0[0]) / ((waitCpu1[1] - waitCpu0[1]) / 1000)).toFixed(1)} % of one core`);
    const stepped = await pictures();
    await page.keyboard.press('x');
    if (await until('a key brings a step', async () => (await pictures()) > stepped)) {
      check('a key brings a step', true);
    }
    check('after the step the picture stands again', await standsStill());
    await page.keyboard.press('w');
    const resumed = await pictures();
    if (await until('w: the picture runs again', async () => (await pictures()) > resumed + 5)) {
      check('w: the picture runs again', true);
    }

    // "e" ends the program, and the page says so.
    await page.keyboard.press('e');
    const ended = await until('e ends the program', () => page.evaluate(
        () => Module.programEnded === true && Module.exitStatus === 0));
    if (ended) check('e ends the program', true);
    const line = await page.$eval('#status', (element) => element.textContent);
    check('the page says the program ended', /beendet/.test(line), line);
    const after = await pictures();
    await page.keyboard.press('g');
    await sleep(300);
    check('no picture after the end', (await pictures()) === after);

    check('the console shows no error', problems.length === 0, problems.join('; '));

    await touchAndOffline(browser, url, server, 'chromium');
    await classroomScreens(browser, url, 'chromium', SCREENS);
    await languages(browser, url, server);
    await screenReaders(browser, url);
    await settingsInPage(browser, url);
    await labView(browser, url);
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  try {
    if (firefox) await inFirefox(url, server);
  } finally {
    server.close();
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
}

main().catch((error) => {
  console.log(`FAILED: ${error.stack || error}`);
  process.exitCode = 1;
});
