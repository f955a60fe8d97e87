// Draws frames' drawing lists (TW_TABLES' layout) onto any 2-D canvas
// context: each glyph fitted into its cell box and kept in an atlas of tiles,
// filled shapes, rotation. It knows nothing of the program or the page, so a
// page that only watches frames can draw them with it too.
//
//   const painter = twCreatePainter(geometry, font);
//   painter.setScale(scaleX, scaleY);  // device pixels per window pixel
//   painter.draw(context, list);
//
// geometry: cellW, cellH (window pixels), boxLeft, boxTop (the cell box's
// corner from a character's position, in cells), fullBlock, fillOverlap
// (device pixels), background (a CSS colour), charSize (pixels); font:
// family, has(code), shown(code) (font.js).
function twCreatePainter(geometry, font) {
  'use strict';

  const C = TW_TABLES.CharacterField, S = TW_TABLES.ShapeField;
  const CHARACTER = TW_TABLES.DrawKind.DRAW_CHARACTER;
  const view = Object.assign({ fit: null, blockInk: null, blockFit: null, scaleX: 1, scaleY: 1 },
                             geometry);

  // Glyphs are drawn once per character and colour into an atlas of
  // cell-sized tiles (in device pixels, a pixel of margin around the cell
  // box) and copied from there: far cheaper than drawing text every frame.
  const ATLAS_COLUMNS = 32, ATLAS_ROWS = 64;
  const atlas = { canvas: document.createElement('canvas'), ctx: null, tiles: new Map(),
                  tileW: 0, tileH: 0 };
  atlas.ctx = atlas.canvas.getContext('2d');

  function colorText(packed) {
    return 'rgb(' + ((packed >> 16) & 255) + ',' + ((packed >> 8) & 255) + ',' + (packed & 255) + ')';
  }

  // Fits [low, high] into [boxLow, boxLow + boxSize]: shrinks only when it is
  // longer, centres horizontally, moves vertically only as far as needed.
  function fitAxis(low, high, boxLow, boxSize, centre) {
    const span = high - low;
    const scale = span > boxSize && span > 0 ? boxSize / span : 1;
    const sl = low * scale, sh = high * scale;
    let shift = 0;
    if (centre) shift = boxLow + (boxSize - (sh - sl)) / 2 - sl;
    else if (sl < boxLow) shift = boxLow - sl;
    else if (sh > boxLow + boxSize) shift = boxLow + boxSize - sh;
    return [scale, shift];
  }

  function setFont(ctx) { ctx.font = view.charSize + 'px ' + font.family + ', monospace'; }

  // The ink of code's glyph in its own coordinates (window pixels from the
  // text position, baseline at the character size), widened by pad pixels.
  function inkBox(ctx, code, pad) {
    const m = ctx.measureText(String.fromCodePoint(code));
    return { left: -m.actualBoundingBoxLeft - pad, right: m.actualBoundingBoxRight + pad,
             top: view.charSize - m.actualBoundingBoxAscent - pad,
             bottom: view.charSize + m.actualBoundingBoxDescent + pad };
  }

  // Maps a glyph's own coordinates into the cell box: x * sx + dx, y * sy + dy.
  function fitBox(box) {
    const x = fitAxis(box.left, box.right, view.boxLeft * view.cellW, view.cellW, true);
    const y = fitAxis(box.top, box.bottom, view.boxTop * view.cellH, view.cellH, false);
    return { sx: x[0], dx: x[1], sy: y[0], dy: y[1] };
  }

  // The letters' fit, shared by every glyph it suits: the union of the
  // printable ASCII glyphs' ink (a pixel of smoothing around each) fitted
  // into the cell box. Also the full block's ink, for the cell-filling fit.
  function fitGlyphs(ctx) {
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    setFont(ctx);
    let union = null;
    for (let c = 33; c <= 126; c++) {
      const b = inkBox(ctx, c, 1);
      union = union ? { left: Math.min(union.left, b.left), right: Math.max(union.right, b.right),
                        top: Math.min(union.top, b.top), bottom: Math.max(union.bottom, b.bottom) }
                    : b;
    }
    view.fit = fitBox(union);
    const block = font.has(view.fullBlock) ? inkBox(ctx, view.fullBlock, 0) : null;
    view.blockInk = block && block.right > block.left && block.bottom > block.top ? block : null;
  }

  // Box drawing, blocks and shades: the full block's ink mapped onto the
  // cell box and fillOverlap device pixels past each of its edges, so that a
  // pixel on the edge between two cells lies inside both glyphs and joined
  // lines and blocks show no seam. Depends on the canvas's scale. The
  // canvas's text metrics are whole pixels at the character size, too coarse
  // for that: the fit is mended by where the block's ink lands when drawn.
  function fitBlocks() {
    view.blockFit = view.blockInk ? blockFitFor(view.blockInk) : null;
    for (let round = 0; round < 2 && view.blockFit; round++) {
      const ink = drawnBlock(view.blockFit);
      if (ink) view.blockFit = blockFitFor(ink);
    }
  }

  function blockFitFor(ink) {
    const overX = view.fillOverlap / view.scaleX, overY = view.fillOverlap / view.scaleY;
    const sx = (view.cellW + 2 * overX) / (ink.right - ink.left);
    const sy = (view.cellH + 2 * overY) / (ink.bottom - ink.top);
    return { sx, sy, dx: view.boxLeft * view.cellW - overX - ink.left * sx,
             dy: view.boxTop * view.cellH - overY - ink.top * sy };
  }

  // The full block's ink in its own coordinates as the canvas draws it under
  // fit, as a tile would: each edge where the coverage along the middle row
  // or column ends (a partly covered pixel counting its part); null when
  // nothing is drawn.
  function drawnBlock(fit) {
    const sx = view.scaleX, sy = view.scaleY;
    const cellW = Math.round(view.cellW * sx), cellH = Math.round(view.cellH * sy);
    const canvas = document.createElement('canvas');
    canvas.width = 2 * cellW + 2;
    canvas.height = 2 * cellH + 2;
    const ctx = canvas.getContext('2d', { willReadFrequently: true });
    // The cell box's corner at (cellW / 2, cellH / 2) plus the tile's pixel of margin.
    const x0 = Math.floor(cellW / 2) + 1 + (fit.dx - view.boxLeft * view.cellW) * sx;
    const y0 = Math.floor(cellH / 2) + 1 + (fit.dy - view.boxTop * view.cellH) * sy;
    ctx.setTransform(sx * fit.sx, 0, 0, sy * fit.sy, x0, y0);
    setFont(ctx);
    ctx.fillStyle = '#fff';
    ctx.fillText(String.fromCodePoint(view.fullBlock), 0, view.charSize);
    const pixels = ctx.getImageData(0, 0, canvas.width, canvas.height).data;
    const coverage = (x, y) => pixels[(y * canvas.width + x) * 4 + 3] / 255;
    const across = edges(canvas.width, (x) => coverage(x, Math.floor(cellH / 2) + 1 + (cellH >> 1)));
    const down = edges(canvas.height, (y) => coverage(Math.floor(cellW / 2) + 1 + (cellW >> 1), y));
    if (!across || !down) return null;
    return { left: (across[0] - x0) / (sx * fit.sx), right: (across[1] - x0) / (sx * fit.sx),
             top: (down[0] - y0) / (sy * fit.sy), bottom: (down[1] - y0) / (sy * fit.sy) };
  }

  // Where coverage(0 .. n - 1) starts and ends, to a part of a pixel.
  function edges(n, coverage) {
    let first = -1, last = -1;
    for (let i = 0; i < n; i++) {
      if (coverage(i) > 0) { if (first < 0) first = i; last = i; }
    }
    if (first < 0) return null;
    return [first + 1 - coverage(first), last + coverage(last)];
  }

  // The fit of code's glyph, drawn as shown: a cell-filling character takes
  // the cell-filling fit; ASCII the letters' fit; any other glyph the
  // letters' fit when that keeps it inside the box (half a pixel to spare),
  // else a fit of its own (shrunk only as far as needed, centred across,
  // moved up or down as little as needed).
  function fitFor(ctx, code, shown, fills) {
    if (fills && view.blockFit) return view.blockFit;
    const fit = view.fit;
    if (code < 0x80) return fit;
    const b = inkBox(ctx, shown, 1), slack = 0.5;
    const boxLeft = view.boxLeft * view.cellW, boxTop = view.boxTop * view.cellH;
    if (b.left * fit.sx + fit.dx >= boxLeft - slack && b.top * fit.sy + fit.dy >= boxTop - slack &&
        b.right * fit.sx + fit.dx <= boxLeft + view.cellW + slack &&
        b.bottom * fit.sy + fit.dy <= boxTop + view.cellH + slack) {
      return fit;
    }
    return fitBox(b);
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
    const shown = font.shown(code);
    setFont(ctx);
    const fit = fitFor(ctx, code, shown, fills);
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
    ctx.fillText(String.fromCodePoint(shown), 0, view.charSize);
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
    ctx.fillStyle = 'rgba(' + ((color >> 16) & 255) + ',' + ((color >> 8) & 255) + ',' +
                    (color & 255) + ',' + alpha / 255 + ')';
    ctx.beginPath();
    for (let k = 0; k < n; k++) {
      const px = list[corners + 2 * k], py = list[corners + 2 * k + 1];
      if (k === 0) ctx.moveTo(px, py); else ctx.lineTo(px, py);
    }
    ctx.closePath();
    ctx.fill();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
  }

  fitGlyphs(atlas.ctx);

  return {
    // Device pixels per window pixel: the cell-filling fit and the atlas
    // depend on them.
    setScale(scaleX, scaleY) {
      view.scaleX = scaleX;
      view.scaleY = scaleY;
      fitBlocks();
      resetAtlas();
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
