// The mail script on small pages made for one case each, in Chromium with
// the network blocked.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import {
  launch, openMail, openStalled, measure, fingerprint, installedScript, painted, relLum, contrast,
  hue, hueDistance, parseRgb, pct, newContext, dataUrl, frames, inlineInto,
} from '../../tools/browser/driver.mjs';
import { decodePng } from '../../tools/browser/png.mjs';

const script = installedScript();
let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser.close(); });

const mail = (body, head = '', bodyAttrs = '') =>
  `<!DOCTYPE html><html><head><meta charset="utf-8">${head}</head><body${bodyAttrs}>${body}</body></html>`;

const PHOTO = 'data:image/svg+xml,' + encodeURIComponent(
  '<svg xmlns="http://www.w3.org/2000/svg" width="160" height="90"><rect width="160" height="90" fill="#fff"/>' +
  '<rect x="10" y="10" width="60" height="40" fill="#111"/><circle cx="120" cy="55" r="25" fill="#fc0"/></svg>');

async function open(html, options = {}) {
  return openMail(browser, html, { script, inline: true, ...options });
}

const computed = (page, selector, prop) =>
  page.$eval(selector, (el, p) => getComputedStyle(el).getPropertyValue(p), prop);

// A page is done when all of its text reads at 4.5:1 on what is painted
// under it, it has no bright surfaces and its own background is dark.
async function assertDark(page, label) {
  const m = await measure(page);
  assert.equal(m.textShare, 1, `${label}: ${pct(m.textShare)} of text readable; ${JSON.stringify(m.failures.slice(0, 4))}`);
  assert.ok(m.brightShare <= 0.01, `${label}: ${pct(m.brightShare)} bright`);
  assert.ok(relLum(m.rootBg) <= 0.05, `${label}: page background ${m.rootBg}`);
  return m;
}

const EVERY_SOURCE = mail(`
  <table bgcolor="#fafafa" width="100%"><tr bgcolor="#f0f0f0"><td bgcolor="#e8e8e8" id="td">cell on bgcolor</td></tr></table>
  <p id="bodytext">text coloured by body text=</p>
  <p><font color="#000080" id="font">font colour</font> and <a href="#x" id="link">a link</a></p>
  <div style="background:#fff;color:#444" id="inline">inline colours</div>
  <div style="background-color:#fff !important;color:#000 !important;border:3px solid #eee !important" id="inlineimp">inline !important</div>
  <div class="cls" id="cls">class colours</div>
  <div class="imp" style="background:#e00;color:#fff" id="imp">an !important rule beats the style attribute</div>
  <div class="mq" id="mq">inside a media query</div>
  <div class="sup" id="sup">inside @supports</div>
  <div class="grad" id="grad">on a gradient</div>
  <div class="bord" id="bord">with light borders</div>
  <div style="color:rgba(0,0,0,.55)" id="alpha">translucent text</div>
  <table background="${PHOTO}" width="300"><tr><td id="bgimg" height="60">over a background image</td></tr></table>
  <div class="bgurl" id="bgurl">over a CSS background image</div>
  <p><mark id="mark">marked</mark></p>
  <table><tr><td bgcolor="chucknorris" id="legacy">legacy colour value</td><td bgcolor="ffffff" id="nohash">no hash</td></tr></table>`,
`<style>
  .cls { background-color: #ffeeee; color: #222; }
  .imp { background: #fff !important; color: #111 !important; }
  @media (min-width: 100px) { .mq { background-color: #eef; color: #335; } }
  @supports (display: grid) { .sup { background-color: #efe; color: #030; } }
  .grad { background-image: linear-gradient(#fff, #ddd); color: #000; }
  .bord { border: 6px solid #ddd; color: #222; }
  .bgurl { background: #fff url("${PHOTO}"); height: 60px; color: #000; }
</style>`, ' bgcolor="#ffffff" text="#333333" link="#0000cc" vlink="#0000cc"');

