// The spectators' page: connects to a running game's spectate port
// (watch.html?port=N, and &host=H when the game is not on the page's own
// host), takes the painter's geometry from the game's first message, then
// draws each frame the game sends with the browser presenter's painter
// (painter.js) and mirrors the screen's text. Read-only: it sends nothing.
(function (tw) {
  'use strict';

  const view = { painter: null, cols: 0, rows: 0, ctx: null };
  tw.frames = 0;

  // The painter for the game's geometry and the fit table the game computed
  // from its font: the one place this page makes it.
  function makePainter(geometry) {
    return twCreatePainter(geometry, geometry.fits, tw.font.family);
  }

  // Whole device pixels per cell, as large as the window allows.
  function sizeCanvas() {
    const canvas = view.ctx.canvas;
    view.painter.fitCanvas(canvas, view.cols, view.rows, document.body.clientWidth,
                           window.innerHeight - canvas.getBoundingClientRect().top - 8);
  }

  function open(geometry) {
    Object.assign(view, { cols: geometry.cols, rows: geometry.rows });
    view.ctx = document.getElementById('canvas').getContext('2d', { alpha: false });
    view.painter = makePainter(geometry);
    sizeCanvas();
    window.addEventListener('resize', sizeCanvas);
    document.body.dataset.state = 'watching';
  }

  function screenText(text) {
    document.getElementById('screen-text').textContent = text;
  }

  function draw(bytes) {
    if (!view.painter) return;
    view.painter.draw(view.ctx, new Float32Array(bytes));
    tw.frames++;
    document.body.dataset.frames = tw.frames;
  }

  function connect() {
    const params = new URLSearchParams(location.search);
    const port = params.get('port');
    const host = params.get('host') || location.hostname || '127.0.0.1';
    if (!/^\d+$/.test(port || '')) {
      tw.message('Say which game to watch: watch.html?port=N (the port the game printed).', true);
      document.body.dataset.state = 'failed';
      return;
    }
    const socket = new WebSocket('ws://' + host + ':' + port + '/watch');
    socket.binaryType = 'arraybuffer';
    socket.onmessage = (event) => {
      if (typeof event.data !== 'string') {
        draw(event.data);
        return;
      }
      const message = JSON.parse(event.data);
      if (message.geometry) open(message.geometry);
      if (typeof message.text === 'string') screenText(message.text);
    };
    socket.onclose = () => {
      const watched = document.body.dataset.state === 'watching';
      document.body.dataset.state = 'ended';
      tw.message(watched ? 'The game has ended, or stopped serving spectators.'
                         : 'No game to watch on ' + host + ' port ' + port +
                           ' (or it has all the watchers it takes).', !watched);
    };
  }

  tw.loadFont('tw-font.ttf')
    .catch((error) => tw.message('The font tw-font.ttf could not be loaded (' + error.message +
                                 '); drawing with the browser\'s monospace font.', true))
    .finally(connect);
})(Module.tw);
