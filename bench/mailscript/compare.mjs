// Side-by-side comparison of Tenebra's mail script with the Dark Reader
// engine (npm darkreader, a development dependency) over the shared mail
// corpus, in Debian's Chromium with the network blocked.
//
//   node bench/mailscript/compare.mjs [--reps N] [--only SUBSTRING] [--json FILE]
//
// Per mail and engine: the share of text characters at 4.5:1 or better
// against their painted background, the share of bright pixels outside
// images (both measured exactly as the tests do), and the main-thread CPU
// time the engine costs: its own script (events whose code comes from the
// engine's source) plus the style and layout work it adds over runs without
// any engine, each part the median of N runs. CPU time, not wall time, so
// that other processes on the machine count as little as they can. The same
// time is taken for a reference engine that only reads the mail's colours
// (reading-floor.js): the least an engine of either kind can cost.
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { minify } from 'terser';
import {
  launch, readCorpus, corpusDir, newContext, dataUrl, measure, installedScript, minPath, repoRoot, pct,
} from '../../tools/browser/driver.mjs';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? args[i + 1] : fallback;
};
const reps = Number(option('--reps', 3));
const only = option('--only', '');
const jsonOut = option('--json', '');
const SETTLE_MS = 1500;

const corpus = readCorpus();
if (!corpus) {
  console.error(`No mail corpus at ${corpusDir}: nothing to compare.`);
  process.exit(1);
}

const darkReaderPath = path.join(repoRoot, 'node_modules', 'darkreader', 'darkreader.js');
const darkReader = readFileSync(darkReaderPath, 'utf8');
// Dark Reader needs <html> to exist, which a document-start script in
// Chromium may not see yet: it is enabled the moment <html> appears.
const darkReaderStart = `(function () {
  var go = function () {
    DarkReader.setFetchMethod(window.fetch);
    DarkReader.enable({ brightness: 100, contrast: 100, sepia: 0 });
  };
  if (document.documentElement) return go();
  var wait = new MutationObserver(function () {
    if (document.documentElement) { wait.disconnect(); go(); }
  });
  wait.observe(document, { childList: true });
})();`;

// Each engine runs from a microtask queued by its document-start script,
// before the parser starts, so that all of its work, its first run included,
// shows in the trace as script run by the page.
const engine = (name, code) => `queueMicrotask(function () {\n${code}\n});\n//# sourceURL=engine-${name}.js`;
const ENGINES = {
  none: null,
  tenebra: engine('tenebra', installedScript()),
  darkreader: engine('darkreader', `${darkReader}\n${darkReaderStart}`),
  floor: engine('floor', readFileSync(new URL('reading-floor.js', import.meta.url), 'utf8')),
};
// The engines whose results are measured, not only their time.
const DARKENING = ['tenebra', 'darkreader'];

// Records when the page last changed, so a run ends once the engine is done.
const WATCH = `(() => {
  window.__lastChange = performance.now();
  new MutationObserver(() => { window.__lastChange = performance.now(); })
    .observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
})();`;

// Main-thread work, as thread CPU time of the outermost trace events, in
// three parts: script that runs the engine's own code (events carrying its
// source URL, or enclosing one), other microtasks (promise reactions carry no
// URL, but so do the page's own image loads) and style and layout. Style and
// layout that an engine's script forces (by reading computed styles) is the
// page's style work done earlier, so it counts as style, not as script: what
// an engine adds to style and layout is then its excess over a run without
// any engine, however the work was triggered.
const SCRIPT = new Set(['EvaluateScript', 'FunctionCall', 'RunMicrotasks', 'TimerFire', 'FireAnimationFrame',
  'EventDispatch', 'v8.callFunction']);
const STYLE = new Set(['UpdateLayoutTree', 'Layout', 'ParseAuthorStyleSheet']);