test('every kind of mail colour ends dark and readable', async () => {
  const { context, page } = await open(EVERY_SOURCE);
  await assertDark(page, 'every source');
  // The mail's cascade still decides: the !important rule wins over the
  // style attribute's red, so the box is the rule's white made dark.
  const imp = await painted(page, '#imp');
  assert.ok(relLum(imp) <= 0.045 && Math.max(...imp) - Math.min(...imp) <= 2, `#imp painted ${imp}`);
  // "chucknorris" is #c00000 to HTML: a dark red, not left bright.
  const legacy = await painted(page, '#legacy');
  assert.ok(relLum(legacy) <= 0.045 && hueDistance(hue(legacy), 0) < 6, `#legacy painted ${legacy}`);
  assert.ok(relLum(await painted(page, '#nohash')) < 0.01);
  // The body's link colour made light keeps its hue instead of the theme's.
  const link = parseRgb(await computed(page, '#link', 'color'));
  assert.ok(hueDistance(hue(link), 240) < 6 && relLum(link) >= 0.44, `link ${link}`);
  await context.close();
});

test('hues survive and what is already right stays', async () => {
  const { context, page } = await open(mail(`
    <table width="100%"><tr><td style="background:#1a73e8;color:#fff;padding:10px" id="bar">Brand bar</td></tr></table>
    <p><a href="#b" style="display:inline-block;background:#d93025;color:#fff;padding:10px" id="button">Red button</a></p>
    <div style="background:#102030;color:#e0e0e0;padding:10px" id="darkpart">An already dark section</div>
    <p style="color:#b00020" id="redtext">Red text</p>
    <p style="-webkit-text-stroke:1px #222;text-decoration:underline #000;column-rule:2px solid #eee" id="shorthands">Colours set only through shorthands</p>
    <p><a href="#plain" id="plainlink">A link the mail gives no colour</a></p>`));
  await assertDark(page, 'hues');
  for (const [sel, h] of [['#bar', 217], ['#button', 4]]) {
    const bg = await painted(page, sel);
    assert.ok(hueDistance(hue(bg), h) < 8 && relLum(bg) <= 0.045, `${sel} painted ${bg}`);
    assert.equal(await computed(page, sel, 'color'), 'rgb(255, 255, 255)');
  }
  assert.deepEqual(await painted(page, '#darkpart'), [16, 32, 48]);
  assert.equal(await computed(page, '#darkpart', 'color'), 'rgb(224, 224, 224)');
  const red = parseRgb(await computed(page, '#redtext', 'color'));
  assert.ok(hueDistance(hue(red), 353) < 8 && relLum(red) >= 0.44, `red text ${red}`);
  assert.equal(await computed(page, '#plainlink', 'color'), 'rgb(81, 184, 255)');
  // Colours that only a shorthand sets: text strokes and lines turn light,
  // rules between columns turn dark like borders.
  for (const prop of ['-webkit-text-stroke-color', 'text-decoration-color']) {
    const c = parseRgb(await computed(page, '#shorthands', prop));
    assert.ok(relLum(c) >= 0.44, `${prop} ${c}`);
  }
  const rule = parseRgb(await computed(page, '#shorthands', 'column-rule-color'));
  assert.ok(relLum(rule) <= 0.045, `column-rule-color ${rule}`);
  await context.close();
});

test('an !important border colour in a style attribute does not paint the box', async () => {
  const { context, page } = await open(mail(`
    <div style="background:#fff !important;border:6px solid #d93025 !important;height:80px" id="box">boxed</div>`));
  const inside = await painted(page, '#box');
  assert.ok(relLum(inside) <= 0.045 && Math.max(...inside) - Math.min(...inside) <= 2, `#box painted ${inside}`);
  await context.close();
});

// The same dark design, its background set each way a mail can set one.
const DARK_CONTENT = `
  <h1 style="color:#fff">Night sale</h1><p>Light text on a dark design, as the sender made it,
  with all of its offers listed in light type, and one
  <a href="#go" style="background:#fff;color:#101418;padding:8px">white button</a>.</p>`;
const DARK_MAILS = {
  'a legacy attribute': mail(`<table width="100%" bgcolor="#101418"><tr><td style="color:#f0f0f0;padding:20px">
    ${DARK_CONTENT}</td></tr></table>`, '<style>body{margin:0;background:#101418}</style>'),
  'a style attribute with quotes in it': mail(`<div style="color:#f0f0f0;padding:20px">${DARK_CONTENT}</div>`,
    '<style>body{margin:0}</style>', ` style='background-color:#101418;font-family:"Trebuchet MS", sans-serif'`),
  'a rule inside a media query': mail(`<div class="wrap">${DARK_CONTENT}</div>`,
    '<style>body{margin:0}@media screen{body,.wrap{background:#101418;color:#f0f0f0;padding:10px}}</style>'),
  'a rule that also styles a pseudo-element': mail(`<div class="wrap">${DARK_CONTENT}</div>`,
    '<style>body{margin:0}body,.wrap,p::first-line{background:#101418;color:#f0f0f0}</style>'),
};

