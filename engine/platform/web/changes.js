// Data files saved during development, pushed by the development server's
// feed (window.TW_CHANGES; a static site has none). On such a page the game
// watches its files (TARNWICK_HOT_RELOAD), each pushed file is written into
// the program's file system and queued, and the engine's file watcher takes
// the queue once a frame (tw.nextChangedFile).
(function (tw) {
  'use strict';

  const changed = [];
  tw.changedFiles = changed;

  function follow() {
    const feed = window.TW_CHANGES;
    if (!feed || typeof EventSource === 'undefined') return;
    ENV.TARNWICK_HOT_RELOAD = '1';
    new EventSource(feed).addEventListener('change', (event) => {
      try {
        const change = JSON.parse(event.data);
        const folder = change.path.substring(0, change.path.lastIndexOf('/'));
        if (folder) FS.mkdirTree(folder);
        FS.writeFile(change.path, Uint8Array.from(atob(change.data), (c) => c.charCodeAt(0)));
        changed.push(change.path);
      } catch (e) {
        tw.message('A saved file could not be taken (' + e.message + ').', true);
      }
    });
  }
  tw.atStart(follow);

  // Writes the next changed file's path into the buffer; its length, or -1
  // when none waits.
  tw.nextChangedFile = function (pointer, size) {
    const path = changed.shift();
    if (path === undefined) return -1;
    stringToUTF8(path, pointer, size);
    return lengthBytesUTF8(path);
  };
})(Module.tw);
