// Generates the installed tenebra.min.js from the readable tenebra.js. Run
// with `npm run build:mailscript`; a test checks the committed file matches.
import { readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { minify as terser } from 'terser';
import { sourcePath, minPath } from '../browser/driver.mjs';

export async function minify(source) {
  const result = await terser(source, {
    ecma: 2018,
    compress: { passes: 3, unsafe_math: false, unsafe_arrows: true },
    mangle: true,
    format: { ascii_only: true, inline_script: true, comments: false },
  });
  return result.code + '\n';
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const code = await minify(readFileSync(sourcePath, 'utf8'));
  writeFileSync(minPath, code);
  console.log(`${minPath}: ${Buffer.byteLength(code)} bytes`);
}