test('a mail that is already dark is left exactly as it is', async () => {
  for (const [how, html] of Object.entries(DARK_MAILS)) {
    const plain = await openMail(browser, html, {});
    const before = decodePng(await plain.page.screenshot());
    await plain.context.close();
    const { context, page } = await open(html);
    const afterShot = decodePng(await page.screenshot());
    assert.ok(Buffer.from(before.data).equals(Buffer.from(afterShot.data)), `dark through ${how}: repainted`);
    await context.close();
  }
});

test('a light mail framed in a dark colour is darkened', async () => {
  // Nearly all of the text lies inside the dark frame, but on the light card.
  const { context, page } = await open(mail(`
    <table width="100%" bgcolor="#202124" style="padding:24px"><tr><td>
      <div style="background:#ffffff;color:#333;padding:16px" id="card">${DARK_CONTENT.repeat(3)}</div>
    </td></tr></table>`, '<style>body{margin:0;background:#202124}</style>'));
  await assertDark(page, 'framed mail');
  assert.ok(relLum(await painted(page, '#card')) <= 0.05, 'the card stayed light');
  await context.close();
});

// Each colour given only by an attribute of old HTML, with the property it
// sets and whether that colour is text or a surface.
const ATTRIBUTE_COLORS = [
  ['#hr', 'background-color', 'surface'], ['#hr', 'border-top-color', 'surface'],
  ['#bordered', 'border-top-color', 'surface'], ['#bordered td', 'border-left-color', 'surface'],
  ['#group', 'background-color', 'surface'], ['#cell', 'background-color', 'surface'],
  ['#font', 'color', 'text'], ['#text', 'color', 'text'], ['#link', 'color', 'text'],
];

test('colours set by attributes of old HTML are darkened like the styles that set them', async () => {
  const html = mail(`
    <p id="text">Text coloured by the body's text=</p><p><a href="#x" id="link">A link coloured by link=</a></p>
    <hr color="#eeeeee" size="8" id="hr">
    <table border="4" bordercolor="#dddddd" cellspacing="6" id="bordered"><tr><td>Cell in light borders</td></tr></table>
    <table><colgroup bgcolor="#fff8e1" id="group"><col width="300"></colgroup><tr><td>In a coloured column group</td></tr></table>
    <table><tr><td bgcolor="#e6f4ea" id="cell"><font color="#3c4043" id="font">Font colour</font></td></tr></table>`,
  '', ' bgcolor="#ffffff" text="#5f6368" link="#0b57d0"');
  const colors = async (page) => {
    const out = [];
    for (const [sel, prop] of ATTRIBUTE_COLORS) out.push(parseRgb(await computed(page, sel, prop)));
    return out;
  };
  const plain = await openMail(browser, html, {});
  const before = await colors(plain.page);
  await plain.context.close();
  const { context, page } = await open(html);
  await assertDark(page, 'attribute colours');
  const now = await colors(page);
  ATTRIBUTE_COLORS.forEach(([sel, prop, kind], i) => {
    const was = before[i], is = now[i], label = `${sel} ${prop}: ${was} became ${is}`;
    // Light surfaces and dark text as sent, so that each case can fail.
    assert.ok(kind === 'surface' ? relLum(was) > 0.5 && relLum(is) <= 0.05 : relLum(was) < 0.2 && relLum(is) >= 0.44, label);
    // A pale tint made dark has too little colour left to keep an exact hue.
    assert.ok(Math.max(...was) - Math.min(...was) < 64 || hueDistance(hue(was), hue(is)) < 8, label);
  });
  await context.close();
});

