// Decodes the 8-bit RGB/RGBA, non-interlaced PNGs that Chromium's screenshots
// produce into RGBA pixels; that is all the measurements need.
import { inflateSync } from 'node:zlib';

export function decodePng(buf) {
  if (buf.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG');
  let pos = 8, width = 0, height = 0, channels = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos);
    const type = buf.toString('latin1', pos + 4, pos + 8);
    const data = buf.subarray(pos + 8, pos + 8 + len);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      const [depth, color, , , interlace] = data.subarray(8, 13);
      channels = { 2: 3, 6: 4 }[color];
      if (depth !== 8 || !channels || interlace) throw new Error(`unsupported PNG (depth ${depth}, colour ${colour})`);
    } else if (type === 'IDAT') {
      idat.push(data);
    } else if (type === 'IEND') {
      break;
    }
    pos += 12 + len;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels, row = stride + 1;
  // Unfilter in place: each row refers to the already-unfiltered one above.
  for (let y = 0; y < height; y++) {
    const f = raw[y * row], start = y * row + 1, up = start - row;
    if (f === 0) continue;
    for (let i = 0; i < stride; i++) {
      const p = start + i;
      const a = i >= channels ? raw[p - channels] : 0;
      const b = y ? raw[up + i] : 0;
      if (f === 1) raw[p] += a;
      else if (f === 2) raw[p] += b;
      else if (f === 3) raw[p] += (a + b) >> 1;
      else {
        const c = y && i >= channels ? raw[up + i - channels] : 0;
        const q = a + b - c, pa = Math.abs(q - a), pb = Math.abs(q - b), pc = Math.abs(q - c);
        raw[p] += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
    }
  }
  const out = new Uint8Array(width * height * 4);
  for (let y = 0, o = 0; y < height; y++) {
    for (let x = 0, s = y * row + 1; x < width; x++, s += channels, o += 4) {
      out[o] = raw[s];
      out[o + 1] = raw[s + 1];
      out[o + 2] = raw[s + 2];
      out[o + 3] = channels === 4 ? raw[s + 3] : 255;
    }
  }
  return { width, height, data: out };
}
