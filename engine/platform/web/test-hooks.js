// What the web tests and benchmarks read from a page besides what the player
// sees, linked only into builds made with TARNWICK_WEB_TEST_HOOKS: the
// main thread's milliseconds between the loop's waits (tw.stepTimes), when
// the first frame was drawn (tw.firstFrameAt) and how many sounds started
// (tw.soundsStarted). Each wraps the runtime rather than living in it.
(function (tw) {
  'use strict';

  tw.stepTimes = [];
  tw.firstFrameAt = 0;  // milliseconds from the page's start
  tw.soundsStarted = 0;

  let resumedAt = 0;
  const waitFrame = tw.waitFrame;
  tw.waitFrame = function (ms) {
    if (resumedAt > 0 && tw.stepTimes.length < 100000) {
      tw.stepTimes.push(performance.now() - resumedAt);
    }
    return waitFrame(ms).then(() => { resumedAt = performance.now(); });
  };

  const present = tw.present;
  tw.present = function (pointer, count) {
    present(pointer, count);
    if (tw.firstFrameAt === 0) tw.firstFrameAt = performance.now();
  };

  if (typeof AudioBufferSourceNode !== 'undefined') {
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      const result = start.apply(this, args);
      tw.soundsStarted++;
      return result;
    };
  }
})(Module.tw);
