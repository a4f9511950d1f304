// Tenebra's mail-content script. It is inlined as the first element of <head>
// in UIWebView mail pages and injected at document start into every frame of
// a WKWebView, so it may run before <html> exists and more than once per
// document; it does its work once.
//
// It never rewrites the mail: all of its output lives in one style sheet of
// its own (a constructed sheet where the engine has them, which has no node in
// the DOM at all). That sheet mirrors every colour the mail sets — in its
// style sheets, in style attributes and in legacy attributes — with a
// remapped colour and the same selector, importance and media condition, so
// the mail's own cascade decides which colour wins, exactly as it did before.
// Backgrounds map into a dark band and text into a light band that clears
// 4.5:1 against any colour of the dark band, so contrast holds whatever text
// ends up on whatever background. Hue is kept, and saturation as far as the
// band allows; only lightness moves. Colours already in their band are left
// exactly as they are, which also makes the mapping idempotent.
//
// The sheet is switched off while an editor or the clipboard reads styles,
// and an already-dark mail is left as it is.
(function () {
  'use strict';
  var doc = document;
  // Symbol.for survives a second copy of this script, and unlike a plain
  // property on document it cannot be shadowed by a mail's <img name=…>.
  var MARK = Symbol.for('tenebra');
  if (doc[MARK]) return;
  doc[MARK] = 1;

  // Bands in WCAG relative luminance: (0.44 + 0.05) / (0.045 + 0.05) > 5, so
  // even their edges, give or take rounding, clear 4.5:1.
  var BG_MAX = 0.045;
  var TEXT_MIN = 0.44;
  var BG_MAX_L = lstar(BG_MAX);
  var TEXT_MIN_L = lstar(TEXT_MIN);
  var TEXT_TOP_L = lstar(lum([204, 204, 204]));
  // Background images stay unfiltered; a scrim over them keeps them at most
  // as light as the dark band (0.78 black over white is #383838).
  var SCRIM = 'box-shadow:inset 0 0 0 1e4px rgba(0,0,0,.78)';
  var LEGACY_BG = ':is(body,table,thead,tbody,tfoot,tr,td,th)';
  var BASE =
    ':root{color-scheme:dark!important}' +
    ':where(:root){background-color:#000;color:#ccc}' +
    ':where(a:any-link){color:#51b8ff}' +
    ':where(mark){background-color:#4d3f00;color:#ccc}' +
    ':where(' + LEGACY_BG + '[background]){' + SCRIM + '}';

  // --- colours ------------------------------------------------------------

  var canvasCtx, sawDark;
  var parsed = new Map();

  // Any CSS colour the engine knows, as [r, g, b, a]; null for keywords that
  // depend on context and for anything unparseable.
  function parse(value) {
    var hit = parsed.get(value);
    if (hit !== undefined) return hit;
    var out = null, m = /^rgba?\(([\d.]+), ([\d.]+), ([\d.]+)(?:, ([\d.]+))?\)$/.exec(value);
    // Style sheets hand most colours over as rgb(); the canvas reads the rest.
    if (m) {
      out = [+m[1], +m[2], +m[3], m[4] ? +m[4] : 1];
    } else if (!/^\s*$|current|inherit|initial|unset|revert|var\(|light-dark|attr\(/i.test(value)) {
      canvasCtx = canvasCtx || doc.createElement('canvas').getContext('2d');
      // Two sentinels tell "unparseable" apart from a value equal to either.
      canvasCtx.fillStyle = '#010203';
      canvasCtx.fillStyle = value;
      var first = canvasCtx.fillStyle;
      canvasCtx.fillStyle = '#030201';
      canvasCtx.fillStyle = value;
      if (first === canvasCtx.fillStyle) out = fromSerialized(first);
    }
    parsed.set(value, out);
    return out;
  }

  function fromSerialized(s) {
    if (s[0] === '#') {
      return [parseInt(s.substr(1, 2), 16), parseInt(s.substr(3, 2), 16), parseInt(s.substr(5, 2), 16), 1];
    }
    var n = s.match(/[\d.]+/g);
    return n && n.length === 4 ? [+n[0], +n[1], +n[2], +n[3]] : null;
  }

  // HTML's rules for parsing a legacy colour value (bgcolor, <font color>,
  // <body text>), which accept what CSS rejects, such as "ffffff".
  function legacy(value) {
    var s = value.trim();
    if (!s || /^transparent$/i.test(s)) return null;
    if (/^[a-z]+$/i.test(s) && parse(s)) return parse(s);
    if (/^#[\da-f]{3}$/i.test(s)) return parse(s);
    s = s.replace(/[\ud800-\udbff][\udc00-\udfff]/g, '00').slice(0, 128).replace(/^#/, '').replace(/[^\da-f]/gi, '0');
    while (!s.length || s.length % 3) s += '0';
    var len = s.length / 3;
    var parts = [s.slice(0, len), s.slice(len, 2 * len), s.slice(2 * len)];
    if (len > 8) {
      parts = parts.map(function (p) { return p.slice(len - 8); });
      len = 8;
    }
    while (len > 2 && parts.every(function (p) { return p[0] === '0'; })) {
      parts = parts.map(function (p) { return p.slice(1); });
      len--;
    }
    return parts.map(function (p) { return parseInt(p.slice(0, 2), 16); }).concat(1);
  }

  function lin(c) {
    c /= 255;
    return c <= 0.04045 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4);
  }

  function lum(c) {
    return 0.2126 * lin(c[0]) + 0.7152 * lin(c[1]) + 0.0722 * lin(c[2]);
  }

  // CIE lightness: a perceptual scale to remap on, with its inverse.
  function lstar(y) {
    return y > 216 / 24389 ? 116 * Math.cbrt(y) - 16 : y * 24389 / 27;
  }

  function fromLstar(l) {
    return l > 8 ? Math.pow((l + 16) / 116, 3) : l * 27 / 24389;
  }

  // The colour on c's path from black through c to white whose luminance is
  // y. Below c its channels scale together; above, they scale up until one
  // is full, then mix with white. All in sRGB, which keeps the hue. Rounding
  // stays on y's side, up to a hair that the bands' slack absorbs.
  function withLum(c, y) {
    var max = Math.max(c[0], c[1], c[2]) || 1, up = y > lum(c), lo = 0, hi = 3;
    var at = function (s) {
      return [0, 1, 2].map(function (i) {
        var v = c[i] * (s < 1 ? s : s < 2 ? 1 + (s - 1) * (255 / max - 1) : 255 / max);
        return s > 2 ? v + (s - 2) * (255 - v) : v;
      });
    };
    for (var i = 0; i < 16; i++) {
      var mid = (lo + hi) / 2;
      if (lum(at(mid)) > y) hi = mid;
      else lo = mid;
    }
    return at(up ? hi : lo).map(function (v) { return up ? Math.ceil(v - 0.02) : Math.floor(v + 0.02); }).concat(c[3]);
  }

  // Light backgrounds turn dark with their order reversed: white becomes the
  // theme's black and pale panels land near its raised #1b1b1b. Both maps
  // leave a colour already in its band alone, so mapping twice changes
  // nothing more.
  function mapBg(c) {
    var y = lum(c);
    if (y <= BG_MAX + 1e-3) return c;
    return withLum(c, fromLstar(BG_MAX_L * Math.pow((100 - lstar(y)) / (100 - BG_MAX_L), 0.4)));
  }

  // Dark text turns light: black becomes the theme's #ccc and greys keep
  // their rank just below it. A translucent colour counts as laid on white,
  // the page it was meant for, unless it is light enough even over black.
  function mapText(c) {
    if (c[3] < 1) {
      if (lum(blend(c, 0)) >= TEXT_MIN - 1e-3) return c;
      c = blend(c, 255);
    }
    var y = lum(c);
    if (y >= TEXT_MIN - 1e-3) return c;
    var l = lstar(y);
    return withLum(c, fromLstar(TEXT_MIN_L + (TEXT_TOP_L - TEXT_MIN_L) * (1 - l / TEXT_MIN_L)));
  }

  function blend(c, under) {
    return [0, 1, 2].map(function (i) { return Math.round(c[i] * c[3] + under * (1 - c[3])); }).concat(1);
  }

  function css(c) {
    return c[3] < 1 ? 'rgba(' + c.join(',') + ')' : '#' + c.slice(0, 3).map(function (v) { return (256 + v).toString(16).slice(1); }).join('');
  }

  var mapped = new Map();

  // One colour declaration's value remapped, as [value, unchanged], or null
  // for a value that is no concrete colour.
  function mapValue(value, kind) {
    var key = kind + value, hit = mapped.get(key);
    if (hit !== undefined) return hit;
    var out = null, c;
    if (kind === 3) {
      if (/gradient\(/i.test(value)) {
        var v = value.replace(/#[\da-f]{3,8}\b|(?:rgb|hsl)a?\([^)]*\)|\b[a-z]+\b/gi, function (t) {
          var tc = parse(t);
          return tc ? css(mapBg(tc)) : t;
        });
        out = [v, v === value];
      }
    } else if ((c = parse(value))) {
      var m = css(kind === 1 ? mapText(c) : mapBg(c));
      out = [m, m === css(c)];
    }
    mapped.set(key, out);
    return out;
  }

  // --- declarations -------------------------------------------------------

  // The colour properties mirrored, by kind: 0 background, 1 text,
  // 3 background image. Borders map like backgrounds: mails draw buttons with
  // thick borders in the button's own colour.
  var KIND = {
    'background-color': 0,
    'background-image': 3,
    'border-top-color': 0,
    'border-right-color': 0,
    'border-bottom-color': 0,
    'border-left-color': 0,
    'outline-color': 0,
    'column-rule-color': 0,
    color: 1,
    '-webkit-text-fill-color': 1,
    '-webkit-text-stroke-color': 1,
    'text-decoration-color': 1,
    'caret-color': 1
  };

  // Mirrored declarations for a rule (inline false) or for a style attribute
  // (inline true). A style attribute beats any rule of the same importance,
  // so its mirror is !important; an !important one can't be beaten by any
  // sheet at all, so its colour is painted over instead, through properties
  // the attribute did not set. `live` tells whether the declarations apply
  // now, which is all that counts when judging an already-dark mail.
  function declarations(style, inline, live) {
    var out = '';
    for (var i = 0; i < style.length; i++) {
      var prop = style[i], kind = KIND[prop];
      if (kind === undefined) continue;
      var value = style.getPropertyValue(prop), important = style.getPropertyPriority(prop);
      if (kind === 3 && /url\(/i.test(value)) {
        out += SCRIM + (inline || important ? '!important;' : ';');
        continue;
      }
      var mv = mapValue(value, kind);
      if (!mv) continue;
      if (live && !kind) noteBg(parse(value));
      if (inline && mv[1]) continue;
      var m = mv[0];
      if (!inline) out += prop + ':' + m + (important ? '!important;' : ';');
      else if (!important) out += prop + ':' + m + '!important;';
      else if (!kind) out += 'box-shadow:inset 0 0 0 1e4px ' + m + '!important;';
      else if (prop === 'color') out += '-webkit-text-fill-color:' + m + '!important;';
    }
    return out;
  }

  function noteBg(c) {
    if (c && c[3] >= 0.5 && lum(c) <= 0.2) sawDark = true;
  }

  function quote(s) {
    return '"' + s.replace(/[\\"]/g, '\\$&').replace(/[\n\r\f]/g, function (ch) { return '\\' + ch.charCodeAt(0).toString(16) + ' '; }) + '"';
  }

  // --- rules from the mail's own sheets -----------------------------------

  var sheetCache = new WeakMap();

  function applies(media) {
    return !media || matchMedia(media).matches;
  }

  function rulesText(list, live) {
    var out = '';
    for (var i = 0; i < list.length; i++) {
      var r = list[i];
      if (r.type === 1) {
        var d = declarations(r.style, false, live);
        if (d) out += r.selectorText + '{' + d + '}';
      } else if (r.type === 4 || r.type === 12) {
        var inner = rulesText(r.cssRules, live && (r.type === 12 || applies(r.media.mediaText)));
        if (inner) out += (r.type === 4 ? '@media ' + (r.media.mediaText || 'all') : '@supports ' + r.conditionText) + '{' + inner + '}';
      } else if (r.type === 3 && r.styleSheet) {
        out += sheetText(r.styleSheet);
      }
    }
    return out;
  }

  function sheetText(sheet) {
    var rules;
    try {
      rules = sheet.cssRules;
    } catch (e) {
      return '';
    }
    if (!rules || sheet.disabled) return '';
    var hit = sheetCache.get(sheet);
    if (hit && hit[0] === rules.length) return hit[1];
    var media = sheet.media && sheet.media.mediaText, text = rulesText(rules, applies(media));
    if (text && media) text = '@media ' + media + '{' + text + '}';
    sheetCache.set(sheet, [rules.length, text]);
    return text;
  }

  // --- rules from attributes ----------------------------------------------

  var SELECTOR = '[style],[bgcolor],font[color],body[text],body[link],body[vlink],body[alink]';
  // Legacy colour attributes: where they apply, and what they colour.
  var LEGACY = {
    bgcolor: [LEGACY_BG, '', 'background-color'],
    color: ['font', '', 'color'],
    text: ['body', '', 'color'],
    link: ['body', ' a:link', 'color'],
    vlink: ['body', ' a:visited', 'color'],
    alink: ['body', ' a:active', 'color']
  };
  // Legacy colours are presentational hints, below every author rule, so
  // their mirrors have no specificity and come first; style attribute mirrors
  // follow, then the mirrors of the mail's sheets, in the mail's order.
  var legacyRules = new Map();
  var inlineRules = new Map();
  var changed = true;

  function visit(el) {
    var attrs = el.attributes;
    for (var i = 0; i < attrs.length; i++) {
      var name = attrs[i].name, value = attrs[i].value, key = name + '\n' + value, spec = LEGACY[name];
      if (name === 'style') {
        if (inlineRules.has(value)) continue;
        // Most style attributes set no colour at all.
        var d = /colou?r|background|border|outline/i.test(value) ? declarations(el.style, true, true) : '';
        inlineRules.set(value, d && ':where([style=' + quote(value) + ']){' + d + '}');
        changed = changed || !!d;
      } else if (spec && !legacyRules.has(key) && el.matches(spec[0])) {
        var c = legacy(value), bg = name === 'bgcolor';
        if (bg) noteBg(c);
        var m = c && css(bg ? mapBg(c) : mapText(c));
        legacyRules.set(key, m ? ':where(' + spec[0] + '[' + name + '=' + quote(value) + ']' + spec[1] + '){' + spec[2] + ':' + m + '}' : '');
        changed = changed || !!m;
      }
    }
  }

  function scan(node) {
    if (node.nodeType !== 1) return;
    if (node.matches(SELECTOR)) visit(node);
    if (node.firstElementChild) {
      var all = node.querySelectorAll(SELECTOR);
      for (var i = 0; i < all.length; i++) visit(all[i]);
    }
  }

  // --- the sheet ----------------------------------------------------------

  var sheet, styleEl, lastMirrors, lastText, off;
  try {
    sheet = new CSSStyleSheet();
    doc.adoptedStyleSheets = doc.adoptedStyleSheets.concat(sheet);
  } catch (e) {
    // Engines without constructed sheets get a <style> kept as the last
    // child of <html>, after <body>, so it follows every sheet of the mail.
    sheet = null;
    styleEl = doc.createElement('style');
  }

  function join(map) {
    var out = '';
    map.forEach(function (v) { out += v; });
    return out;
  }

  function flush() {
    if (off) return;
    var root = doc.documentElement;
    if (styleEl && root && root.lastChild !== styleEl) root.appendChild(styleEl);
    var mirrors = '', sheets = doc.styleSheets;
    for (var i = 0; i < sheets.length; i++) {
      if (sheets[i].ownerNode !== styleEl) mirrors += sheetText(sheets[i]);
    }
    if (!changed && mirrors === lastMirrors) return;
    lastMirrors = mirrors;
    changed = false;
    var text = BASE + join(legacyRules) + join(inlineRules) + mirrors;
    write(text);
  }

  function write(text) {
    if (text === lastText) return;
    lastText = text;
    if (sheet) sheet.replaceSync(text);
    else styleEl.textContent = text;
  }

  function setDisabled(value) {
    var s = sheet || styleEl.sheet;
    if (s) s.disabled = value;
  }

  // --- an already-dark mail stays as it is --------------------------------

  // Judged on the mail's own colours, with this sheet switched off: a mail
  // is dark when nearly all of its text sits on a dark background. Its
  // design is then kept whole; only a light page around it is darkened.
  function darkMailSheet() {
    var body = doc.body;
    // A mail that sets no dark background anywhere cannot be dark.
    if (!body || !sawDark) return null;
    var seen = new Map();
    var painted = function (el) {
      if (!el) return [255, 255, 255, 1];
      var c = seen.get(el);
      if (!c) {
        c = parse(getComputedStyle(el).backgroundColor);
        if (!c || c[3] < 0.5) c = painted(el.parentElement);
        seen.set(el, c);
      }
      return c;
    };
    var walker = doc.createTreeWalker(body, 4), node, dark = 0, all = 0;
    while ((node = walker.nextNode())) {
      var n = node.data.trim().length;
      if (!n || !node.parentElement) continue;
      all += n;
      if (lum(painted(node.parentElement)) <= 0.2) dark += n;
    }
    if (!all || dark < all * 0.75) return null;
    var page = painted(body);
    return lum(page) > BG_MAX ? ':root,body{background-color:' + css(mapBg(page)) + '!important}' : '';
  }

  function handle(records) {
    var added = [];
    for (var i = 0; i < records.length; i++) {
      var r = records[i];
      if (r.type === 'attributes') visit(r.target);
      else for (var j = 0; j < r.addedNodes.length; j++) if (r.addedNodes[j] !== styleEl) added.push(r.addedNodes[j]);
    }
    // The parser reports each element on its own, so while it runs one sweep
    // of the document is cheaper than a sweep of every subtree.
    if (added.length > 64) scan(doc.documentElement);
    else added.forEach(scan);
    flush();
  }

  var observer = new MutationObserver(handle);

  function settle() {
    handle(observer.takeRecords());
    setDisabled(true);
    var dark = darkMailSheet();
    setDisabled(false);
    if (dark === null) return;
    observer.disconnect();
    write(dark);
    off = true;
  }

  // Editors decide what markup to write by comparing against computed
  // styles, and copying inlines them into the clipboard: both must see the
  // mail's own colours, or this sheet's would end up in what the user sends.
  // So the sheet is off for the length of each edit and copy, and back on
  // before the next frame is painted.
  function resume() {
    setDisabled(false);
  }

  function pause() {
    setDisabled(true);
    requestAnimationFrame(resume);
  }

  ['copy', 'cut', 'dragstart', 'beforeinput'].forEach(function (type) {
    doc.addEventListener(type, pause, true);
  });
  doc.addEventListener('input', resume, true);
  var execCommand = doc.execCommand;
  doc.execCommand = function () {
    setDisabled(true);
    try {
      return execCommand.apply(doc, arguments);
    } finally {
      setDisabled(false);
    }
  };

  observer.observe(doc, {
    childList: true,
    subtree: true,
    attributes: true,
    attributeFilter: ['style', 'bgcolor', 'color', 'text', 'link', 'vlink', 'alink']
  });
  if (doc.documentElement) scan(doc.documentElement);
  flush();
  if (doc.readyState === 'loading') doc.addEventListener('DOMContentLoaded', settle);
  else settle();
  // Sheets that arrive by <link> change nothing in the DOM when they load.
  doc.addEventListener('load', flush, true);
})();
