// The page side of the engine's browser build, run before the program: the
// object the C++ side reaches as Module.tw (engine/platform/Web*.cpp) and the
// messages shown to the player. The modules after this one each add one job
// to it: the font, the canvas, input, the loop's waits, sound, storage and the
// feed of changed data files (cmake/TarnwickWeb.cmake lists them in order).
Module.tw = (function () {
  'use strict';

  const tw = {};

  // A message the player should read: shown on the page and in the console.
  tw.message = function (text, isError) {
    const box = document.getElementById('message');
    if (box) {
      const line = document.createElement('div');
      line.textContent = text;
      if (isError) line.className = 'error';
      box.appendChild(line);
      box.hidden = false;
    }
    (isError ? console.error : console.log)('Tarnwick: ' + text);
  };

  // Runs start before the program does, once the page is there (not in a
  // worker or a page-less test).
  tw.atStart = function (start) {
    if (typeof window === 'undefined' || typeof document === 'undefined') return;
    Module.preRun = [].concat(Module.preRun || [], [start]);
  };

  return tw;
})();
