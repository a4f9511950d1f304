// Renders what a web view of the app model was given, in Debian's Chromium:
// its HTML served as the document at its base URL, and its user scripts run
// as WebKit runs them (at document start or end, in every frame or only the
// main one). Every other request is blocked and reported.
//
//   node render-page.mjs JOB.json
//
// JOB.json: { html, baseURL, userScripts: [{ source, injectionTime,
// forMainFrameOnly }], width, height, scale, png }: scale is device
// pixels per CSS pixel (1 when absent). Prints one fact a line:
//   frames N                  frames holding a document of the page
//   frames-with-script N      of those, the frames the mail script ran in
//   first-frame-ms T          when the first frame was painted, from the
//                             page's first byte
//   first-dark-frame-ms T     when a frame was first painted dark, or "none"
//   bright-share S            share of the screenshot's pixels that are bright
//   background #RRGGBB        the colour most of the page is painted in
//   blocked URL               each request the page tried, blocked
// and writes a screenshot of the whole page (its first 16384 pixels at most)
// to `png` when it is given.
import { readFileSync, writeFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { launch, newContext, frames, relLum, BRIGHT } from '../browser/driver.mjs';
import { decodePng } from '../browser/png.mjs';

// The document's URL when the web view was given no base URL that a browser
// can serve; WebKit would use about:blank, where nothing relative resolves.
const NO_BASE = 'http://page.tenebra.invalid/';
const DOCUMENT_START = 0;
// Screenshots stop here, Chromium's largest texture: a mail of megabytes can
// be hundreds of thousands of pixels tall.
const MAX_HEIGHT = 16384;
// A page of megabytes takes a while on a busy machine.
const TIMEOUT_MS = 120000;
// The mail script marks each document it has run in with this symbol.
const SCRIPT_MARK = 'tenebra';
const PROBE_MARK = 'tenebra.render.firstDark';

// A user script as Chromium runs init scripts (at document start, in every
// frame), narrowed to what WebKit was asked for.
function asInitScript({ source, injectionTime, forMainFrameOnly }) {
  if (injectionTime === DOCUMENT_START && !forMainFrameOnly) return source;
  const run = `(0, eval)(${JSON.stringify(source)})`;
  const timed = injectionTime === DOCUMENT_START ? run
    : `if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', () => ${run}, { once: true }); else ${run};`;
  return forMainFrameOnly ? `if (window === window.top) { ${timed} }` : timed;
}

// Runs in the main frame from document start: on every animation frame until
// the page has settled, whether the viewport is painted dark at a few points.
function darkProbe(mark, limit) {
  if (window !== window.top) return;
  const lum = (c) => {
    const f = (v) => ((v /= 255) <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4);
    return 0.2126 * f(c[0]) + 0.7152 * f(c[1]) + 0.0722 * f(c[2]);
  };
  const parse = (s) => (String(s).match(/[\d.]+/g) || [0, 0, 0, 0]).map(Number);
  const canvas = () => {
    const root = document.documentElement;
    for (const el of [root, document.body]) {
      if (!el) continue;
      const c = parse(getComputedStyle(el).backgroundColor);
      if (c[3] === undefined || c[3] >= 0.5) return c;
    }
    return root && getComputedStyle(root).colorScheme.includes('dark') ? [18, 18, 18] : [255, 255, 255];
  };
  const at = (x, y) => {
    for (const el of document.elementsFromPoint(x, y)) {
      if (/^(IMG|PICTURE|VIDEO|CANVAS|SVG)$/i.test(el.tagName)) continue;
      const c = parse(getComputedStyle(el).backgroundColor);
      if (c[3] === undefined || c[3] >= 0.5) return c;
    }
    return canvas();
  };
  const points = [[0.5, 0.02], [0.05, 0.5], [0.5, 0.5], [0.95, 0.5], [0.5, 0.98]];
  // Times count from the page's first byte, so the time the browser takes
  // to hand the page over is left out.
  const since = () => performance.now() - (performance.getEntriesByType('navigation')[0]?.responseStart || 0);
  const times = (window[Symbol.for(mark)] = { first: null, dark: null });
  let left = limit;
  const check = () => {
    const w = innerWidth, h = innerHeight;
    const now = since();
    if (times.first === null) times.first = now;
    if (document.documentElement && points.every(([fx, fy]) => lum(at(fx * w, fy * h)) <= 0.05)) {
      times.dark = now;
      return;
    }
    if (--left > 0) requestAnimationFrame(check);
  };
  requestAnimationFrame(check);
}

function hex(rgb) {
  return '#' + rgb.map((v) => v.toString(16).padStart(2, '0').toUpperCase()).join('');
}

// The most common colour of the screenshot, and the share of bright pixels.
function paint(img) {
  const counts = new Map();
  let bright = 0, best = 0, bestN = 0;
  const lut = new Float64Array(256).map((_, c) => relLum([c, 0, 0]) / 0.2126);
  for (let o = 0; o < img.data.length; o += 4) {
    const key = (img.data[o] << 16) | (img.data[o + 1] << 8) | img.data[o + 2];
    const n = (counts.get(key) || 0) + 1;
    counts.set(key, n);
    if (n > bestN) { bestN = n; best = key; }
    if (0.2126 * lut[img.data[o]] + 0.7152 * lut[img.data[o + 1]] + 0.0722 * lut[img.data[o + 2]] > BRIGHT) bright++;
  }
  const pixels = img.data.length / 4;
  return { background: hex([best >> 16, (best >> 8) & 255, best & 255]), brightShare: pixels ? bright / pixels : 0 };
}

// Renders one job; in `shared` when given (the browser stays open), else in
// a browser of its own.
export async function renderPage(job, shared) {
  const url = /^https?:/i.test(job.baseURL || '') ? job.baseURL : NO_BASE;
  const blocked = [];
  let served = false;
  const browser = shared || await launch();
  try {
    const context = await newContext(browser, {
      scale: job.scale || 1,
      init: [`(${darkProbe})(${JSON.stringify(PROBE_MARK)}, 600)`, ...(job.userScripts || []).map(asInitScript)],
      route: (r) => {
        if (!served && r.request().url() === url && r.request().isNavigationRequest()) {
          served = true;
          r.fulfill({ status: 200, contentType: 'text/html; charset=utf-8', body: job.html ?? '' }).catch(() => {});
          return true;
        }
        blocked.push(r.request().url());
        return false;
      },
    });
    const page = await context.newPage();
    page.setDefaultTimeout(TIMEOUT_MS);
    await page.setViewportSize({ width: job.width || 375, height: job.height || 812 });
    await page.goto(url, { waitUntil: 'load' });
    await frames(page, 3);
    let documents = 0, withScript = 0;
    for (const frame of page.frames()) {
      if (frame.url().startsWith('chrome-error:')) continue;
      documents++;
      if (await frame.evaluate((mark) => !!document[Symbol.for(mark)], SCRIPT_MARK).catch(() => false)) withScript++;
    }
    const { first, dark } = await page.evaluate((mark) => window[Symbol.for(mark)], PROBE_MARK);
    const tall = await page.evaluate(() => Math.max(document.documentElement?.scrollHeight || 0, document.body?.scrollHeight || 0));
    const clip = { x: 0, y: 0, width: job.width || 375, height: Math.max(1, Math.min(tall, MAX_HEIGHT)) };
    const shot = await page.screenshot({ fullPage: true, clip, type: 'png', animations: 'disabled', caret: 'initial' });
    if (job.png) writeFileSync(job.png, shot);
    const { background, brightShare } = paint(decodePng(shot));
    await context.close();
    return { frames: documents, withScript, first, dark, brightShare, background, blocked };
  } finally {
    if (!shared) await browser.close();
  }
}

async function main(jobPath) {
  if (!jobPath) {
    process.stderr.write('usage: node render-page.mjs JOB.json\n');
    process.exit(2);
  }
  try {
    const r = await renderPage(JSON.parse(readFileSync(jobPath, 'utf8')));
    const lines = [
      `frames ${r.frames}`,
      `frames-with-script ${r.withScript}`,
      `first-frame-ms ${r.first === null ? 'none' : r.first.toFixed(1)}`,
      `first-dark-frame-ms ${r.dark === null ? 'none' : r.dark.toFixed(1)}`,
      `bright-share ${r.brightShare.toFixed(4)}`,
      `background ${r.background}`,
      ...r.blocked.map((u) => `blocked ${u}`),
    ];
    process.stdout.write(lines.join('\n') + '\n');
  } catch (e) {
    process.stderr.write(`${e.message.split('\n')[0]}\n`);
    process.exit(1);
  }
}

// Run as a program; imported (by the preview), it only lends renderPage.
if (process.argv[1] && pathToFileURL(process.argv[1]).href === import.meta.url) {
  await main(process.argv[2]);
}