// A dark design with text that reads poorly on what is behind it, and text
// that reads well. `weak` marks what was sent below 4.5:1.
const WEAK_IN_DARK = mail(`
  <div style="background:#101418;color:#e8eaed;padding:16px">
    <h1 style="color:#ffffff" id="title">Winter sale</h1>
    <p id="body">Everything in the shop is half price until Sunday, with free delivery on every order.
      The offers below are listed in light type on the dark page, as the sender designed them.</p>
    <p>Now only <span style="color:#c5221f" id="price">12.99</span>, was
      <span style="color:#fbbc04" id="old">25.98</span>.</p>
    <p><a href="#shop" style="color:#1a0dab" id="link">Shop the sale</a></p>
    <div style="color:#5f6368" id="footer">You receive this mail because you subscribed. Unsubscribe at any time.
      <div style="background:#ffffff;padding:8px" id="card">A white card that inherits the footer's grey</div>
    </div>
    <p style="color:rgba(255,255,255,.3)" id="faint">Faint translucent note</p>
    <div style="background:#f1f3f4;color:#9aa0a6;padding:8px" id="pale">Pale grey on a light panel</div>
  </div>`, '<style>body{margin:0;background:#101418}</style>');
const WEAK_IDS = ['title', 'body', 'price', 'old', 'link', 'footer', 'card', 'faint', 'pale'];

// Every element's background, and each case's text colour over what is
// painted behind it.
function darkDesign(ids) {
  const rgba = (s) => s.match(/[\d.]+/g).map(Number).concat(1).slice(0, 4);
  const behind = (el) => {
    for (; el; el = el.parentElement) {
      const c = rgba(getComputedStyle(el).backgroundColor);
      if (c[3] >= 0.5) return c;
    }
    return [255, 255, 255, 1];
  };
  const text = {};
  for (const id of ids) {
    const el = document.getElementById(id), c = rgba(getComputedStyle(el).color), b = behind(el);
    text[id] = { fg: [0, 1, 2].map((i) => c[i] * c[3] + b[i] * (1 - c[3])), bg: b.slice(0, 3) };
  }
  return { text, backgrounds: [...document.querySelectorAll('body, body *')].map((el) => getComputedStyle(el).backgroundColor) };
}

test('an already-dark mail keeps its design and lifts only its weak text, by the least change', async () => {
  const plain = await openMail(browser, WEAK_IN_DARK, {});
  const before = await plain.page.evaluate(darkDesign, WEAK_IDS);
  await plain.context.close();
  const weak = WEAK_IDS.filter((id) => contrast(before.text[id].fg, before.text[id].bg) < 4.5);
  assert.deepEqual(weak, ['price', 'link', 'footer', 'faint', 'pale']);
  for (const way of ['inline', 'init']) {
    const { context, page } = await open(WEAK_IN_DARK, { inline: way === 'inline', init: way === 'init' });
    const m = await measure(page);
    assert.equal(m.textShare, 1, `${way}: ${pct(m.textShare)} of text readable; ${JSON.stringify(m.failures.slice(0, 4))}`);
    const now = await page.evaluate(darkDesign, WEAK_IDS);
    assert.deepEqual(now.backgrounds, before.backgrounds, `${way}: a background changed`);
    for (const id of WEAK_IDS) {
      const was = before.text[id], is = now.text[id], label = `${way} #${id}: ${was.fg} became ${is.fg} on ${is.bg}`;
      if (!weak.includes(id)) {
        assert.deepEqual(is.fg, was.fg, label);
        continue;
      }
      // Just past 4.5:1, on the side of the background the text was on,
      // in its own hue.
      const c = contrast(is.fg, is.bg);
      assert.ok(c >= 4.5 && c < 5, `${label}: ${c.toFixed(2)}:1`);
      assert.equal(relLum(is.fg) > relLum(is.bg), relLum(was.fg) > relLum(was.bg), label);
      assert.ok(hue(was.fg) === null || hueDistance(hue(was.fg), hue(is.fg)) < 8, label);
    }
    await context.close();
  }
});

