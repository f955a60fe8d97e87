// The page side of the engine's browser build, run before the program:
// the canvas the frames are drawn on, the text mirror of the screen, the
// keyboard and mouse queue, the frame callbacks the loop waits on, sound
// through Web Audio and the browser storage that keeps the user's data
// folder. The C++ side reaches it as Module.tw (engine/platform/Web*.cpp).
Module.tw = (function () {
  'use strict';

  // Event types and key numbers as engine/platform/InputCodes.h numbers them.
  const CLOSED = 0, KEY_PRESSED = 1, KEY_RELEASED = 2, MOUSE_MOVED = 3;
  const BUTTON_PRESSED = 4, BUTTON_RELEASED = 5;
  const KEYS = {};
  'ABCDEFGHIJKLMNOPQRSTUVWXYZ'.split('').forEach((c, i) => { KEYS['Key' + c] = i; });
  for (let i = 0; i < 10; i++) { KEYS['Digit' + i] = 26 + i; KEYS['Numpad' + i] = 75 + i; }
  for (let i = 1; i <= 15; i++) KEYS['F' + i] = 84 + i;
  Object.assign(KEYS, {
    Escape: 36, ControlLeft: 37, ShiftLeft: 38, AltLeft: 39, MetaLeft: 40, ControlRight: 41,
    ShiftRight: 42, AltRight: 43, MetaRight: 44, ContextMenu: 45, BracketLeft: 46,
    BracketRight: 47, Semicolon: 48, Comma: 49, Period: 50, Quote: 51, Slash: 52,
    Backslash: 53, Backquote: 54, Equal: 55, Minus: 56, Space: 57, Enter: 58, Backspace: 59,
    Tab: 60, PageUp: 61, PageDown: 62, End: 63, Home: 64, Insert: 65, Delete: 66,
    NumpadAdd: 67, NumpadSubtract: 68, NumpadMultiply: 69, NumpadDivide: 70, ArrowLeft: 71,
    ArrowRight: 72, ArrowUp: 73, ArrowDown: 74, Pause: 100, NumpadEnter: 58,
  });
  const BUTTONS = [0, 2, 1, 3, 4];  // DOM button number -> engine button
  const FONT_FAMILY = 'TarnwickFont';
  const REPLACEMENT = 0xFFFD;
  const MAX_EVENTS = 4096;

  const tw = {
    events: [],
    held: new Set(),
    keyRepeat: true,
    wake: null,          // ends the loop's current wait early (page leaving)
    waitedThisFrame: false,
    frames: 0,
    stepTimes: [],       // main-thread milliseconds between the loop's waits
    resumedAt: 0,
    firstFrameAt: 0,     // milliseconds from the page's start to the first frame
    storageKey: 'tarnwick:' + location.pathname + ':',
  };

  function pageElement(id) { return document.getElementById(id); }

  // A message the player should read: shown on the page and in the console.
  tw.message = function (text, isError) {
    const box = pageElement('message');
    if (box) {
      const line = document.createElement('div');
      line.textContent = text;
      if (isError) line.className = 'error';
      box.appendChild(line);
      box.hidden = false;
    }
    (isError ? console.error : console.log)('Tarnwick: ' + text);
  };

  // repeat: 1 for a key press that is the keyboard's auto-repeat.
  function push(type, key, button, x, y, repeat = 0) {
    if (tw.events.length < MAX_EVENTS) tw.events.push([type, key, button, x, y, repeat]);
  }

  // ---- The font -----------------------------------------------------------

  // The characters the shipped font has glyphs for; null while unknown, when
  // every character is handed to the canvas as it is.
  let fontCharacters = null;

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
    const characters = new Set();
    for (let g = 0, groups = data.getUint32(table + 12); g < groups; g++) {
      const at = table + 16 + 12 * g, first = data.getUint32(at);
      const last = Math.min(data.getUint32(at + 4), 0x10FFFF), glyph = data.getUint32(at + 8);
      for (let c = first; c <= last; c++) if (glyph + c - first !== 0) characters.add(c);
    }
    return characters;
  }

  // Format 4: segments of the first 65536 characters, each mapped by a
  // delta or through the glyph index array; glyph 0 means none.
  function readSegments(data, table) {
    const characters = new Set(), segments = data.getUint16(table + 6) / 2;
    const ends = table + 14, starts = ends + 2 * segments + 2;
    const deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
    for (let s = 0; s < segments; s++) {
      const first = data.getUint16(starts + 2 * s), last = data.getUint16(ends + 2 * s);
      const delta = data.getUint16(deltas + 2 * s), offset = data.getUint16(offsets + 2 * s);
      for (let c = first; c <= last && c < 0xFFFF; c++) {
        let glyph = offset === 0 ? c : data.getUint16(offsets + 2 * s + offset + 2 * (c - first));
        if (offset === 0 || glyph !== 0) glyph = (glyph + delta) & 0xFFFF;
        if (glyph !== 0) characters.add(c);
      }
    }
    return characters;
  }

  function hasCharacter(code) { return !fontCharacters || fontCharacters.has(code); }

  // A character the font lacks is drawn as the font's replacement character
  // ('?' when it lacks that too), not by a fallback font the browser picks.
  function shownCharacter(code) {
    if (hasCharacter(code)) return code;
    return hasCharacter(REPLACEMENT) ? REPLACEMENT : 0x3F;
  }

  // Fetches the font at url for the canvas and reads which characters it
  // has; rejects with the reason when the canvas cannot have it.
  tw.loadFont = function (url) {
    return fetch(url).then((response) => {
      if (!response.ok) throw new Error('the server answered ' + response.status);
      return response.arrayBuffer();
    }).then((bytes) => {
      let characters = null;
      try {
        characters = readCharacters(new DataView(bytes));
      } catch (e) {
        console.warn('Tarnwick: the characters of ' + url + ' cannot be read (' + e.message +
                     '); a character it lacks may be drawn by another font.');
      }
      const face = new FontFace(FONT_FAMILY, bytes);
      return face.load().then(() => {
        document.fonts.add(face);
        fontCharacters = characters;
      });
    });
  };

  // ---- Canvas and screen text -------------------------------------------

  // The grid as the presenter opened it (window pixels, the cell box's
  // corner in cells), the glyph fits and the canvas's device pixels per
  // window pixel.
  const view = { cols: 0, rows: 0, cellW: 0, cellH: 0, boxLeft: 0, boxTop: 0, fullBlock: 0,
                 fillOverlap: 0, background: '#000', fontScale: 2, charSize: 0, fit: null,
                 blockInk: null, blockFit: null, scaleX: 1, scaleY: 1, open: false,
                 lastText: '' };

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

  function setFont(ctx) { ctx.font = view.charSize + 'px ' + FONT_FAMILY + ', monospace'; }

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
    const block = hasCharacter(view.fullBlock) ? inkBox(ctx, view.fullBlock, 0) : null;
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

  // Whole device pixels per cell, as large as the page allows, so every cell
  // edge falls on a pixel.
  function sizeCanvas() {
    const canvas = Module.canvas;
    const ratio = window.devicePixelRatio || 1;
    const room = canvas.parentElement || document.body;
    const width = Math.max(room.clientWidth, 80) * ratio;
    const height = Math.max(window.innerHeight - canvas.getBoundingClientRect().top - 8, 60) * ratio;
    const aspect = view.cellW / view.cellH;
    let cellH = Math.floor(Math.min(height / view.rows, width / view.cols / aspect));
    cellH = Math.max(cellH, 4);
    const cellW = Math.max(Math.round(cellH * aspect), 2);
    canvas.width = cellW * view.cols;
    canvas.height = cellH * view.rows;
    canvas.style.width = canvas.width / ratio + 'px';
    canvas.style.height = canvas.height / ratio + 'px';
    view.scaleX = cellW / view.cellW;
    view.scaleY = cellH / view.cellH;
    fitBlocks();
    resetAtlas();
  }

  // geometry: cols, rows, cellW, cellH (window pixels), boxLeft, boxTop (the
  // cell box's corner from a character's position, in cells), fullBlock,
  // fillOverlap (device pixels), background (0xRRGGBB), fontScale.
  tw.open = function (geometry) {
    const canvas = Module.canvas;
    if (!canvas || !canvas.getContext) return -1;
    view.ctx = canvas.getContext('2d', { alpha: false });
    if (!view.ctx) return -1;
    Object.assign(view, geometry, { background: colorText(geometry.background), lastText: '' });
    view.charSize = Math.max(1, Math.floor(view.fontScale * Math.min(view.cellW, view.cellH)));
    fitGlyphs(view.ctx);
    sizeCanvas();
    view.open = true;
    document.body.dataset.state = 'running';
    return 0;
  };

  tw.close = function () {
    if (!view.open) return;
    view.open = false;
    document.body.dataset.state = 'ended';
    tw.message('The game has ended. Reload the page to play again.', false);
  };

  // Glyphs are drawn once per character and colour into an atlas of
  // cell-sized tiles (in device pixels, a pixel of margin around the cell
  // box) and copied from there: far cheaper than drawing text every frame.
  const ATLAS_COLUMNS = 32, ATLAS_ROWS = 64;
  const atlas = { canvas: null, ctx: null, tiles: new Map(), tileW: 0, tileH: 0 };

  function resetAtlas() {
    atlas.tiles.clear();
    atlas.tileW = Math.round(view.cellW * view.scaleX) + 2;
    atlas.tileH = Math.round(view.cellH * view.scaleY) + 2;
    atlas.canvas = atlas.canvas || document.createElement('canvas');
    atlas.canvas.width = atlas.tileW * ATLAS_COLUMNS;
    atlas.canvas.height = atlas.tileH * ATLAS_ROWS;
    atlas.ctx = atlas.canvas.getContext('2d');
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
    const shown = shownCharacter(code);
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

  // Draws one frame from the list the presenter wrote into the heap.
  tw.present = function (pointer, count) {
    tw.draw(HEAPF32.subarray(pointer >> 2, (pointer >> 2) + count));
    tw.frames++;
    document.body.dataset.frames = tw.frames;
    if (tw.frames === 1) tw.firstFrameAt = performance.now();
  };

  // Draws a frame's list of numbers (positions in window pixels):
  //   0, code, colour, x, y, rotation, hides, fills   a character; hides is
  //      0 (no fill), 1 (the frame's background) or -1 - the cell's own colour
  //   1, colour, alpha, n, x0, y0 ... x(n-1), y(n-1)   a filled polygon
  tw.draw = function (list) {
    const ctx = view.ctx, count = list.length;
    const sx = view.scaleX, sy = view.scaleY;
    const cellW = Math.round(view.cellW * sx), cellH = Math.round(view.cellH * sy);
    // New glyphs go into the atlas before any is copied from it: the copies
    // then read one version of the atlas, not a new one after every glyph.
    for (let i = 0; i < count;) {
      if (list[i] === 0) {
        if (list[i + 1] > 32) tile(list[i + 1], list[i + 2], list[i + 7] !== 0);
        i += 8;
      } else {
        i += 4 + 2 * list[i + 3];
      }
    }
    const tileW = atlas.tileW, tileH = atlas.tileH;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = view.background;
    ctx.fillRect(0, 0, Module.canvas.width, Module.canvas.height);
    for (let i = 0; i < count;) {
      if (list[i] === 0) {
        const code = list[i + 1], color = list[i + 2];
        const x = list[i + 3] * sx, y = list[i + 4] * sy, turn = list[i + 5], hides = list[i + 6];
        const fills = list[i + 7] !== 0;
        i += 8;
        // The cell box's corner, on whole device pixels.
        let left = Math.round(x + view.boxLeft * cellW), top = Math.round(y + view.boxTop * cellH);
        if (turn !== 0) {
          ctx.setTransform(1, 0, 0, 1, x, y);
          ctx.rotate(turn * Math.PI / 180);
          left = view.boxLeft * cellW;
          top = view.boxTop * cellH;
        }
        if (hides) {
          ctx.fillStyle = hides === 1 ? view.background : colorText(-hides - 1);
          ctx.fillRect(left, top, cellW, cellH);
        }
        if (code > 32) {
          const index = tile(code, color, fills);
          ctx.drawImage(atlas.canvas, (index % ATLAS_COLUMNS) * tileW,
                        Math.floor(index / ATLAS_COLUMNS) * tileH, tileW, tileH,
                        left - 1, top - 1, tileW, tileH);
        }
        if (turn !== 0) ctx.setTransform(1, 0, 0, 1, 0, 0);
      } else {
        const color = list[i + 1], alpha = list[i + 2], n = list[i + 3];
        ctx.setTransform(sx, 0, 0, sy, 0, 0);
        ctx.fillStyle = 'rgba(' + ((color >> 16) & 255) + ',' + ((color >> 8) & 255) + ',' +
                        (color & 255) + ',' + alpha / 255 + ')';
        ctx.beginPath();
        for (let k = 0; k < n; k++) {
          const px = list[i + 4 + 2 * k], py = list[i + 5 + 2 * k];
          if (k === 0) ctx.moveTo(px, py); else ctx.lineTo(px, py);
        }
        ctx.closePath();
        ctx.fill();
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        i += 4 + 2 * n;
      }
    }
  };

  // The frame as text, for tools, tests and assistive software.
  tw.screenText = function (text) {
    if (text === view.lastText) return;
    view.lastText = text;
    const element = pageElement('screen-text');
    if (element) element.textContent = text;
  };

  // ---- Input ------------------------------------------------------------

  function cellOf(event) {
    const rect = Module.canvas.getBoundingClientRect();
    if (rect.width <= 0 || rect.height <= 0) return [0, 0];
    return [(event.clientX - rect.left) / rect.width * view.cols,
            (event.clientY - rect.top) / rect.height * view.rows];
  }

  function releaseHeld() {
    tw.held.forEach((key) => push(KEY_RELEASED, key, 0, 0, 0));
    tw.held.clear();
  }

  function listen() {
    window.addEventListener('keydown', (event) => {
      tw.unlockAudio();
      const key = KEYS[event.code];
      if (key === undefined) return;
      event.preventDefault();  // Space, arrows and F-keys belong to the game
      // A repeat is marked as one; with key repeat on, as in a window, it is
      // pressed again.
      const repeat = event.repeat && tw.held.has(key) && !tw.keyRepeat;
      tw.held.add(key);
      push(KEY_PRESSED, key, 0, 0, 0, repeat ? 1 : 0);
    });
    window.addEventListener('keyup', (event) => {
      const key = KEYS[event.code];
      if (key === undefined) return;
      event.preventDefault();
      if (!tw.held.delete(key)) return;
      push(KEY_RELEASED, key, 0, 0, 0);
    });
    // Keys held while the page loses focus would never see their release.
    window.addEventListener('blur', releaseHeld);
    document.addEventListener('visibilitychange', () => { if (document.hidden) releaseHeld(); });
    const canvas = Module.canvas;
    canvas.addEventListener('mousemove', (event) => {
      const [x, y] = cellOf(event);
      push(MOUSE_MOVED, -1, 0, x, y);
    });
    canvas.addEventListener('mousedown', (event) => {
      tw.unlockAudio();
      const [x, y] = cellOf(event);
      push(BUTTON_PRESSED, -1, BUTTONS[event.button] || 0, x, y);
    });
    window.addEventListener('mouseup', (event) => {
      const [x, y] = cellOf(event);
      push(BUTTON_RELEASED, -1, BUTTONS[event.button] || 0, x, y);
    });
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    // Leaving the page closes the game through the normal path: a close
    // request, and the loop woken at once to read it.
    window.addEventListener('pagehide', () => {
      push(CLOSED, -1, 0, 0, 0);
      if (tw.wake) tw.wake();
    });
    window.addEventListener('resize', () => { if (view.open) sizeCanvas(); });
  }

  // Writes the next event into the heap (type, key, button as int32, x, y as
  // float32, then the repeat mark as int32); 0 when none is waiting.
  tw.poll = function (pointer) {
    const event = tw.events.shift();
    if (!event) return 0;
    HEAP32[pointer >> 2] = event[0];
    HEAP32[(pointer >> 2) + 1] = event[1];
    HEAP32[(pointer >> 2) + 2] = event[2];
    HEAPF32[(pointer >> 2) + 3] = event[3];
    HEAPF32[(pointer >> 2) + 4] = event[4];
    HEAP32[(pointer >> 2) + 5] = event[5];
    return 1;
  };

  // ---- The loop's waits ---------------------------------------------------

  // Resolves on the frame callback nearest to ms milliseconds from now. A
  // hidden page gets no frame callbacks, so the loop stops stepping there.
  tw.waitFrame = function (ms) {
    tw.waitedThisFrame = true;
    const target = performance.now() + ms;
    if (tw.resumedAt > 0 && tw.stepTimes.length < 100000) tw.stepTimes.push(target - ms - tw.resumedAt);
    return new Promise((resolve) => {
      let done = false;
      const finish = () => {
        if (done) return;
        done = true;
        tw.wake = null;
        tw.resumedAt = performance.now();
        resolve();
      };
      tw.wake = finish;
      const tick = (now) => {
        if (done) return;
        // Half a display frame early rather than a whole one late: the loop
        // carries any oversleep into the next frame.
        if (now >= target - 8) finish(); else requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    });
  };

  // ---- Sound ------------------------------------------------------------

  const audio = { context: null, clips: [], unlocked: false };

  function audioContext() {
    if (audio.context) return audio.context;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    try { audio.context = new Context(); } catch (e) { return null; }
    return audio.context;
  }

  // Browsers refuse sound before the first key or click; music asked for
  // before then starts now.
  tw.unlockAudio = function () {
    if (audio.unlocked) return;
    const context = audioContext();
    if (!context) return;
    audio.unlocked = true;
    context.resume().then(() => {
      audio.clips.forEach((clip) => { if (clip && clip.wanted) startClip(clip); });
    }, () => {});
  };

  tw.loadClip = function (id, path, music) {
    const context = audioContext();
    const clip = { buffer: null, source: null, wanted: false, loop: false, music };
    audio.clips[id] = clip;
    if (!context) return;
    let bytes;
    try { bytes = FS.readFile(path); } catch (e) { return; }
    const copy = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    context.decodeAudioData(copy).then((buffer) => {
      clip.buffer = buffer;
      if (clip.wanted && audio.unlocked) startClip(clip);
    }, () => tw.message('The sound ' + path + ' could not be decoded by this browser.', true));
  };

  function startClip(clip) {
    const context = audio.context;
    if (!clip.buffer || !context || context.state !== 'running') return;
    if (clip.source) { try { clip.source.stop(); } catch (e) { } }
    const source = context.createBufferSource();
    source.buffer = clip.buffer;
    source.loop = clip.loop;
    source.connect(context.destination);
    source.onended = () => { if (clip.source === source) { clip.source = null; clip.wanted = false; } };
    source.start();
    clip.source = source;
    tw.soundsStarted = (tw.soundsStarted || 0) + 1;
  }

  tw.playClip = function (id, loop) {
    const clip = audio.clips[id];
    if (!clip) return;
    clip.loop = loop;
    // An effect missed before the first key is gone; music waits for it.
    clip.wanted = clip.music || audio.unlocked;
    if (audio.unlocked) startClip(clip);
  };

  tw.stopClip = function (id) {
    const clip = audio.clips[id];
    if (!clip) return;
    clip.wanted = false;
    if (clip.source) { try { clip.source.stop(); } catch (e) { } clip.source = null; }
  };

  tw.dropClip = function (id) { tw.stopClip(id); audio.clips[id] = null; };

  // ---- Storage ------------------------------------------------------------

  function storage() {
    try { return window.localStorage; } catch (e) { return null; }
  }

  // Copies every kept file of this page back into the file system.
  tw.restoreFiles = function () {
    const store = storage();
    if (!store) {
      tw.message('The browser blocks this page\'s storage: the best score and the mute choice ' +
                 'will not last past this visit.', true);
      return;
    }
    try {
      for (let i = 0; i < store.length; i++) {
        const key = store.key(i);
        if (!key || !key.startsWith(tw.storageKey)) continue;
        const path = key.substring(tw.storageKey.length);
        const folder = path.substring(0, path.lastIndexOf('/'));
        if (folder) FS.mkdirTree(folder);
        const text = store.getItem(key);
        FS.writeFile(path, Uint8Array.from(atob(text), (c) => c.charCodeAt(0)));
      }
    } catch (e) {
      tw.message('The browser storage could not be read (' + e.message + ').', true);
    }
  };

  // 0 when kept; otherwise says why on the page and gives -1.
  tw.keepFile = function (path, pointer, length) {
    const store = storage();
    let text = '';
    const bytes = HEAPU8.subarray(pointer, pointer + length);
    for (let i = 0; i < bytes.length; i++) text += String.fromCharCode(bytes[i]);
    try {
      if (!store) throw new Error('storage is blocked');
      store.setItem(tw.storageKey + path, btoa(text));
      return 0;
    } catch (e) {
      tw.message('The browser storage is full or blocked: ' + path + ' was not kept (' +
                 e.message + ').', true);
      return -1;
    }
  };

  // ---- Changed data files (development server only) -----------------------

  // The development server names its feed of saved data files in the page
  // (window.TW_CHANGES); a static site has none. On such a page the game
  // watches its files (TARNWICK_HOT_RELOAD), each pushed file is written into
  // the program's file system and queued, and the engine's file watcher
  // takes the queue once a frame (tw.nextChangedFile).
  tw.changedFiles = [];
  function followChanges() {
    const feed = typeof window !== 'undefined' ? window.TW_CHANGES : undefined;
    if (!feed || typeof EventSource === 'undefined') return;
    ENV.TARNWICK_HOT_RELOAD = '1';
    new EventSource(feed).addEventListener('change', (event) => {
      try {
        const change = JSON.parse(event.data);
        const folder = change.path.substring(0, change.path.lastIndexOf('/'));
        if (folder) FS.mkdirTree(folder);
        FS.writeFile(change.path, Uint8Array.from(atob(change.data), (c) => c.charCodeAt(0)));
        tw.changedFiles.push(change.path);
      } catch (e) {
        tw.message('A saved file could not be taken (' + e.message + ').', true);
      }
    });
  }

  // Writes the next changed file's path into the buffer; its length, or -1
  // when none waits.
  tw.nextChangedFile = function (pointer, size) {
    const changed = tw.changedFiles.shift();
    if (changed === undefined) return -1;
    stringToUTF8(changed, pointer, size);
    return lengthBytesUTF8(changed);
  };

  if (typeof window !== 'undefined' && typeof document !== 'undefined') {
    Module.preRun = [].concat(Module.preRun || [], [listen, followChanges]);
  }
  return tw;
})();
