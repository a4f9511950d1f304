// Drives Debian's Chromium through playwright-core for the mail-script tests
// and the benchmark: loads a mail with the script injected the ways the app
// does, with every network request blocked, and measures what it paints.
import { readFileSync, existsSync, readdirSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { decodePng } from './png.mjs';

export const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
export const bundleDir = path.join(repoRoot, 'overrides', 'host', 'com.kestrow.tenebra.bundle');
export const sourcePath = path.join(bundleDir, 'tenebra.js');
export const minPath = path.join(bundleDir, 'tenebra.min.js');
// The shared folder lies beside the repository; TENEBRA_SHARED points
// elsewhere for a checkout that has it in another place.
export const corpusDir = path.join(process.env.TENEBRA_SHARED || path.resolve(repoRoot, '..', 'shared'), 'mail-corpus');

export const CHROMIUM = process.env.TENEBRA_CHROMIUM || '/usr/bin/chromium';
// Mails are laid out 600 CSS px wide; a page is measured at least one phone
// screen tall (19.5:9), since that is what the mail view always fills.
export const VIEW_WIDTH = 600;
export const VIEW_HEIGHT = 1300;

export function installedScript() {
  return readFileSync(minPath, 'utf8');
}

export function launch() {
  return chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--font-render-hinting=none',
    ],
  });
}

// The corpus with the traits its SOURCES.md gives each mail, or null where
// ../shared is absent (a user's fresh clone).
export function readCorpus() {
  if (!existsSync(corpusDir)) return null;
  const traits = new Map();
  const sources = path.join(corpusDir, 'SOURCES.md');
  if (existsSync(sources)) {
    for (const line of readFileSync(sources, 'utf8').split('\n')) {
      const cells = line.split('|').map((c) => c.trim());
      if (cells.length > 7 && cells[1].endsWith('.html')) traits.set(cells[1], cells[6]);
    }
  }
  return readdirSync(corpusDir)
    .filter((f) => f.endsWith('.html'))
    .sort()
    .map((name) => ({
      name,
      html: readFileSync(path.join(corpusDir, name), 'utf8'),
      traits: traits.get(name) || '',
    }));
}

// What the UIWebView rule does: every literal "<head>" gets the script.
export function inlineInto(html, script) {
  return html.split('<head>').join(`<head><script>${script}</script>`);
}

export function dataUrl(html) {
  return 'data:text/html;charset=utf-8;base64,' + Buffer.from(html, 'utf8').toString('base64');
}

// A fresh context whose every request is aborted; data: URLs never reach the
// router. `onRequest` sees each attempt, so a test can count them.
export async function newContext(browser, { init = [], onRequest, route, scale = 1 } = {}) {
  const context = await browser.newContext({
    viewport: { width: VIEW_WIDTH, height: VIEW_HEIGHT },
    deviceScaleFactor: scale,
    colorScheme: 'light',
    serviceWorkers: 'block',
  });
  await context.route('**/*', (r) => {
    if (onRequest) onRequest(r.request().url());
    if (route && route(r)) return;
    r.abort('blockedbyclient').catch(() => {});
  });
  for (const content of init) await context.addInitScript({ content });
  return context;
}

// Opens `html` with the script injected inline ("<head>" rule), as a
// document-start script, or both; returns the page once loaded and painted.
export async function openMail(browser, html, { script, inline = false, init = false, extraInit = [], onRequest } = {}) {
  const context = await newContext(browser, {
    init: [...extraInit, ...(init && script ? [script] : [])],
    onRequest,
  });
  const page = await context.newPage();
  await page.goto(dataUrl(inline && script ? inlineInto(html, script) : html), { waitUntil: 'load' });
  await frames(page);
  return { context, page };
}