function workFromTrace(trace, engine) {
  const { traceEvents } = JSON.parse(trace.toString());
  const parse = traceEvents.find((e) => e.name === 'ParseHTML');
  if (!parse) return null;
  const main = traceEvents.find((e) => e.name === 'thread_name' && e.pid === parse.pid && e.args.name === 'CrRendererMain');
  const events = traceEvents
    .filter((e) => e.pid === parse.pid && e.tid === main.tid && e.ph === 'X' && e.tdur != null)
    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const own = `engine-${engine}.js`;
  const ownsCode = (e) => e.args && e.args.data && String(e.args.data.url).endsWith(own);
  const out = { script: 0, micro: 0, style: 0 };
  let end = -1;
  events.forEach((e, i) => {
    if (e.ts < end || !(SCRIPT.has(e.name) || STYLE.has(e.name))) return;
    end = e.ts + e.dur;
    if (STYLE.has(e.name)) {
      out.style += e.tdur / 1000;
      return;
    }
    let mine = false, forced = 0, styleEnd = -1;
    for (let j = i; j < events.length && events[j].ts < end; j++) {
      const inner = events[j];
      mine = mine || ownsCode(inner);
      if (j > i && STYLE.has(inner.name) && inner.ts >= styleEnd) {
        forced += inner.tdur / 1000;
        styleEnd = inner.ts + inner.dur;
      }
    }
    const part = mine ? 'script' : e.name === 'RunMicrotasks' ? 'micro' : null;
    if (!part) return;
    out[part] += e.tdur / 1000 - forced;
    out.style += forced;
  });
  return out;
}

// Every run waits the same time after load, so that the harness itself
// adds the same work to each.
async function run(browser, mail, engine, withQuality) {
  const context = await newContext(browser, { init: [WATCH, ...(ENGINES[engine] ? [ENGINES[engine]] : [])] });
  const page = await context.newPage();
  await browser.startTracing(page, { categories: ['devtools.timeline', 'v8.execute'] });
  await page.goto(dataUrl(mail.html), { waitUntil: 'load' });
  await page.waitForTimeout(SETTLE_MS);
  const cpu = workFromTrace(await browser.stopTracing(), engine);
  const quiet = await page.evaluate(() => performance.now() - window.__lastChange);
  if (quiet < SETTLE_MS / 2) console.error(`${mail.name}: ${engine} was still changing the page`);
  const quality = withQuality ? await measure(page) : null;
  await context.close();
  return { cpu, quality };
}

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

const browser = await launch();
const results = [];
for (const mail of corpus.filter((m) => m.name.includes(only))) {
  const order = Object.keys(ENGINES);
  const runs = Object.fromEntries(order.map((engine) => [engine, []]));
  const quality = {};
  for (let rep = 0; rep < reps; rep++) {
    // Rotate the order so that no engine always runs first or last.
    const start = rep % order.length;
    for (const engine of order.slice(start).concat(order.slice(0, start))) {
      const r = await run(browser, mail, engine, rep === 0 && DARKENING.includes(engine));
      runs[engine].push(r.cpu);
      if (r.quality) quality[engine] = r.quality;
    }
  }
  // The engine's own script is measured directly; what it adds to other
  // microtasks and to style and layout is the rise of their median over runs
  // without any engine. The page's own style and layout vary by several
  // milliseconds from run to run, so an excess taken run by run and clamped
  // at zero would count that noise as the engine's cost.
  const part = (engine, name) => median(runs[engine].map((r) => r[name]));
  const extra = (engine, name) => Math.max(0, part(engine, name) - part('none', name));
  const cost = (engine) => part(engine, 'script') + extra(engine, 'micro') + extra(engine, 'style');
  const row = {
    mail: mail.name.replace(/\.html$/, ''),
    text: { tenebra: quality.tenebra.textShare, darkreader: quality.darkreader.textShare },
    bright: { tenebra: quality.tenebra.brightShare, darkreader: quality.darkreader.brightShare },
    ms: { tenebra: cost('tenebra'), darkreader: cost('darkreader'), floor: cost('floor') },
    script: { tenebra: part('tenebra', 'script'), darkreader: part('darkreader', 'script') },
    // Every run's parts, so that the figures can be checked or summed otherwise.
    runs,
  };
  results.push(row);
  console.error(`${row.mail}: text ${pct(row.text.tenebra)} / ${pct(row.text.darkreader)}, bright ${pct(row.bright.tenebra)} / ${pct(row.bright.darkreader)}, ${row.ms.tenebra.toFixed(1)} / ${row.ms.darkreader.toFixed(1)} ms (script ${row.script.tenebra.toFixed(1)} / ${row.script.darkreader.toFixed(1)}), floor ${row.ms.floor.toFixed(1)} ms`);
}
await browser.close();

const sizeOf = (code) => Buffer.byteLength(code);
const darkReaderMin = (await minify(darkReader, { compress: true, mangle: true })).code;
const sizes = { tenebra: sizeOf(readFileSync(minPath, 'utf8')), darkreader: sizeOf(darkReaderMin) };

