// The whole browser's CPU while it shows the program's page and while it
// shows a floor page that does no more than any page showing this picture
// must: put 640 x 450 pixels onto a 640 x 480 canvas twenty times a second.
// Prints one Markdown row: browser, page, floor, page / floor; a row that says
// what failed, and status 1, when it cannot measure.
// Arguments: the site folder, chromium or firefox, the browser's executable,
// the seconds of each span, bench/measure.sh (which does the measuring, as
// for the desktop program).
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {promisify} = require('util');
const execFile = promisify(require('child_process').execFile);
const puppeteer = require('puppeteer-core');

const [site, kind, executable, seconds, measureScript] = process.argv.slice(2);
const NAMES = {chromium: 'headless Chromium', firefox: 'Firefox ESR (headless)'};
let name = NAMES[kind] || kind;

// Same viewport for both pages; the program's page scales its canvas to it.
const VIEWPORT = {width: 1024, height: 768};

// The canvas context as the program's page takes it, so that the floor
// differs from the page only in what runs, not in how it is composited.
const FLOOR = `<!DOCTYPE html>
<html lang="de"><head><meta charset="utf-8"><link rel="icon" href="data:,">
<title>floor</title></head>
<body style="margin: 0">
<canvas id="screen" width="640" height="480"></canvas>
<script>
  var context = document.getElementById('screen').getContext('2d', {alpha: false});
  var image = new ImageData(640, 450);
  window.puts = 0;
  setInterval(function () { context.putImageData(image, 0, 0); window.puts += 1; }, 50);
</script>
</body></html>
`;

const MIME = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm'};
function serve(folder) {
  const server = http.createServer((request, response) => {
    const file = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (file === '/floor.html') {
      response.writeHead(200, {'Content-Type': MIME['.html']});
      response.end(FLOOR);
      return;
    }
    const local = path.join(folder, file === '/' ? 'index.html' : path.normalize(file));
    if (!local.startsWith(folder) || !fs.existsSync(local) || !fs.statSync(local).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': MIME[path.extname(local)] || 'application/octet-stream'});
    fs.createReadStream(local).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function launchOptions(profile) {
  if (kind === 'chromium') {
    return {
      executablePath: executable,
      headless: true,
      userDataDir: profile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    };
  }
  // puppeteer-core 22 names the browser "product", later versions "browser".
  return {product: 'firefox', browser: 'firefox', protocol: 'webDriverBiDi',
          executablePath: executable, headless: true, userDataDir: profile};
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const say = (text) => process.stderr.write(`page_cost: ${name}: ${text}\n`);

// Per cent of one core used by the browser's whole process tree over the span.
async function share(pid) {
  const {stdout} = await execFile(
      'bash', ['-c', 'source "$0" && cpu_span "$1" "tree:$2"', measureScript, seconds, String(pid)]);
  const [, percent] = stdout.trim().split(' ').map(Number);
  if (!Number.isFinite(percent)) throw new Error(`no measurement: ${stdout}`);
  return percent;
}

// Opens URL in a fresh tab and waits until COUNT (read in the page) grows
// after READY holds, so that the span starts with the page running.
async function show(browser, url, ready, count) {
  const page = await browser.newPage();
  await page.setViewport(VIEWPORT);
  await page.goto(url);
  await page.waitForFunction(ready, {timeout: 30000});
  const before = await page.evaluate(count);
  await sleep(1000);
  const after = await page.evaluate(count);
  if (!(after > before)) throw new Error(`${url} does not animate`);
  return page;
}

async function main() {
  const server = await serve(path.resolve(site));
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `present-cost-${kind}-`));
  let browser;
  try {
    browser = await puppeteer.launch(launchOptions(profile));
    const version = (await browser.version()).replace(/^.*\//, '').replace(/\..*$/, '');
    name = `${name.replace(/ \(headless\)$/, '')} ${version}${kind === 'firefox' ? ' (headless)' : ''}`;
    const pid = browser.process().pid;

    let page = await show(browser, `${base}/`, () => Module.firstPictureAt !== undefined,
                          () => Module.picturesShown || 0);
    const shown = await page.evaluate(() => Module.picturesShown);
    const onPage = await share(pid);
    const rate = ((await page.evaluate(() => Module.picturesShown)) - shown) / Number(seconds);
    say(`the program's page: ${onPage.toFixed(1)} %, ${rate.toFixed(1)} pictures per second`);
    await page.close();

    page = await show(browser, `${base}/floor.html`, () => window.puts > 0, () => window.puts);
    const onFloor = await share(pid);
    say(`the floor page: ${onFloor.toFixed(1)} %`);
    await page.close();

    const ratio = onFloor > 0 ? `${(onPage / onFloor).toFixed(2)}` : '-';
    console.log(`| ${name} | ${onPage.toFixed(1)} % | ${onFloor.toFixed(1)} % | ${ratio} |`);
  } finally {
    if (browser) await browser.close().catch(() => {});
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

main().catch((error) => {
  const line = String(error && error.message || error).split('\n')[0];
  say(`failed: ${error && error.stack || error}`);
  console.log(`| ${name} | failed: ${line.replace(/\|/g, '/')} | | |`);
  process.exitCode = 1;
});
