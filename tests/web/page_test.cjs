// The browser build in headless Chromium: served from 127.0.0.1, driven by
// keys, its canvas compared with the headless pictures of the same keys.
// Arguments: the site folder, a folder with the reference pictures as raw
// RGBA (start; intensity after i; eight after i and six g), the Chromium executable.
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [site, references, chromium] = process.argv.slice(2);
const WIDTH = 640;
const LIGHT_RED = [255, 85, 85, 255];

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

const MIME = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm'};
function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': MIME[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
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
    page.on('console', (message) => {
      if (message.type() === 'error' || message.type() === 'warning' || message.type() === 'warn') {
        problems.push(`console ${message.type()}: ${message.text()}`);
      }
    });
    page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));

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

    const started = Date.now();
    await page.goto(url);
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
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
}

main().catch((error) => {
  console.log(`FAILED: ${error.stack || error}`);
  process.exitCode = 1;
});
