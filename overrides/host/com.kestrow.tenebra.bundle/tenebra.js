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
// The sheet is switched off while an editor or the clipboard reads styles.
// An already-dark mail keeps its own design; only text of it that reads
// poorly where it stands is lifted.
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
  var LIN = [];
  var BG_MAX = 0.045;
  var TEXT_MIN = 0.44;
  var BG_MAX_L = lstar(BG_MAX);
  var TEXT_MIN_L = lstar(TEXT_MIN);
  var TEXT_TOP_L = lstar(lum([204, 204, 204]));
  // Background images stay unfiltered; a scrim over them keeps them at most
  // as light as the dark band (0.78 black over white is #383838).
  var SHADOW = 'box-shadow:inset 0 0 0 1e4px ';
  var SCRIM = SHADOW + 'rgba(0,0,0,.78)';
  var IMPORTANT = '!important;';
  var LEGACY_BG = ':is(body,table,thead,tbody,tfoot,tr,td,th,col,colgroup,marquee)';
  var BASE =
    ':root{color-scheme:dark!important}' +
    ':where(:root){background-color:#000;color:#ccc}' +
    ':where(a:any-link){color:#51b8ff}' +
    ':where(mark){background-color:#4d3f00;color:#ccc}' +
    ':where(' + LEGACY_BG + '[background]){' + SCRIM + '}';

  // --- colours ------------------------------------------------------------

  var parsed = new Map();

  // CSS's named colours, each as ",nameRRGGBB" (upper-case digits), so that
  // one search of the text finds a name; building a table of them costs more
  // than a mail's lookups do.
  var NAMES =
    ',aliceblueF0F8FF,antiquewhiteFAEBD7,aqua00FFFF,aquamarine7FFFD4,azureF0FFFF,beigeF5F5DC,' +
    'bisqueFFE4C4,black000000,blanchedalmondFFEBCD,blue0000FF,blueviolet8A2BE2,brownA52A2A,' +
    'burlywoodDEB887,cadetblue5F9EA0,chartreuse7FFF00,chocolateD2691E,coralFF7F50,' +
    'cornflowerblue6495ED,cornsilkFFF8DC,crimsonDC143C,cyan00FFFF,darkblue00008B,' +
    'darkcyan008B8B,darkgoldenrodB8860B,darkgrayA9A9A9,darkgreen006400,darkkhakiBDB76B,' +
    'darkmagenta8B008B,darkolivegreen556B2F,darkorangeFF8C00,darkorchid9932CC,darkred8B0000,' +
    'darksalmonE9967A,darkseagreen8FBC8F,darkslateblue483D8B,darkslategray2F4F4F,' +
    'darkturquoise00CED1,darkviolet9400D3,deeppinkFF1493,deepskyblue00BFFF,dimgray696969,' +
    'dodgerblue1E90FF,firebrickB22222,floralwhiteFFFAF0,forestgreen228B22,fuchsiaFF00FF,' +
    'gainsboroDCDCDC,ghostwhiteF8F8FF,goldFFD700,goldenrodDAA520,gray808080,green008000,' +
    'greenyellowADFF2F,honeydewF0FFF0,hotpinkFF69B4,indianredCD5C5C,indigo4B0082,ivoryFFFFF0,' +
    'khakiF0E68C,lavenderE6E6FA,lavenderblushFFF0F5,lawngreen7CFC00,lemonchiffonFFFACD,' +
    'lightblueADD8E6,lightcoralF08080,lightcyanE0FFFF,lightgoldenrodyellowFAFAD2,' +
    'lightgrayD3D3D3,lightgreen90EE90,lightpinkFFB6C1,lightsalmonFFA07A,lightseagreen20B2AA,' +
    'lightskyblue87CEFA,lightslategray778899,lightsteelblueB0C4DE,lightyellowFFFFE0,lime00FF00,' +
    'limegreen32CD32,linenFAF0E6,magentaFF00FF,maroon800000,mediumaquamarine66CDAA,' +
    'mediumblue0000CD,mediumorchidBA55D3,mediumpurple9370DB,mediumseagreen3CB371,' +
    'mediumslateblue7B68EE,mediumspringgreen00FA9A,mediumturquoise48D1CC,mediumvioletredC71585,' +
    'midnightblue191970,mintcreamF5FFFA,mistyroseFFE4E1,moccasinFFE4B5,navajowhiteFFDEAD,' +
    'navy000080,oldlaceFDF5E6,olive808000,olivedrab6B8E23,orangeFFA500,orangeredFF4500,' +
    'orchidDA70D6,palegoldenrodEEE8AA,palegreen98FB98,paleturquoiseAFEEEE,palevioletredDB7093,' +
    'papayawhipFFEFD5,peachpuffFFDAB9,peruCD853F,pinkFFC0CB,plumDDA0DD,powderblueB0E0E6,' +
    'purple800080,rebeccapurple663399,redFF0000,rosybrownBC8F8F,royalblue4169E1,' +
    'saddlebrown8B4513,salmonFA8072,sandybrownF4A460,seagreen2E8B57,seashellFFF5EE,' +
    'siennaA0522D,silverC0C0C0,skyblue87CEEB,slateblue6A5ACD,slategray708090,snowFFFAFA,' +
    'springgreen00FF7F,steelblue4682B4,tanD2B48C,teal008080,thistleD8BFD8,tomatoFF6347,' +
    'turquoise40E0D0,violetEE82EE,wheatF5DEB3,whiteFFFFFF,whitesmokeF5F5F5,yellowFFFF00,' +
    'yellowgreen9ACD32,';

  // Regular expressions cost the engine a compilation each on first use,
  // more than a whole mail's worth of the plain string work below, so the
  // colour forms met on every mail are read without them.

  function isHex(h) {
    return h.length > 0 && !isNaN('0x' + h);
  }

  function hex(h) {
    if (h.length < 6) h = h[0] + h[0] + h[1] + h[1] + h[2] + h[2] + (h[3] ? h[3] + h[3] : '');
    return [parseInt(h.substr(0, 2), 16), parseInt(h.substr(2, 2), 16), parseInt(h.substr(4, 2), 16),
      h.length > 6 ? parseInt(h.substr(6), 16) / 255 : 1];
  }

  // The six hex digits of a colour keyword, if v (lower case) is one. A
  // comma in v could match across entries, so no name has one; a match that
  // ends anywhere but at the end of a name leaves no comma six places on.
  function name(v) {
    v = ',' + v.replace('grey', 'gray');
    var i = v.indexOf(',', 1) < 0 ? NAMES.indexOf(v) + v.length : 0;
    return i > v.length - 1 && NAMES[i + 6] === ',' ? NAMES.substr(i, 6) : undefined;
  }

  // Any CSS colour that style sheets serialize, as [r, g, b, a]; null for
  // keywords that depend on context and for anything else.
  function parse(value) {
    var hit = parsed.get(value);
    if (hit !== undefined) return hit;
    var out = null, v = value.trim().toLowerCase(), open = v.indexOf('('), fn = v.slice(0, open), h;
    if ((fn === 'rgb' || fn === 'rgba') && v.slice(-1) === ')') {
      // "rgb(1, 2, 3)", "rgba(1, 2, 3, 0.5)", "rgb(1 2 3 / 50%)"
      var parts = [], token = '';
      for (var i = open + 1; i < v.length; i++) {
        var ch = v[i];
        if (ch !== ' ' && ch !== ',' && ch !== '/' && ch !== ')') token += ch;
        else if (token) {
          parts.push(parts.length === 3 && token.slice(-1) === '%' ? token.slice(0, -1) / 100 : +token);
          token = '';
        }
      }
      if (parts.length === 3) parts.push(1);
      // NaN, from anything that is no number, fails these too.
      if (parts.length === 4 && parts[0] >= 0 && parts[1] >= 0 && parts[2] >= 0 && parts[3] >= 0) out = parts;
    } else if (v[0] === '#') {
      h = v.slice(1);
      out = isHex(h) && [3, 4, 6, 8].indexOf(h.length) >= 0 ? hex(h) : null;
    } else if (v === 'transparent') {
      out = [0, 0, 0, 0];
    } else if ((h = name(v))) {
      out = hex(h);
    }
    parsed.set(value, out);
    return out;
  }

  // HTML's rules for parsing a legacy colour value (bgcolor, <font color>,
  // <body text>), which accept what CSS rejects, such as "ffffff".
  function legacy(value) {
    var s = value.trim(), h = s.slice(1), n;
    if (!s || s.toLowerCase() === 'transparent') return null;
    if (s[0] === '#') {
      if ((h.length === 3 || h.length === 6) && isHex(h)) return hex(h);
    } else if ((n = name(s.toLowerCase()))) {
      return hex(n);
    }
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

  // Linear light of one sRGB channel; whole channel values come from a
  // table, fractions (met while searching a lightness) are computed.
  function lin(c) {
    // A fraction is never looked up: as a key it would be made a string.
    var whole = c === (c | 0), hit = whole ? LIN[c] : undefined;
    if (hit === undefined) {
      hit = c / 255;
      hit = hit <= 0.04045 ? hit / 12.92 : Math.pow((hit + 0.055) / 1.055, 2.4);
      if (whole) LIN[c] = hit;
    }
    return hit;
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

  // The colour of c's hue whose luminance is y. Darker: all three channels
  // scale alike in linear light, which keeps hue and saturation and needs no
  // search. Lighter: in sRGB, the channels scale up until one is full, then
  // mix with white, found by bisection. Rounding stays on y's side, up to a
  // hair that the bands' slack absorbs.
  function withLum(c, y) {
    var from = lum(c), rgb = [0, 0, 0, c[3]], i, v;
    if (y < from) {
      for (i = 0; i < 3; i++) {
        v = lin(c[i]) * y / from;
        rgb[i] = Math.floor(255 * (v <= 0.0031308 ? v * 12.92 : 1.055 * Math.pow(v, 1 / 2.4) - 0.055) + 0.02);
      }
      return rgb;
    }
    var full = 255 / (Math.max(c[0], c[1], c[2]) || 1), lo = 0, hi = 2;
    for (i = 0; i < 14; i++) {
      v = (lo + hi) / 2;
      if (lighter(c, full, v, rgb) < y) lo = v;
      else hi = v;
    }
    lighter(c, full, hi, rgb);
    for (i = 0; i < 3; i++) rgb[i] = Math.min(255, Math.ceil(rgb[i] - 0.05));
    return rgb;
  }

  // c lightened by s, into out, and the luminance of that: up to 1, its
  // channels scale towards full (the factor that makes the largest 255);
  // past 1, they mix with white.
  function lighter(c, full, s, out) {
    for (var i = 0; i < 3; i++) {
      var v = c[i] * (s < 1 ? 1 + s * (full - 1) : full);
      out[i] = s > 1 ? v + (s - 1) * (255 - v) : v;
    }
    return lum(out);
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
      if (lum(blend(c, [0, 0, 0])) >= TEXT_MIN - 1e-3) return c;
      c = blend(c, [255, 255, 255]);
    }
    var y = lum(c);
    if (y >= TEXT_MIN - 1e-3) return c;
    var l = lstar(y);
    return withLum(c, fromLstar(TEXT_MIN_L + (TEXT_TOP_L - TEXT_MIN_L) * (1 - l / TEXT_MIN_L)));
  }

  // c laid over the opaque colour u.
  function blend(c, u) {
    var a = c[3];
    return [0, 1, 2].map(function (i) { return Math.round(c[i] * a + u[i] * (1 - a)); }).concat(1);
  }

  function css(c) {
    return c[3] < 1 ? 'rgba(' + c + ')' : 'rgb(' + c.slice(0, 3) + ')';
  }

  var mapped = new Map();

  // One colour declaration's value remapped, as [value, unchanged], or null
  // for a value that is no concrete colour.
  function mapValue(value, kind) {
    var key = kind + value, hit = mapped.get(key);
    if (hit !== undefined) return hit;
    var out = null, c;
    if (kind === 3) {
      if (value.indexOf('gradient(') >= 0) {
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
  // the attribute did not set: a background through an inset shadow, text
  // through its fill colour. An !important border keeps its colour. `live`
  // tells whether the declarations apply now, which is all that counts when
  // judging an already-dark mail; `where` is a selector for the elements they
  // apply to, or the rule whose selector that is.
  function declarations(style, inline, live, where) {
    var out = '';
    for (var i = 0; i < style.length; i++) {
      var prop = style[i], kind = KIND[prop];
      if (kind === undefined) continue;
      var value = style.getPropertyValue(prop), important = style.getPropertyPriority(prop);
      if (kind === 3 && /url\(/i.test(value)) {
        out += SCRIM + (inline || important ? IMPORTANT : ';');
        continue;
      }
      var mv = mapValue(value, kind);
      if (!mv) continue;
      if (live && prop === 'background-color') noteBg(parse(value), parse(mv[0]), where);
      if (inline && mv[1]) continue;
      var m = mv[0];
      if (!inline) out += prop + ':' + m + (important ? IMPORTANT : ';');
      else if (!important) out += prop + ':' + m + IMPORTANT;
      else if (prop === 'background-color') out += SHADOW + m + IMPORTANT;
      else if (prop === 'color') out += '-webkit-text-fill-color:' + m + IMPORTANT;
    }
    return out;
  }

  // Where each painted background came from: 1 from a dark colour, 2 from a
  // light one. The page's own black comes from the white canvas.
  var origin = new Map([['0,0,0', 2]]);
  // Selectors of the elements that the mail gives a dark background.
  var darkWhere = [];

  function noteBg(c, painted, where) {
    if (!c || c[3] < 0.5 || !painted) return;
    var dark = lum(c) <= 0.2, key = painted.slice(0, 3).join();
    if (dark) darkWhere.push(where.selectorText || where);
    origin.set(key, (origin.get(key) | 0) | (dark ? 1 : 2));
  }

  function quote(s) {
    // Nearly every value needs no escape, and a search is cheap.
    for (var i = 0; i < 5; i++) {
      if (s.indexOf('"\\\n\r\f'[i]) >= 0) return '"' + s.replace(/[\\"]/g, '\\$&').replace(/[\n\r\f]/g, function (x) { return '\\' + x.charCodeAt(0).toString(16) + ' '; }) + '"';
    }
    return '"' + s + '"';
  }

  // --- rules from the mail's own sheets -----------------------------------

  // Each sheet's mirrors, with its number of rules when they were read and
  // whether it has imports, whose rules may arrive later.
  var sheetCache = new WeakMap(), imports = false;

  var media = new Map();

  function applies(text) {
    if (!text) return true;
    var hit = media.get(text);
    if (hit === undefined) media.set(text, (hit = matchMedia(text).matches));
    return hit;
  }

  function rulesText(list, live) {
    var out = '';
    for (var i = 0; i < list.length; i++) {
      var r = list[i];
      if (r.type === 1) {
        // Serializing a selector costs more than most rules' declarations
        // do, and most rules set no colour.
        var d = declarations(r.style, false, live, r);
        if (d) out += r.selectorText + '{' + d + '}';
      } else if (r.type === 4 || r.type === 12) {
        var inner = rulesText(r.cssRules, live && (r.type === 12 || applies(r.media.mediaText)));
        if (inner) out += (r.type === 4 ? '@media ' + (r.media.mediaText || 'all') : '@supports ' + r.conditionText) + '{' + inner + '}';
      } else if (r.type === 3) {
        imports = true;
        if (r.styleSheet) out += sheetText(r.styleSheet);
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
    var outer = imports;
    imports = false;
    var media = sheet.media && sheet.media.mediaText, text = rulesText(rules, applies(media));
    if (text && media) text = '@media ' + media + '{' + text + '}';
    sheetCache.set(sheet, [rules.length, text, imports]);
    imports = outer;
    return text;
  }

  // --- rules from attributes ----------------------------------------------

  // Legacy colour attributes, each with the elements it applies to, the
  // properties it sets there and, where it colours other elements, their
  // selector after its own. A table's cells inherit its border colour.
  var LEGACY = [
    ['bgcolor', LEGACY_BG, 'background-color'],
    ['bordercolor', 'table', 'border-color'],
    ['color', 'hr', 'border-color,background-color'],
    ['color', 'font', 'color'],
    ['text', 'body', 'color'],
    ['link', 'body', 'color', ' a:link'],
    ['vlink', 'body', 'color', ' a:visited'],
    ['alink', 'body', 'color', ' a:active']
  ];
  // Each row's own elements are told apart when it is visited; the attribute
  // alone is the cheapest for the engine to look for.
  var LEGACY_SELECTOR = LEGACY.map(function (row) { return '[' + row[0] + ']'; }).join();
  // Legacy colours are presentational hints, below every author rule, so
  // their mirrors have no specificity and come first; style attribute mirrors
  // follow, then the mirrors of the mail's sheets, in the mail's order.
  var legacyRules = new Map();
  var inlineRules = new Map();
  var changed = true;

  // Words that every declaration of a mirrored colour, shorthands included,
  // must contain.
  var COLOR_WORDS = ['color', 'background', 'border', 'outline', 'column-rule', 'decoration', 'stroke'];

  function visitStyle(el) {
    var value = el.getAttribute('style');
    if (value === null || inlineRules.has(value)) return;
    // Most style attributes set no colour; a plain search for those words
    // is far cheaper than asking the engine.
    var v = value.toLowerCase(), d = '', where;
    for (var i = 0; i < COLOR_WORDS.length; i++) {
      if (v.indexOf(COLOR_WORDS[i]) >= 0) {
        where = '[style=' + quote(value) + ']';
        d = declarations(el.style, true, true, where);
        break;
      }
    }
    inlineRules.set(value, d && ':where(' + where + '){' + d + '}');
    changed = changed || !!d;
  }

  function visitLegacy(el) {
    for (var i = 0; i < LEGACY.length; i++) {
      var row = LEGACY[i], value = el.getAttribute(row[0]), key = i + '\n' + value;
      if (value === null || legacyRules.has(key) || !el.matches(row[1])) continue;
      var c = legacy(value), text = row[2] === 'color', where = row[1] + '[' + row[0] + '=' + quote(value) + ']';
      var m = c && css(text ? mapText(c) : mapBg(c));
      // Of these, only bgcolor paints under text.
      if (!i) noteBg(c, m && parse(m), where);
      legacyRules.set(key, m ? ':where(' + where + (row[3] || '') + '){' + row[2].split(',').join(':' + m + ';') + ':' + m + '}' : '');
      changed = changed || !!m;
    }
  }

  function scan(node) {
    if (node.nodeType !== 1) return;
    visitStyle(node);
    if (node.matches(LEGACY_SELECTOR)) visitLegacy(node);
    if (!node.firstElementChild) return;
    var all = node.querySelectorAll('[style]'), i;
    for (i = 0; i < all.length; i++) visitStyle(all[i]);
    all = node.querySelectorAll(LEGACY_SELECTOR);
    for (i = 0; i < all.length; i++) visitLegacy(all[i]);
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
    for (var v of map.values()) out += v;
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
  // design is then kept: only a light page around it is darkened, and only
  // text that reads poorly is lifted.
  var DARK_SHARE = 0.75;
  // The judgement's text runs: each run's element, then its letters.
  var runs;

  function darkMailSheet() {
    var body = doc.body;
    // Most mails are settled by the bound alone, and most of the rest are
    // judged on the colours as painted now, which costs no extra styling;
    // only where that is unsure is the sheet switched off to look again.
    if (!body || !darkBound(body) || !judge(body, false)) return null;
    setDisabled(true);
    try {
      if (!judge(body, true)) return null;
      var el = body, c;
      while (el && !((c = parse(getComputedStyle(el).backgroundColor)) && c[3] >= 0.5)) el = el.parentElement;
      c = el ? c : [255, 255, 255, 1];
      return (lum(c) > BG_MAX ? ':root,body{background-color:' + css((c = mapBg(c))) + IMPORTANT + '}' : '') + lift(c, body);
    } finally {
      setDisabled(false);
    }
  }

  // Text is counted by its characters other than white space, so that the
  // indentation of a mail's source weighs nothing.
  function letters(s) {
    return s.replace(/\s+/g, '').length;
  }

  // Whether the text inside the elements the mail gives a dark background
  // could make up a dark mail's share. That text includes all the text the
  // judgement can find on a dark background, so a "no" is final, and one
  // query costs less than the judgement's computed style per run.
  function darkBound(body) {
    var found, dark = 0, last, i;
    if (!darkWhere.length) return false;
    try {
      found = doc.querySelectorAll(darkWhere.join());
    } catch (e) {
      // A selector that a style sheet took but the query engine does not:
      // the judgement decides.
      return true;
    }
    for (i = 0; i < found.length; i++) {
      // In document order, the elements inside one come right after it.
      if (last && last.contains(found[i])) continue;
      last = found[i];
      dark += letters(last.textContent);
    }
    return dark >= DARK_SHARE * letters(body.textContent);
  }

  // Whether the text of the mail sits mostly on dark backgrounds, each
  // element's background told dark (1) or light (2) by its own colour or,
  // painted as it is now, by where that colour came from. Past the first
  // background that tells neither, the answer is "maybe".
  function judge(body, exact) {
    var seen = new Map();
    var shade = function (el) {
      if (!el) return 2;
      var k = seen.get(el);
      if (k === undefined) {
        var c = parse(getComputedStyle(el).backgroundColor);
        k = !c || c[3] < 0.5 ? shade(el.parentElement) : exact ? (lum(c) <= 0.2 ? 1 : 2) : origin.get(c.slice(0, 3).join());
        seen.set(el, k);
      }
      return k;
    };
    // Runs count by their length. Once the text on light backgrounds passes
    // a quarter of the whole, the mail is not dark and the rest need not be
    // looked at; telling a background costs far more than finding the text,
    // so the runs longer than average, which settle it soonest, go first.
    var walker = doc.createTreeWalker(body, 4), all = 0, node, n, i, pass;
    runs = [];
    while ((node = walker.nextNode())) {
      if ((n = letters(node.data)) && node.parentElement) {
        runs.push(node.parentElement, n);
        all += n;
      }
    }
    var dark = 0, light = 0, mean = (2 * all) / runs.length;
    for (pass = 0; pass < 2; pass++) {
      for (i = 0; i < runs.length; i += 2) {
        n = runs[i + 1];
        if (pass === 0 ? n < mean : n >= mean) continue;
        var k = shade(runs[i]);
        if (k === 1) dark += n;
        else if (k !== 2) return true;
        else if ((light += n) > all * (1 - DARK_SHARE)) return false;
      }
    }
    return all > 0 && dark >= all * DARK_SHARE;
  }

  // Text of a dark mail that reads below 4.5:1 on what is behind it takes
  // the colour of its hue nearest in lightness that reads at 4.5:1 there.
  // Read with this sheet off; `page` is the page's background as painted.
  // Behind a background image the colour is unknown, and the text is left.
  function lift(page, body) {
    var want = new Map(), behind = new Map(), out = '', any, i, el, c, b;
    var under = function (el) {
      if (el === body) return page;
      var hit = behind.get(el);
      if (hit === undefined) {
        var s = getComputedStyle(el), k = parse(s.backgroundColor);
        hit = s.backgroundImage !== 'none' ? null : k && k[3] >= 0.5 ? k : under(el.parentElement);
        behind.set(el, hit);
      }
      return hit;
    };
    for (i = 0; i < runs.length; i += 2) {
      el = runs[i];
      if (want.has(el) || !(c = parse(getComputedStyle(el).color))) continue;
      b = under(el);
      want.set(el, [css(c), (b = b && readable(c, b))]);
      any = any || b;
    }
    // A colour set here is inherited too: text that had the old colour of a
    // lifted element around it, and reads well where it is, keeps it.
    if (any) {
      want.forEach(function (w, el) {
        var up = el, u;
        if (!w[1]) {
          while ((up = up.parentElement) && !((u = want.get(up)) && u[1]));
          if (!up || u[0] !== w[0]) return;
        }
        out += path(el, body) + '{color:' + (w[1] || w[0]) + IMPORTANT + '}';
      });
    }
    return out;
  }

  // The colour of c's hue nearest to it in lightness that reads at 4.5:1
  // (WCAG contrast) on b, or '' where c reads already. That lies on c's side
  // of b, unless no colour on that side reads: on any b, one side does.
  function readable(c, b) {
    if (c[3] < 1) c = blend(c, b);
    var yb = lum(b) + 0.05, y = lum(c) + 0.05;
    if (Math.max(y / yb, yb / y) >= 4.5) return '';
    // A hair over 4.5, for rounding to whole channels.
    var up = yb * 4.6 - 0.05, down = yb / 4.6 - 0.05;
    return css(withLum(c, (y > yb ? up <= 1 : down < 0) ? Math.min(up, 1) : Math.max(down, 0)));
  }

  // A selector for this one element, by its place under <body>.
  function path(el, body) {
    var s = '', n, x;
    for (; el !== body; el = el.parentElement) {
      for (n = 1, x = el; (x = x.previousElementSibling); n++);
      s = '>:nth-child(' + n + ')' + s;
    }
    return 'body' + s;
  }

  function handle(records) {
    for (var i = 0; i < records.length; i++) {
      var r = records[i];
      if (r.type === 'attributes') scan(r.target);
      else for (var j = 0; j < r.addedNodes.length; j++) if (r.addedNodes[j] !== styleEl) scan(r.addedNodes[j]);
    }
    flush();
  }

  var observer = new MutationObserver(handle);

  // While the parser runs, the whole document is swept once before each
  // frame is painted, rather than being told of every element it adds.
  var nextSweep;

  function frame() {
    if (doc.readyState !== 'loading') return;
    if (doc.documentElement) scan(doc.documentElement);
    flush();
    nextSweep = requestAnimationFrame(frame);
  }

  // Once parsed: a last sweep, the judgement on an already-dark mail, and
  // from then on only what changes is looked at.
  function settle() {
    // The sweep that was to come would find nothing left to do.
    cancelAnimationFrame(nextSweep);
    if (doc.documentElement) scan(doc.documentElement);
    flush();
    var dark = darkMailSheet();
    if (dark !== null) {
      write(dark);
      off = true;
      return;
    }
    observer.observe(doc, {
      childList: true,
      subtree: true,
      attributes: true,
      attributeFilter: LEGACY.map(function (row) { return row[0]; }).concat('style')
    });
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

  flush();
  if (doc.readyState === 'loading') {
    nextSweep = requestAnimationFrame(frame);
    doc.addEventListener('DOMContentLoaded', settle);
  } else {
    settle();
  }
  // Sheets that arrive by <link> or @import change nothing in the DOM when
  // they load; while the parser runs, the next sweep takes them anyway. A
  // <style> fires load once its imports are in: the text kept for it until
  // then lacks them. Images, and sheets read whole already, bring nothing.
  doc.addEventListener('load', function (e) {
    var s = e.target.sheet, hit = s && sheetCache.get(s);
    if (!s || (hit && !hit[2])) return;
    sheetCache.delete(s);
    if (doc.readyState !== 'loading') flush();
  }, true);
})();
