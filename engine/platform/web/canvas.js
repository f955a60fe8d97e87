// The page's canvas and screen text: opened at the grid's size, scaled to
// whole device pixels per cell as the page allows, each frame's drawing list
// handed to the painter (painter.js), and the text mirror of the screen.
(function (tw) {
  'use strict';

  // The grid as the presenter opened it, the painter and the page's canvas
  // context.
  const view = { cols: 0, rows: 0, ctx: null, painter: null, open: false, lastText: '' };
  tw.frames = 0;

  // Whole device pixels per cell, as large as the page allows, so every cell
  // edge falls on a pixel.
  function sizeCanvas() {
    const canvas = Module.canvas;
    const room = canvas.parentElement || document.body;
    view.painter.fitCanvas(canvas, view.cols, view.rows, room.clientWidth,
                           window.innerHeight - canvas.getBoundingClientRect().top - 8);
  }

  // geometry: cols, rows, cellW, cellH (window pixels), boxLeft, boxTop (the
  // cell box's corner from a character's position, in cells), fillOverlap
  // (device pixels), background (0xRRGGBB); fits: the fit table the engine
  // computed from the font (painter.js).
  tw.open = function (geometry, fits, title) {
    const canvas = Module.canvas;
    if (!canvas || !canvas.getContext) return -1;
    view.ctx = canvas.getContext('2d', { alpha: false });
    if (!view.ctx) return -1;
    Object.assign(view, { cols: geometry.cols, rows: geometry.rows, lastText: '' });
    view.painter = twCreatePainter(geometry, fits, tw.font.family);
    sizeCanvas();
    view.open = true;
    if (title) document.title = title;  // the game's window title names its tab
    document.body.dataset.state = 'running';
    return 0;
  };

  tw.close = function () {
    if (!view.open) return;
    view.open = false;
    document.body.dataset.state = 'ended';
    tw.message('The game has ended. Reload the page to play again.', false);
  };

  tw.resize = function () { if (view.open) sizeCanvas(); };

  // Draws one frame from the list the presenter wrote into the heap.
  tw.present = function (pointer, count) {
    tw.draw(HEAPF32.subarray(pointer >> 2, (pointer >> 2) + count));
    tw.frames++;
    document.body.dataset.frames = tw.frames;
  };

  // Draws a frame's drawing list (positions in window pixels).
  tw.draw = function (list) { view.painter.draw(view.ctx, list); };

  // A page position (client pixels) in cells of the grid.
  tw.cellAt = function (clientX, clientY) {
    const rect = Module.canvas.getBoundingClientRect();
    if (rect.width <= 0 || rect.height <= 0) return [0, 0];
    return [(clientX - rect.left) / rect.width * view.cols,
            (clientY - rect.top) / rect.height * view.rows];
  };

  // The frame as text, for tools, tests and assistive software.
  tw.screenText = function (text) {
    if (text === view.lastText) return;
    view.lastText = text;
    const element = document.getElementById('screen-text');
    if (element) element.textContent = text;
  };
})(Module.tw);
