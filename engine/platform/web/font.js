// The shipped font in the page: fetched for the canvas, and which characters
// it has glyphs for, so that a character it lacks is drawn as its
// replacement character rather than by a fallback font the browser picks.
(function (tw) {
  'use strict';

  const REPLACEMENT = 0xFFFD;

  // The characters the font has glyphs for; null while unknown, when every
  // character is handed to the canvas as it is.
  let characters = null;

  // The characters a TrueType or OpenType font maps to a glyph, from its
  // character map's Unicode subtable (format 12, else format 4).
  function readCharacters(data) {
    let cmap = -1;
    for (let i = 0, tables = data.getUint16(4); i < tables; i++) {
      if (data.getUint32(12 + 16 * i) === 0x636d6170) cmap = data.getUint32(12 + 16 * i + 8);
    }
    if (cmap < 0) throw new Error('it has no character map');
    let table = -1, format = 0;
    for (let i = 0, count = data.getUint16(cmap + 2); i < count; i++) {
      const platform = data.getUint16(cmap + 4 + 8 * i), encoding = data.getUint16(cmap + 6 + 8 * i);
      const at = cmap + data.getUint32(cmap + 8 + 8 * i), kind = data.getUint16(at);
      const unicode = platform === 0 || (platform === 3 && (encoding === 1 || encoding === 10));
      if (unicode && (kind === 12 || (kind === 4 && format !== 12))) { table = at; format = kind; }
    }
    if (table < 0) throw new Error('it has no Unicode character map');
    return format === 12 ? readGroups(data, table) : readSegments(data, table);
  }

  // Format 12: groups of consecutive characters on consecutive glyphs.
  function readGroups(data, table) {
    const found = new Set();
    for (let g = 0, groups = data.getUint32(table + 12); g < groups; g++) {
      const at = table + 16 + 12 * g, first = data.getUint32(at);
      const last = Math.min(data.getUint32(at + 4), 0x10FFFF), glyph = data.getUint32(at + 8);
      for (let c = first; c <= last; c++) if (glyph + c - first !== 0) found.add(c);
    }
    return found;
  }

  // Format 4: segments of the first 65536 characters, each mapped by a
  // delta or through the glyph index array; glyph 0 means none.
  function readSegments(data, table) {
    const found = new Set(), segments = data.getUint16(table + 6) / 2;
    const ends = table + 14, starts = ends + 2 * segments + 2;
    const deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
    for (let s = 0; s < segments; s++) {
      const first = data.getUint16(starts + 2 * s), last = data.getUint16(ends + 2 * s);
      const delta = data.getUint16(deltas + 2 * s), offset = data.getUint16(offsets + 2 * s);
      for (let c = first; c <= last && c < 0xFFFF; c++) {
        let glyph = offset === 0 ? c : data.getUint16(offsets + 2 * s + offset + 2 * (c - first));
        if (offset === 0 || glyph !== 0) glyph = (glyph + delta) & 0xFFFF;
        if (glyph !== 0) found.add(c);
      }
    }
    return found;
  }

  const font = {
    family: 'TarnwickFont',
    has(code) { return !characters || characters.has(code); },
    // The character drawn for code: itself, else the replacement character,
    // else '?'.
    shown(code) {
      if (font.has(code)) return code;
      return font.has(REPLACEMENT) ? REPLACEMENT : 0x3F;
    },
  };
  tw.font = font;

  // Fetches the font at url for the canvas and reads which characters it
  // has; rejects with the reason when the canvas cannot have it.
  tw.loadFont = function (url) {
    return fetch(url).then((response) => {
      if (!response.ok) throw new Error('the server answered ' + response.status);
      return response.arrayBuffer();
    }).then((bytes) => {
      let found = null;
      try {
        found = readCharacters(new DataView(bytes));
      } catch (e) {
        console.warn('Tarnwick: the characters of ' + url + ' cannot be read (' + e.message +
                     '); a character it lacks may be drawn by another font.');
      }
      const face = new FontFace(font.family, bytes);
      return face.load().then(() => {
        document.fonts.add(face);
        characters = found;
      });
    });
  };
})(Module.tw);
