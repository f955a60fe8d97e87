// The shipped font in the page: fetched for the canvas, and put into the
// program's files (where engine/platform/WebPage.h's FONT_FILE names it), from
// which the engine reads which characters it has and where their glyphs' ink
// lies: it then sends a character the font lacks as the one drawn for it, and
// hands the canvas each glyph's fit.
(function (tw) {
  'use strict';

  const FONT_FILE = '/tw-font.ttf';
  const font = { family: 'TarnwickFont' };
  tw.font = font;

  // Fetches the font at url for the canvas and the program; rejects with the
  // reason when the canvas cannot have it.
  tw.loadFont = function (url) {
    return fetch(url).then((response) => {
      if (!response.ok) throw new Error('the server answered ' + response.status);
      return response.arrayBuffer();
    }).then((bytes) => {
      // A page that runs no program (the spectators' page) has no files.
      if (typeof FS !== 'undefined') FS.writeFile(FONT_FILE, new Uint8Array(bytes));
      const face = new FontFace(font.family, bytes);
      return face.load().then(() => { document.fonts.add(face); });
    });
  };
})(Module.tw);
