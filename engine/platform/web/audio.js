// Sound through Web Audio: clips decoded from the program's files, effects
// and looping music started and stopped by id. Browsers refuse sound before
// the player's first key or click; music asked for before then starts then.
(function (tw) {
  'use strict';

  const audio = { context: null, clips: [], unlocked: false };

  function audioContext() {
    if (audio.context) return audio.context;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    try { audio.context = new Context(); } catch (e) { return null; }
    return audio.context;
  }

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
  }

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
})(Module.tw);
