// The user's data folder kept in the browser's storage, per page: copied
// back into the program's file system before its first read, and each file
// written there kept again. What the game keeps is said in its own words
// (tw.keptData, set through platform::describeKeptData).
(function (tw) {
  'use strict';

  const prefix = 'tarnwick:' + location.pathname + ':';
  tw.keptData = 'what this game saves';

  function storage() {
    try { return window.localStorage; } catch (e) { return null; }
  }

  // Copies every kept file of this page back into the file system.
  tw.restoreFiles = function () {
    const store = storage();
    if (!store) {
      tw.message('The browser blocks this page\'s storage: ' + tw.keptData +
                 ' will not last past this visit.', true);
      return;
    }
    try {
      for (let i = 0; i < store.length; i++) {
        const key = store.key(i);
        if (!key || !key.startsWith(prefix)) continue;
        const path = key.substring(prefix.length);
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
      store.setItem(prefix + path, btoa(text));
      return 0;
    } catch (e) {
      tw.message('The browser storage is full or blocked: ' + path + ' was not kept (' +
                 e.message + ').', true);
      return -1;
    }
  };
})(Module.tw);