test('images are never filtered or repainted', async () => {
  const html = mail(`
    <img src="${PHOTO}" id="img" width="160" height="90">
    <picture id="pic"><img src="${PHOTO}" width="160" height="90"></picture>
    <svg id="svg" width="160" height="90"><rect width="160" height="90" fill="#fff"/><circle cx="80" cy="45" r="30" fill="#222"/></svg>
    <div style="background:#fff;padding:10px"><img src="${PHOTO}" id="nested" width="160" height="90"></div>`,
  '<style>body{margin:0}img,svg,picture{display:block}</style>');
  const shots = async (page) => {
    const out = [];
    for (const sel of ['#img', '#pic img', '#svg', '#nested']) out.push(decodePng(await page.locator(sel).screenshot()));
    return out;
  };
  const plain = await openMail(browser, html, {});
  const before = await shots(plain.page);
  await plain.context.close();
  const { context, page } = await open(html);
  const now = await shots(page);
  before.forEach((b, i) => assert.ok(Buffer.from(b.data).equals(Buffer.from(now[i].data)), `image ${i} changed`));
  const m = await measure(page);
  assert.deepEqual(m.imageState.filter((s) => s.altered.length), []);
  await context.close();
});

test('legacy colour values are read the way HTML reads them', async () => {
  // Words that name members of every JavaScript object are no colour names,
  // and neither are names joined by the separators of a list of them.
  const values = ['chucknorris', 'ffcc00', '#0a0', 'navy', ' #ff0066 ', 'sick', '#1234567890', 'rgb(0,200,0)',
    'constructor', 'toString', 'hasOwnProperty', 'aliceblue:f0f8ff,antiquewhite', 'tan:d2b48c,teal', ',red'];
  const html = mail(values.map((v, i) => `<p><font color="${v}" id="f${i}">${v}</font></p>`).join(''));
  const hues = async (page) => {
    const out = [];
    for (let i = 0; i < values.length; i++) out.push(hue(parseRgb(await computed(page, `#f${i}`, 'color'))));
    return out;
  };
  const plain = await openMail(browser, html, {});
  const before = await hues(plain.page);
  await plain.context.close();
  const { context, page } = await open(html);
  await assertDark(page, 'legacy values');
  const now = await hues(page);
  values.forEach((v, i) => assert.ok(before[i] === null ? now[i] === null : hueDistance(before[i], now[i]) < 8,
    `${v}: hue ${before[i]} became ${now[i]}`));
  await context.close();
});

test('content added after load is darkened too', async () => {
  const { context, page } = await open(mail('<p>Loaded.</p>'));
  await page.evaluate(() => {
    const box = document.createElement('div');
    box.setAttribute('style', 'background:#fffbe6;color:#5c4400;padding:8px');
    box.textContent = 'Added by script';
    const table = document.createElement('table');
    table.setAttribute('bgcolor', '#f5f5f5');
    table.insertRow().insertCell().textContent = 'Added table';
    const style = document.createElement('style');
    style.textContent = '.late { background: #e6f4ea; color: #0d652d; }';
    const late = document.createElement('p');
    late.className = 'late';
    late.textContent = 'Styled by a sheet added later';
    document.head.append(style);
    document.body.append(box, table, late);
    document.querySelector('p').setAttribute('style', 'background:#fff;color:#000');
  });
  await frames(page);
  await assertDark(page, 'added later');
  await context.close();
});

// Served from one origin, as the mail's own resources would be, and held
// back until the document has settled: their load events alone bring them.
test('sheets that arrive by <link> or @import after the mail is parsed are darkened too', async (t) => {
  const html = mail('<div id="linked">Linked sheet</div><p id="imported">Imported sheet</p><p id="nested">Nested import</p>',
    '<link rel="stylesheet" href="linked.css"><style>@import url("imported.css");</style>');
  const SHEETS = {
    'linked.css': '#linked { background-color: #ffffff; color: #000000; padding: 8px }',
    'imported.css': '@import url("nested.css"); #imported { background-color: #ffffee; color: #111111; padding: 8px }',
    'nested.css': '#nested { background-color: #f0fff0; color: #222222; padding: 8px }',
  };
  for (const inline of [true, false]) {
    await t.test(inline ? 'inline' : 'document start', async () => {
      const context = await newContext(browser, {
        init: inline ? [] : [script],
        route: (r) => {
          const url = new URL(r.request().url());
          if (url.host !== 'mail.test') return false;
          const name = url.pathname.slice(1);
          if (name === 'mail.html') {
            r.fulfill({ contentType: 'text/html', body: inline ? inlineInto(html, script) : html });
          } else {
            setTimeout(() => r.fulfill({ contentType: 'text/css', body: SHEETS[name] }).catch(() => {}), 300);
          }
          return true;
        },
      });
      const page = await context.newPage();
      await page.goto('http://mail.test/mail.html', { waitUntil: 'domcontentloaded' });
      await page.waitForFunction(() => {
        const sheets = document.styleSheets, imported = sheets.length === 2 && sheets[1].cssRules[0].styleSheet;
        return document.readyState === 'complete' && imported && imported.cssRules[0].styleSheet;
      });
      await frames(page);
      await assertDark(page, 'late sheets');
      for (const id of ['#linked', '#imported', '#nested']) {
        assert.ok(relLum(parseRgb(await computed(page, id, 'background-color'))) <= 0.05, `${id} background`);
      }
      await context.close();
    });
  }
});

