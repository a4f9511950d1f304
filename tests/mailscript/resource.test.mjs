// The installed resource itself: generated from the readable source, small,
// and safe to inline into a page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { minify } from '../../tools/mailscript/minify.mjs';
import { sourcePath, minPath } from '../../tools/browser/driver.mjs';

const source = readFileSync(sourcePath, 'utf8');
const installed = readFileSync(minPath, 'utf8');

test('the installed file is what the minifier makes of the source', async () => {
  assert.equal(installed, await minify(source), 'tenebra.min.js is stale: run `npm run build:mailscript`');
});

test('it is at most 12 KB', () => {
  assert.ok(Buffer.byteLength(installed) <= 12 * 1024, `${Buffer.byteLength(installed)} bytes`);
});

test('it can be inlined into a <script> element', () => {
  // "</script" would end the element early; "<!--" would put the HTML parser
  // into escaped script states; a non-ASCII byte would depend on the page's
  // declared encoding.
  assert.doesNotMatch(installed, /<\/script|<!--/i);
  assert.match(installed, /^[\x09\x0a\x0d\x20-\x7e]*$/);
});

test('nothing in it can turn mail content into markup or code, or fetch anything', () => {
  for (const text of [source, installed]) {
    assert.doesNotMatch(text, /innerHTML|outerHTML|insertAdjacentHTML|document\.write|createContextualFragment|DOMParser|\beval\b|\bFunction\s*\(|setTimeout|setInterval|\bfetch\b|XMLHttpRequest|sendBeacon|WebSocket|EventSource|\bimport\s*\(|importScripts|url\(|\.src\b|\.href\b|setAttribute/);
  }
});
