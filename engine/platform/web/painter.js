// Draws frames' drawing lists (TW_TABLES' layout) onto any 2-D canvas
// context: each glyph placed in its cell box as the fit table says and kept
// in an atlas of tiles, filled shapes, rotation. It knows nothing of the
// program or the page, so a page that only watches frames can draw them with
// it too.
//
//   const painter = twCreatePainter(geometry, fits, family);
//   painter.setScale(scaleX, scaleY);  // device pixels per window pixel
//   painter.fitCanvas(canvas, cols, rows, width, height);  // or this: sizes the canvas too
//   painter.draw(context, list);
//
// geometry: cellW, cellH (window pixels), boxLeft, boxTop (the cell box's
// corner from a character's position, in cells), fillOverlap (device
// pixels), background (0xRRGGBB); fits: the fit table (TW_TABLES'
// FitTableField layout), which the engine computes from the font file
// (engine/display/PageFits.h); family: the canvas font's family.
function twCreatePainter(geometry, fits, family) {
  'use strict';

  const C = TW_TABLES.CharacterField, S = TW_TABLES.ShapeField;
  const F = TW_TABLES.FitField, T = TW_TABLES.FitTableField, O = TW_TABLES.OwnFitField;
  const CHARACTER = TW_TABLES.DrawKind.DRAW_CHARACTER;
  const view = Object.assign({ scaleX: 1, scaleY: 1, blockFit: null }, geometry,
                             { background: colorText(geometry.background),
                               charSize: fits[T.FITS_CHAR_SIZE] });

  // Glyphs are drawn once per character and colour into an atlas of
  // cell-sized tiles (in device pixels, a pixel of margin around the cell
  // box) and copied from there: far cheaper than drawing text every frame.
  const ATLAS_COLUMNS = 32, ATLAS_ROWS = 64;
  const atlas = { canvas: document.createElement('canvas'), ctx: null, tiles: new Map(),
                  tileW: 0, tileH: 0 };
  atlas.ctx = atlas.canvas.getContext('2d');

  // The fit table: x * sx + dx, y * sy + dy from a glyph's own coordinates.
  function fitAt(at) {
    return { sx: fits[at + F.FIT_SCALE_X], dx: fits[at + F.FIT_SHIFT_X],
             sy: fits[at + F.FIT_SCALE_Y], dy: fits[at + F.FIT_SHIFT_Y] };
  }
  const letters = fitAt(T.FITS_LETTERS);
  const block = fits[T.FITS_BLOCK + F.FIT_SCALE_X] > 0 ? fitAt(T.FITS_BLOCK) : null;
  const own = new Map();
  const ownEnd = T.FITS_HEADER + fits[T.FITS_OWN_COUNT] * O.OWN_WORDS;
  for (let at = T.FITS_HEADER; at < ownEnd; at += O.OWN_WORDS) {
    own.set(fits[at + O.OWN_CODE], fitAt(at + O.OWN_FIT));
  }
  // The runs of characters the font has: first, last, first, last ... in
  // order; null when unknown, every character then drawn as it is.
  const runs = fits[T.FITS_RUN_COUNT] < 0 ? null
             : fits.slice(ownEnd, ownEnd + 2 * fits[T.FITS_RUN_COUNT]);
  const REPLACEMENT = 0xFFFD;

  function has(code) {
    if (!runs) return true;
    let low = 0, high = runs.length / 2;  // the run holding code is in [low, high)
    while (low < high) {
      const mid = (low + high) >> 1;
      if (code < runs[2 * mid]) high = mid;
      else if (code > runs[2 * mid + 1]) low = mid + 1;
      else return true;
    }
    return false;
  }

  // The character drawn for code: itself, else the replacement character,
  // else '?', rather than a fallback font the browser picks.
  function shown(code) {
    if (has(code)) return code;
    return has(REPLACEMENT) ? REPLACEMENT : 0x3F;
  }

  // The CSS colour of a packed 0xRRGGBB colour, with alpha (0 to 255) when given.
  function colorText(packed, alpha) {
    const rgb = ((packed >> 16) & 255) + ',' + ((packed >> 8) & 255) + ',' + (packed & 255);
    return alpha === undefined ? 'rgb(' + rgb + ')' : 'rgba(' + rgb + ',' + alpha / 255 + ')';
  }

  function setFont(ctx) { ctx.font = view.charSize + 'px ' + family + ', monospace'; }

  // The cell-filling fit reaches fillOverlap device pixels past each edge of
  // the cell box, so that a pixel on the edge between two cells lies inside
  // both glyphs and joined lines and blocks show no seam: the table's block
  // fit (onto the box) stretched about the box by that much. Depends on the
  // canvas's scale.
  function stretchBlock() {
    if (!block) return null;
    const overX = view.fillOverlap / view.scaleX, overY = view.fillOverlap / view.scaleY;
    const kx = (view.cellW + 2 * overX) / view.cellW, ky = (view.cellH + 2 * overY) / view.cellH;
    const left = view.boxLeft * view.cellW, top = view.boxTop * view.cellH;
    return { sx: block.sx * kx, dx: left - overX + (block.dx - left) * kx,
             sy: block.sy * ky, dy: top - overY + (block.dy - top) * ky };
  }

  // The fit of code's glyph, drawn as shown: a cell-filling character takes
  // the cell-filling fit, ASCII the letters' fit, a glyph with an entry of
  // its own that, any other the letters' fit.
  function fitFor(code, shown, fills) {
    if (fills && view.blockFit) return view.blockFit;
    return code < 0x80 ? letters : own.get(shown) || letters;
  }

  function resetAtlas() {
    atlas.tiles.clear();
    atlas.tileW = Math.round(view.cellW * view.scaleX) + 2;
    atlas.tileH = Math.round(view.cellH * view.scaleY) + 2;
    atlas.canvas.width = atlas.tileW * ATLAS_COLUMNS;
    atlas.canvas.height = atlas.tileH * ATLAS_ROWS;
  }

  // The tile's index for code in colour, drawn on first use; fills when
  // code fills its cell (the presenter says which do). The tile's code is
  // always the same character, so fills needs no place in its key.
  function tile(code, color, fills) {
    const key = code * 16777216 + color;
    let index = atlas.tiles.get(key);
    if (index !== undefined) return index;
    if (atlas.tiles.size === ATLAS_COLUMNS * ATLAS_ROWS) resetAtlas();
    index = atlas.tiles.size;
    atlas.tiles.set(key, index);
    const ctx = atlas.ctx, sx = view.scaleX, sy = view.scaleY;
    const drawn = shown(code);
    setFont(ctx);
    const fit = fitFor(code, drawn, fills);
    const left = (index % ATLAS_COLUMNS) * atlas.tileW, top = Math.floor(index / ATLAS_COLUMNS) * atlas.tileH;
    ctx.save();
    ctx.beginPath();
    ctx.rect(left, top, atlas.tileW, atlas.tileH);
    ctx.clip();
    ctx.setTransform(sx * fit.sx, 0, 0, sy * fit.sy,
                     left + 1 + (fit.dx - view.boxLeft * view.cellW) * sx,
                     top + 1 + (fit.dy - view.boxTop * view.cellH) * sy);
    ctx.textBaseline = 'alphabetic';
    ctx.fillStyle = colorText(color);
    ctx.fillText(String.fromCodePoint(drawn), 0, view.charSize);
    ctx.restore();
    return index;
  }

  // The number of list entries the item at i takes.
  function itemLength(list, i) {
    return list[i] === CHARACTER ? C.CHARACTER_STRIDE : S.SHAPE_HEADER + 2 * list[i + S.SHAPE_POINTS];
  }

  function drawCharacter(ctx, list, i) {
    const sx = view.scaleX, sy = view.scaleY;
    const cellW = Math.round(view.cellW * sx), cellH = Math.round(view.cellH * sy);
    const code = list[i + C.CHARACTER_CODE];
    const x = list[i + C.CHARACTER_X] * sx, y = list[i + C.CHARACTER_Y] * sy;
    const turn = list[i + C.CHARACTER_ROTATION];
    // The cell box's corner, on whole device pixels.
    let left = Math.round(x + view.boxLeft * cellW), top = Math.round(y + view.boxTop * cellH);
    if (turn !== 0) {
      ctx.setTransform(1, 0, 0, 1, x, y);
      ctx.rotate(turn * Math.PI / 180);
      left = view.boxLeft * cellW;
      top = view.boxTop * cellH;
    }
    const hides = list[i + C.CHARACTER_HIDES];
    if (hides) {
      ctx.fillStyle = hides === 1 ? view.background : colorText(-hides - 1);
      ctx.fillRect(left, top, cellW, cellH);
    }
    if (code > 32) {
      const index = tile(code, list[i + C.CHARACTER_COLOR], list[i + C.CHARACTER_FILLS] !== 0);
      const tileW = atlas.tileW, tileH = atlas.tileH;
      ctx.drawImage(atlas.canvas, (index % ATLAS_COLUMNS) * tileW,
                    Math.floor(index / ATLAS_COLUMNS) * tileH, tileW, tileH,
                    left - 1, top - 1, tileW, tileH);
    }
    if (turn !== 0) ctx.setTransform(1, 0, 0, 1, 0, 0);
  }

  function drawShape(ctx, list, i) {
    const color = list[i + S.SHAPE_COLOR], alpha = list[i + S.SHAPE_ALPHA];
    const n = list[i + S.SHAPE_POINTS], corners = i + S.SHAPE_HEADER;
    ctx.setTransform(view.scaleX, 0, 0, view.scaleY, 0, 0);
    ctx.fillStyle = colorText(color, alpha);
    ctx.beginPath();
    for (let k = 0; k < n; k++) {
      const px = list[corners + 2 * k], py = list[corners + 2 * k + 1];
      if (k === 0) ctx.moveTo(px, py); else ctx.lineTo(px, py);
    }
    ctx.closePath();
    ctx.fill();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
  }

  return {
    // Device pixels per window pixel: the cell-filling fit and the atlas
    // depend on them.
    setScale(scaleX, scaleY) {
      view.scaleX = scaleX;
      view.scaleY = scaleY;
      view.blockFit = stretchBlock();
      resetAtlas();
    },

    // Sizes canvas to cols x rows cells of whole device pixels, as large as
    // width x height CSS pixels allow (so every cell edge falls on a pixel),
    // and draws at that scale from then on.
    fitCanvas(canvas, cols, rows, width, height) {
      const ratio = window.devicePixelRatio || 1;
      const roomW = Math.max(width, 80) * ratio, roomH = Math.max(height, 60) * ratio;
      const aspect = view.cellW / view.cellH;
      const cellH = Math.max(Math.floor(Math.min(roomH / rows, roomW / cols / aspect)), 4);
      const cellW = Math.max(Math.round(cellH * aspect), 2);
      canvas.width = cellW * cols;
      canvas.height = cellH * rows;
      canvas.style.width = canvas.width / ratio + 'px';
      canvas.style.height = canvas.height / ratio + 'px';
      this.setScale(cellW / view.cellW, cellH / view.cellH);
    },

    // Paints the background over ctx's canvas and draws list on it.
    draw(ctx, list) {
      const count = list.length;
      // New glyphs go into the atlas before any is copied from it: the copies
      // then read one version of the atlas, not a new one after every glyph.
      for (let i = 0; i < count; i += itemLength(list, i)) {
        if (list[i] === CHARACTER && list[i + C.CHARACTER_CODE] > 32) {
          tile(list[i + C.CHARACTER_CODE], list[i + C.CHARACTER_COLOR],
               list[i + C.CHARACTER_FILLS] !== 0);
        }
      }
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.fillStyle = view.background;
      ctx.fillRect(0, 0, ctx.canvas.width, ctx.canvas.height);
      for (let i = 0; i < count; i += itemLength(list, i)) {
        if (list[i] === CHARACTER) drawCharacter(ctx, list, i); else drawShape(ctx, list, i);
      }
    },
  };
}