const head = ['mail', 'text>=4.5 T', 'DR', 'bright T', 'DR', 'ms T', 'DR', 'floor', 'x faster', 'T >= DR'];
const table = [head, ...results.map((r) => [
  r.mail, pct(r.text.tenebra), pct(r.text.darkreader), pct(r.bright.tenebra), pct(r.bright.darkreader),
  r.ms.tenebra.toFixed(1), r.ms.darkreader.toFixed(1), r.ms.floor.toFixed(1), (r.ms.darkreader / r.ms.tenebra).toFixed(1),
  r.text.tenebra >= r.text.darkreader && r.bright.tenebra <= r.bright.darkreader ? 'yes' : 'NO',
])];
const widths = head.map((_, i) => Math.max(...table.map((row) => String(row[i]).length)));
const line = (row) => '| ' + row.map((c, i) => String(c).padEnd(widths[i])).join(' | ') + ' |';
const ratios = results.map((r) => r.ms.darkreader / r.ms.tenebra);
const sum = (f) => results.reduce((a, r) => a + f(r), 0);
const medianOf = (engine) => median(results.map((r) => r.ms[engine]));
// The goal: the median mail at most 2.5 times the floor's median and at least
// 3 times faster than Dark Reader's, the total 3 times faster, every mail
// fully readable and dark, in under 12 KB.
const goal = [
  ['median per mail vs floor', medianOf('tenebra') / medianOf('floor'), (x) => x <= 2.5, '<= 2.5x'],
  ['median per mail, Dark Reader vs Tenebra', medianOf('darkreader') / medianOf('tenebra'), (x) => x >= 3, '>= 3x'],
  ['total, Dark Reader vs Tenebra', sum((r) => r.ms.darkreader) / sum((r) => r.ms.tenebra), (x) => x >= 3, '>= 3x'],
  ['worst text share', Math.min(...results.map((r) => r.text.tenebra)), (x) => x === 1, '100%', pct],
  ['worst bright share', Math.max(...results.map((r) => r.bright.tenebra)), (x) => x <= 0.01, '<= 1%', pct],
  ['size', sizes.tenebra, (x) => x < 12 * 1024, '< 12288 bytes', (x) => `${x} bytes`],
].map(([what, value, met, target, show = (x) => `${x.toFixed(2)}x`]) =>
  `Goal, ${what}: ${show(value)} (${target}): ${met(value) ? 'met' : 'NOT MET'}.`);
console.log([
  line(head),
  line(widths.map((w) => '-'.repeat(w))),
  ...table.slice(1).map(line),
  '',
  `Mails: ${results.length}; runs per engine and mail: ${reps}.`,
  `Tenebra at least as good as Dark Reader on both measures: ${results.filter((r) => r.text.tenebra >= r.text.darkreader && r.bright.tenebra <= r.bright.darkreader).length} of ${results.length}.`,
  `Worst text share: Tenebra ${pct(Math.min(...results.map((r) => r.text.tenebra)))}, Dark Reader ${pct(Math.min(...results.map((r) => r.text.darkreader)))}.`,
  `Worst bright share: Tenebra ${pct(Math.max(...results.map((r) => r.bright.tenebra)))}, Dark Reader ${pct(Math.max(...results.map((r) => r.bright.darkreader)))}.`,
  `CPU per mail (median of mails): Tenebra ${median(results.map((r) => r.ms.tenebra)).toFixed(1)} ms, Dark Reader ${median(results.map((r) => r.ms.darkreader)).toFixed(1)} ms; total ${sum((r) => r.ms.tenebra).toFixed(0)} ms / ${sum((r) => r.ms.darkreader).toFixed(0)} ms.`,
  `Speed-up per mail: lowest ${Math.min(...ratios).toFixed(1)}x, median ${median(ratios).toFixed(1)}x.`,
  `Reading the colours alone (floor): median ${median(results.map((r) => r.ms.floor)).toFixed(1)} ms per mail, total ${sum((r) => r.ms.floor).toFixed(0)} ms; ` +
    `on ${results.filter((r) => r.ms.floor * 5 > r.ms.darkreader).length} of ${results.length} mails it costs more than a fifth of Dark Reader.`,
  `Size, minified: Tenebra ${sizes.tenebra} bytes, Dark Reader ${sizes.darkreader} bytes (darkreader.js through terser).`,
  `Per mail, Tenebra over the floor: median ${median(results.map((r) => r.ms.tenebra / r.ms.floor)).toFixed(2)}x.`,
  ...goal,
].join('\n'));
if (jsonOut) writeFileSync(jsonOut, JSON.stringify({ reps, sizes, results }, null, 2));
