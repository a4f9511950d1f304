// The mail script over the shared corpus of real mails and templates, in
// Chromium with the network blocked. Per mail: text contrast against the
// painted background, bright surfaces outside images, a dark page, untouched
// images, a dark frame while the mail is still loading, and the same result
// whether the script ran once (inline) or twice (document start, then inline).
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import {
  launch, readCorpus, corpusDir, openMail, openStalled, measure, fingerprint, installedScript, relLum, pct,
} from '../../tools/browser/driver.mjs';

const corpus = readCorpus();
const script = installedScript();
const rows = [];
let browser;

after(async () => {
  if (browser) await browser.close();
  if (!rows.length) return;
  rows.sort((a, b) => a.name.localeCompare(b.name));
  const head = ['mail', 'chars', 'text>=4.5', 'bright', 'bright@load', 'dark kept', 'result'];
  const table = [head, ...rows.map((r) => [r.name, r.chars, pct(r.textShare), pct(r.brightShare),
    pct(r.loadingBright), r.darkKept, r.ok ? 'ok' : 'FAIL'])];
  const widths = head.map((_, i) => Math.max(...table.map((row) => String(row[i]).length)));
  const line = (row) => row.map((c, i) => String(c).padEnd(widths[i])).join('  ');
  console.log(['', `Mail corpus (${corpusDir}):`, ...table.map(line), ''].join('\n'));
});

async function checkMail(mail) {
  const row = { name: mail.name.replace(/\.html$/, ''), darkKept: '-', ok: false };
  rows.push(row);
  const hasHead = mail.html.includes('<head>');
  const darkDesign = /\bdark page\b/.test(mail.traits);

  // Once, the way the app injects it for this mail, held halfway to judge
  // the frame painted while loading.
  const once = await openStalled(browser, mail.html, { script, inline: hasHead, init: !hasHead });
  const loading = await measure(once.page);
  await once.release();
  const singleFp = await fingerprint(once.page);
  await once.context.close();

  // Twice: as a document-start script and inline; then a third time.
  const twice = await openMail(browser, mail.html, { script, inline: true, init: true });
  const m = await measure(twice.page);
  await twice.page.evaluate(script);
  const again = await fingerprint(twice.page);
  await twice.context.close();

  Object.assign(row, { chars: m.chars, textShare: m.textShare, brightShare: m.brightShare, loadingBright: loading.brightShare });

  assert.ok(m.textShare >= 0.99, `${mail.name}: ${pct(m.textShare)} of text at 4.5:1; worst: ${JSON.stringify(m.failures.slice(0, 3))}`);
  assert.ok(m.brightShare <= 0.01, `${mail.name}: ${pct(m.brightShare)} bright pixels outside images`);
  assert.ok(loading.brightShare <= 0.01, `${mail.name}: ${pct(loading.brightShare)} bright pixels while loading`);
  assert.ok(relLum(m.rootBg) <= 0.05 || darkDesign, `${mail.name}: page background ${m.rootBg}`);
  assert.deepEqual(m.imageState.filter((s) => s.altered.length), [], `${mail.name}: images filtered or blended`);
  assert.deepEqual(m.fingerprint, singleFp, `${mail.name}: two runs differ from one`);
  assert.deepEqual(again, m.fingerprint, `${mail.name}: a further run changed the page`);

  if (darkDesign) {
    const plain = await openMail(browser, mail.html, {});
    const before = await measure(plain.page);
    await plain.context.close();
    // The design is kept: every pixel that was dark is exactly as it was.
    const a = before.screenshot, b = m.screenshot;
    assert.equal(a.height, b.height);
    let darkPixels = 0, changed = 0;
    for (let i = 0; i < a.data.length; i += 4) {
      if (relLum([a.data[i], a.data[i + 1], a.data[i + 2]]) > 0.2) continue;
      darkPixels++;
      if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2]) changed++;
    }
    row.darkKept = pct(1 - changed / darkPixels);
    assert.ok(changed / darkPixels <= 0.001, `${mail.name}: ${pct(changed / darkPixels)} of its dark pixels changed`);
  }
  row.ok = true;
}

test('mail corpus', { skip: corpus ? false : `no mail corpus at ${corpusDir} (a fresh clone has no ../shared): corpus checks skipped`, concurrency: 2 }, async (t) => {
  browser = await launch();
  await Promise.all(corpus.map((mail) => t.test(mail.name, () => checkMail(mail))));
});