// Where to hold the parser halfway through a mail: after a closing tag past
// the middle of the document that is not inside a comment, style or script.
export function stallPoint(html) {
  const re = /<\/(td|p|div|table|tr|li|h[1-6])>/gi;
  re.lastIndex = Math.floor(html.length / 2);
  for (let m; (m = re.exec(html));) {
    const at = m.index + m[0].length, before = html.slice(0, at).toLowerCase();
    const inside = (open, close) => before.lastIndexOf(open) > before.lastIndexOf(close);
    if (!inside('<!--', '-->') && !inside('<style', '</style') && !inside('<script', '</script')) return at;
  }
  return html.toLowerCase().lastIndexOf('</body>') >= 0 ? html.toLowerCase().lastIndexOf('</body>') : html.length;
}

const STALL_URL = 'https://stall.invalid/hold.js';

// Opens the mail with the parser held at `stallPoint` on a script request
// that is answered only when `release` is called: what Chromium paints
// meanwhile is a frame from before the mail has finished loading.
export async function openStalled(browser, html, { script, inline = false, init = false } = {}) {
  const at = stallPoint(html);
  html = html.slice(0, at) + `<script src="${STALL_URL}"></script>` + html.slice(at);
  let held, release;
  const gate = new Promise((r) => (release = r));
  const reached = new Promise((r) => (held = r));
  const context = await newContext(browser, {
    init: init && script ? [script] : [],
    route: (r) => {
      if (r.request().url() !== STALL_URL) return false;
      held();
      gate.then(() => r.abort('blockedbyclient').catch(() => {}));
      return true;
    },
  });
  const page = await context.newPage();
  await page.goto(dataUrl(inline && script ? inlineInto(html, script) : html), { waitUntil: 'commit' });
  await reached;
  await frames(page);
  return {
    context,
    page,
    release: async () => {
      release();
      await page.waitForLoadState('load');
      await frames(page);
    },
  };
}

export function frames(page, n = 2) {
  return page.evaluate((count) => new Promise((done) => {
    const step = (i) => (i ? requestAnimationFrame(() => step(i - 1)) : done());
    step(count);
  }), n);
}

