// Draws the preview's screen pages in Debian's Chromium, one browser for
// all of them, and audits the contrast of every text on the pages asked for.
//
//   node render-screens.mjs JOB.json
//
// JOB.json: { scale, pages: [{ page, png, audit }], webJobs: [FILE] }: `page`
// is a screen page (tools/preview/screen_page.h) on disk, `png` where its
// picture goes, `scale` device pixels per point; each of `webJobs` is a web
// view's page as tools/webrender/render-page.mjs renders it (with its user
// scripts), rendered first, in the same browser, into the picture a screen
// page shows. A screen page loads only file: URLs; everything else is
// blocked. For each audited page, prints one line per text:
//   text PAGE INDEX #RRGGBB #RRGGBB RATIO
// (the page's position in the job, the text's box, its colour, the colour
// drawn behind it, and their contrast). The colour behind is read from a
// second picture of the page with every text made transparent: the most
// common colour inside the text's frame, whatever painted it.
import { readFileSync, writeFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { launch, frames, contrast, modeColor } from '../browser/driver.mjs';
import { decodePng } from '../browser/png.mjs';
import { renderPage } from '../webrender/render-page.mjs';

const hex = (rgb) => '#' + rgb.map((c) => Math.round(c).toString(16).padStart(2, '0').toUpperCase()).join('');
const parseRgba = (s) => String(s).match(/[\d.]+/g).map(Number);

async function draw(context, { page: file, png, audit }, scale) {
  const page = await context.newPage();
  await page.goto(pathToFileURL(file).href, { waitUntil: 'load' });
  await frames(page);
  const screen = await page.$('#screen');
  writeFileSync(png, await screen.screenshot({ type: 'png', animations: 'disabled' }));
  const found = [];
  if (audit) {
    const texts = await page.$$eval('.t', (els) => els.map((el) => {
      const r = el.getBoundingClientRect();
      return { index: Number(el.dataset.text), color: el.dataset.color, box: [r.x, r.y, r.width, r.height] };
    }));
    await page.addStyleTag({ content: '.t{color:transparent!important}' });
    await frames(page);
    const bare = decodePng(await screen.screenshot({ type: 'png', animations: 'disabled' }));
    for (const { index, color, box } of texts) {
      const behind = modeColor(bare, box.map((v) => v * scale));
      if (!behind) continue;
      const [r, g, b, a] = parseRgba(color);
      const seen = [r, g, b].map((c, i) => c * a + behind[i] * (1 - a));
      found.push({ index, color: hex(seen), behind: hex(behind), ratio: contrast(seen, behind) });
    }
  }
  await page.close();
  return found;
}

const jobPath = process.argv[2];
if (!jobPath) {
  process.stderr.write('usage: node render-screens.mjs JOB.json\n');
  process.exit(2);
}
try {
  const job = JSON.parse(readFileSync(jobPath, 'utf8'));
  const scale = job.scale || 2;
  const browser = await launch();
  try {
    for (const file of job.webJobs || []) await renderPage(JSON.parse(readFileSync(file, 'utf8')), browser);
    const context = await browser.newContext({ viewport: { width: 1000, height: 1000 }, deviceScaleFactor: scale, colorScheme: 'light' });
    await context.route((url) => url.protocol !== 'file:', (r) => r.abort('blockedbyclient').catch(() => {}));
    const lines = [];
    for (const [n, page] of job.pages.entries()) {
      for (const t of await draw(context, page, scale)) {
        lines.push(`text ${n} ${t.index} ${t.color} ${t.behind} ${t.ratio.toFixed(2)}`);
      }
    }
    process.stdout.write(lines.join('\n') + (lines.length ? '\n' : ''));
  } finally {
    await browser.close();
  }
} catch (e) {
  process.stderr.write(`${e.message.split('\n')[0]}\n`);
  process.exit(1);
}