test('runs once per document, whatever the way in and the order', async (t) => {
  const body = `<div style="background:#fff;color:#222;padding:10px">Hello <a href="#a">there</a></div>
    <table bgcolor="#eeeeee"><tr><td><font color="#333">legacy</font></td></tr></table>`;
  const ref = await open(mail(body));
  const expected = await fingerprint(ref.page);
  await ref.context.close();

  await t.test('without <head> and before <html> exists', async () => {
    const { context, page } = await openMail(browser, body, {
      script, init: true, extraInit: ['window.rootAtStart = !!document.documentElement'],
    });
    assert.equal(await page.evaluate(() => window.rootAtStart), false);
    await assertDark(page, 'no head');
    await context.close();
  });

  await t.test('inline after several literal <head>s and at document start', async () => {
    const html = mail(body).replace('</body>', '<pre>&lt;head&gt; quoted</pre><!-- <head> --></body>')
      .replace('<head>', '<head><head>');
    assert.equal(html.split('<head>').length - 1, 3);
    const { context, page } = await open(html, { init: true });
    const withoutPre = async () => (await fingerprint(page)).filter((f) => !f.startsWith('PRE'));
    assert.deepEqual(await withoutPre(), expected);
    await page.evaluate(script);
    await page.evaluate(script);
    assert.deepEqual(await withoutPre(), expected);
    await context.close();
  });

  await t.test('in every frame', async () => {
    const inner = mail('<p style="color:#000;background:#fff">In a frame</p>').replace(/"/g, '&quot;');
    const { context, page } = await openMail(browser, mail(`<iframe srcdoc="${inner}" width="400" height="100"></iframe>`), { script, init: true });
    const frame = page.frames()[1];
    await frame.waitForLoadState('load');
    assert.equal(await frame.$eval('p', (p) => getComputedStyle(p).color), 'rgb(204, 204, 204)');
    await context.close();
  });
});

test('without constructed style sheets it keeps one <style> outside <body>', async () => {
  const noConstructed = 'window.CSSStyleSheet = function () { throw new TypeError(); };';
  const { context, page } = await open(EVERY_SOURCE, { init: true, extraInit: [noConstructed] });
  await assertDark(page, 'fallback');
  const placement = await page.evaluate(() => {
    const own = [...document.querySelectorAll('style')].filter((s) => s.textContent.includes('color-scheme:dark'));
    return { count: own.length, last: own[0] === document.documentElement.lastElementChild, inBody: document.body.contains(own[0]) };
  });
  assert.deepEqual(placement, { count: 1, last: true, inBody: false });
  await context.close();
});

test('the first frame is already dark', async (t) => {
  const rows = Array.from({ length: 60 }, (_, i) =>
    `<tr><td bgcolor="#ffffff" style="color:#222;padding:6px">Row ${i} of a long light mail</td></tr>`).join('');
  const html = mail(`<table width="100%" style="background:#f4f4f4">${rows}</table>`);
  const frame = async (options) => {
    const s = await openStalled(browser, html, options);
    const m = await measure(s.page);
    await s.release();
    await s.context.close();
    return m.brightShare;
  };
  await t.test('a held page without the script is white, so the check can fail', async () => {
    assert.ok(await frame({}) > 0.5);
  });
  for (const way of ['inline', 'init']) {
    await t.test(`with the script ${way}`, async () => {
      const bright = await frame({ script, [way]: true });
      assert.ok(bright <= 0.01, `${pct(bright)} bright while loading`);
    });
  }
});

test('nothing leaks into what the user sends from an editable region', async (t) => {
  const mailPart = `<div id="quoted" class="q" style="color:#333;background:#fff">
      <p>Copy <b style="color:#c00">this</b> line</p></div><style>.q p { color: #0a0 }</style>`;
  const reply = `<p style="color:#000;background:#fff">Reply text</p>
    <blockquote style="border-left:2px solid #ccc;background-color:#fafafa !important;color:#333 !important">
      <table bgcolor="#ffffff"><tr><td><font color="#222">Quoted mail</font></td></tr></table></blockquote>`;
  // Copy from the mail into the reply, type, paste markup and recolour: the
  // editor compares against computed styles at every step.
  const edit = async (page, root) => {
    await page.evaluate(() => getSelection().selectAllChildren(document.querySelector('#quoted p')));
    await page.keyboard.press('Control+C');
    await page.evaluate((sel) => {
      const region = document.querySelector(sel);
      region.focus();
      getSelection().selectAllChildren(region);
      getSelection().collapseToEnd();
    }, root);
    await page.keyboard.press('Control+V');
    await page.keyboard.type(' typed');
    await page.evaluate(() => {
      document.execCommand('insertHTML', false, '<span style="color:#000;background:#ffff00">pasted</span>');
      document.execCommand('selectAll');
      document.execCommand('foreColor', false, '#000000');
    });
  };
  const sent = (page, root) => page.evaluate((sel) => document.querySelector(sel).innerHTML, root);
  const designMode = 'document.addEventListener("DOMContentLoaded", () => { document.designMode = "on"; })';
  const noConstructed = 'window.CSSStyleSheet = function () { throw new TypeError(); };';
  for (const [name, html, root, extraInit] of [
    ['designMode document', mail(mailPart + reply), 'body', [designMode]],
    ['contenteditable region', mail(`${mailPart}<div id="compose" contenteditable="true">${reply}</div>`), '#compose', []],
    ['designMode, engine without constructed sheets', mail(mailPart + reply), 'body', [designMode, noConstructed]],
  ]) {
    await t.test(name, async () => {
      const plain = await openMail(browser, html, { extraInit });
      const untouched = await sent(plain.page, root);
      await edit(plain.page, root);
      const plainEdited = await sent(plain.page, root);
      await plain.context.close();

      const { context, page } = await open(html, { extraInit });
      assert.equal(await sent(page, root), untouched);
      await frames(page);
      await assertDark(page, name);
      await edit(page, root);
      assert.equal(await sent(page, root), plainEdited);
      await context.close();
    });
  }
});

test('mail content never becomes markup, code or a request', async () => {
  const requests = [];
  const hostile = mail(`
    <div style='color:#000;background:#fff;font-family:"]),*{background:url(https://evil.invalid/a)} [x="'>quotes and braces</div>
    <table><tr><td bgcolor='"]{}*{background-image:url(https://evil.invalid/b)}'>in bgcolor</td></tr></table>
    <font color='"></style><img src=x onerror="window.pwned=1">'>in font color</font>
    <p style="color:#000;background:#fff;content:'\\'; }</style><script>window.pwned=2</script>'">backslash</p>`,
  '<style>.x{color:#000}</style>');
  const { context, page } = await openMail(browser, hostile, { script, inline: true, onRequest: (u) => requests.push(u) });
  await assertDark(page, 'hostile');
  assert.equal(await page.evaluate(() => window.pwned), undefined);
  // The hostile values stay inside attribute selectors' strings: no
  // declaration the script wrote carries anything but colours.
  const declarations = await page.evaluate(() => [...document.adoptedStyleSheets[0].cssRules].map((r) => r.style.cssText));
  assert.ok(declarations.every((d) => !/url\(|content/.test(d)), declarations.join('\n'));
  assert.deepEqual(requests, []);
  await context.close();
});

test('network stays blocked in the harness itself', async () => {
  const seen = [];
  const context = await newContext(browser, { onRequest: (u) => seen.push(u) });
  const page = await context.newPage();
  await page.goto(dataUrl(mail('<img src="https://example.invalid/x.png">')));
  assert.deepEqual(seen, ['https://example.invalid/x.png']);
  assert.equal(await page.$eval('img', (i) => i.naturalWidth), 0);
  await context.close();
});