export const relLum = ([r, g, b]) => {
  const f = (c) => ((c /= 255) <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
  return 0.2126 * f(r) + 0.7152 * f(g) + 0.0722 * f(b);
};

export const contrast = (a, b) => {
  const [x, y] = [relLum(a), relLum(b)].sort((p, q) => q - p);
  return (x + 0.05) / (y + 0.05);
};

// Runs in the page: every visible text run with its colour and boxes, the
// boxes of images, the images' rendering state and a fingerprint of every
// element's colours.
function collect(only) {
  const parse = (s) => {
    const m = String(s).match(/[\d.]+/g);
    return m ? [+m[0], +m[1], +m[2], m[3] === undefined ? 1 : +m[3]] : [0, 0, 0, 0];
  };
  const out = { texts: [], images: [], imageState: [], fingerprint: [] };
  const root = document.documentElement;
  const props = ['color', 'background-color', 'background-image', 'box-shadow', 'border-top-color',
    'border-bottom-color', '-webkit-text-fill-color', 'filter', 'color-scheme'];
  for (const el of root.querySelectorAll('*')) {
    if (el.tagName === 'SCRIPT') continue;
    const s = getComputedStyle(el);
    out.fingerprint.push(el.tagName + ' ' + props.map((p) => s.getPropertyValue(p)).join(';'));
  }
  if (only === 'fingerprint') return out.fingerprint;
  const scan = document.body || root;
  const range = document.createRange();
  const walker = document.createTreeWalker(scan, NodeFilter.SHOW_TEXT);
  const skip = 'svg,script,style,noscript,template,title,textarea,select,option';
  const opacity = new Map();
  const opacityOf = (el) => {
    if (!el) return 1;
    if (!opacity.has(el)) opacity.set(el, +getComputedStyle(el).opacity * opacityOf(el.parentElement));
    return opacity.get(el);
  };
  for (let node; (node = walker.nextNode());) {
    const chars = node.data.replace(/\s+/g, '').length;
    const el = node.parentElement;
    if (!chars || !el || el.closest(skip)) continue;
    const cs = getComputedStyle(el);
    if (cs.visibility !== 'visible') continue;
    const fill = parse(cs.webkitTextFillColor || cs.color);
    const op = opacityOf(el);
    if (fill[3] * op < 0.05) continue;
    range.selectNodeContents(node);
    const rects = [];
    for (const r of range.getClientRects()) {
      if (r.width < 1 || r.height < 1) continue;
      const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
      if (!hit || !(hit === el || el.contains(hit) || hit.contains(el))) continue;
      rects.push([r.left + scrollX, r.top + scrollY, r.width, r.height]);
    }
    if (!rects.length) continue;
    out.texts.push({ chars, fill: [fill[0], fill[1], fill[2], fill[3] * op], rects, sample: node.data.trim().slice(0, 40) });
  }
  const imageSel = 'img,picture,svg,video,canvas,iframe,object,embed,input[type=image]';
  for (const img of document.querySelectorAll(imageSel)) {
    const r = img.getBoundingClientRect();
    if (r.width && r.height) out.images.push([r.left + scrollX, r.top + scrollY, r.width, r.height]);
    // Anything that filters or blends the image or an ancestor alters it.
    const altered = [];
    for (let e = img; e; e = e.parentElement) {
      const s = getComputedStyle(e);
      if (s.filter !== 'none' || s.backdropFilter !== 'none' || s.mixBlendMode !== 'normal') altered.push(e.tagName);
    }
    out.imageState.push({ tag: img.tagName, src: img.getAttribute('src') || '', opacity: getComputedStyle(img).opacity, altered });
  }
  const rootStyle = getComputedStyle(root);
  const bodyStyle = document.body && getComputedStyle(document.body);
  out.rootBg = parse(rootStyle.backgroundColor);
  if (!out.rootBg[3] && bodyStyle) out.rootBg = parse(bodyStyle.backgroundColor);
  if (!out.rootBg[3]) out.rootBg = rootStyle.colorScheme.includes('dark') ? [18, 18, 18, 1] : [255, 255, 255, 1];
  out.html = root.outerHTML;
  return out;
}

// Every element's computed colours, in document order.
export function fingerprint(page) {
  return page.evaluate(collect, 'fingerprint');
}

function composite(fg, bg) {
  const a = fg[3];
  return [0, 1, 2].map((i) => fg[i] * a + bg[i] * (1 - a));
}

// The most common colour inside a box of the screenshot: glyphs cover only a
// small part of their line box, so that is the background the text is
// painted on, whatever painted it.
export function modeColor(img, [x, y, w, h]) {
  const counts = new Map();
  const x0 = Math.max(0, Math.floor(x)), y0 = Math.max(0, Math.floor(y));
  const x1 = Math.min(img.width, Math.ceil(x + w)), y1 = Math.min(img.height, Math.ceil(y + h));
  let best = null, bestN = 0;
  for (let yy = y0; yy < y1; yy++) {
    for (let xx = x0; xx < x1; xx++) {
      const o = (yy * img.width + xx) * 4;
      const key = (img.data[o] << 16) | (img.data[o + 1] << 8) | img.data[o + 2];
      const n = (counts.get(key) || 0) + 1;
      counts.set(key, n);
      if (n > bestN) { bestN = n; best = key; }
    }
  }
  return best === null ? null : [best >> 16, (best >> 8) & 255, best & 255];
}

// Glyphs are the text's own colour, which contrast already judges, so only
// the surfaces around them count towards bright pixels.
function markGlyphs(img, [x, y, w, h], bg, skip) {
  const x0 = Math.max(0, Math.floor(x)), y0 = Math.max(0, Math.floor(y));
  const x1 = Math.min(img.width, Math.ceil(x + w)), y1 = Math.min(img.height, Math.ceil(y + h));
  for (let yy = y0; yy < y1; yy++) {
    for (let xx = x0; xx < x1; xx++) {
      const o = (yy * img.width + xx) * 4;
      if (img.data[o] !== bg[0] || img.data[o + 1] !== bg[1] || img.data[o + 2] !== bg[2]) skip[yy * img.width + xx] = 1;
    }
  }
}

export const BRIGHT = 0.6;
export const MIN_CONTRAST = 4.5;

// Measures the page as it stands: text contrast against the painted
// background, the share of bright pixels outside images, and more.
export async function measure(page) {
  const height = await page.evaluate(() => Math.max(
    document.documentElement.scrollHeight, document.body ? document.body.scrollHeight : 0));
  if (height > VIEW_HEIGHT) {
    await page.setViewportSize({ width: VIEW_WIDTH, height: Math.min(height, 12000) });
    await frames(page);
  }
  const info = await page.evaluate(collect);
  const img = decodePng(await page.screenshot({ type: 'png', animations: 'disabled', caret: 'initial' }));
  // Pixels of the page that count: outside images and outside glyphs.
  const skip = new Uint8Array(img.width * img.height);
  for (const [x, y, w, h] of info.images) {
    for (let yy = Math.max(0, Math.floor(y)); yy < Math.min(img.height, Math.ceil(y + h)); yy++) {
      skip.fill(1, yy * img.width + Math.max(0, Math.floor(x)), yy * img.width + Math.min(img.width, Math.ceil(x + w)));
    }
  }
  let chars = 0, passChars = 0;
  const failures = [];
  for (const t of info.texts) {
    let worst = Infinity, worstBg = null;
    for (const rect of t.rects) {
      const bg = modeColor(img, rect);
      if (!bg) continue;
      markGlyphs(img, rect, bg, skip);
      const c = contrast(composite(t.fill, bg), bg);
      if (c < worst) { worst = c; worstBg = bg; }
    }
    if (worst === Infinity) continue;
    chars += t.chars;
    if (worst >= MIN_CONTRAST) passChars += t.chars;
    else failures.push({ text: t.sample, contrast: +worst.toFixed(2), fill: t.fill.map((v) => +v.toFixed(2)), bg: worstBg, chars: t.chars });
  }
  const lut = new Float64Array(256).map((_, c) => ((c /= 255) <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
  let pixels = 0, bright = 0;
  for (let i = 0; i < skip.length; i++) {
    if (skip[i]) continue;
    pixels++;
    const o = i * 4;
    if (0.2126 * lut[img.data[o]] + 0.7152 * lut[img.data[o + 1]] + 0.0722 * lut[img.data[o + 2]] > BRIGHT) bright++;
  }
  failures.sort((a, b) => b.chars - a.chars);
  return {
    chars,
    textShare: chars ? passChars / chars : 1,
    brightShare: pixels ? bright / pixels : 0,
    failures,
    rootBg: info.rootBg,
    imageState: info.imageState,
    fingerprint: info.fingerprint,
    html: info.html,
    screenshot: img,
  };
}

// Share of pixels that differ between two screenshots of the same size.
export function pixelDiff(a, b) {
  if (a.width !== b.width || a.height !== b.height) return 1;
  let diff = 0;
  for (let i = 0; i < a.data.length; i += 4) {
    if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2]) diff++;
  }
  return diff / (a.width * a.height);
}

// The colour painted over most of an element's box, read off the screen.
export async function painted(page, selector) {
  const box = await page.locator(selector).boundingBox();
  const img = decodePng(await page.screenshot({ clip: box }));
  return modeColor(img, [0, 0, img.width, img.height]);
}

export function hue([r, g, b]) {
  const max = Math.max(r, g, b), min = Math.min(r, g, b), d = max - min;
  if (!d) return null;
  const h = max === r ? (g - b) / d + (g < b ? 6 : 0) : max === g ? (b - r) / d + 2 : (r - g) / d + 4;
  return h * 60;
}

export const hueDistance = (a, b) => Math.min(Math.abs(a - b), 360 - Math.abs(a - b));

export const parseRgb = (s) => String(s).match(/[\d.]+/g).map(Number);

export const pct = (x) => (100 * x).toFixed(x >= 0.9995 || x === 0 ? 0 : 2) + '%';
