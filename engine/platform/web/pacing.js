// The loop's waits: each resolves on the display's frame callback nearest to
// the time asked for, measured against the display's own refresh interval.
// A hidden page gets no frame callbacks, so the loop stops stepping there.
// A wait after which nothing new was drawn (a turn-based game waiting for a
// key) sleeps on a timer instead: asking for frame callbacks keeps the
// browser composing frames sixty times a second for nothing.
(function (tw) {
  'use strict';

  // The refresh interval, milliseconds: a running average of the intervals
  // between the frame callbacks of one wait (between waits the program's
  // own step may take longer than a display frame), starting from a 60 Hz
  // display's. Gaps longer than MAX_INTERVAL (a hidden or busy page) say
  // nothing about the display.
  const MAX_INTERVAL = 100;
  let interval = 1000 / 60, lastCallback = 0, framesAtLastWait = -1;
  tw.wake = null;  // ends the loop's current wait early (page leaving)
  tw.waitedThisFrame = false;

  function measure(now) {
    const gap = now - lastCallback;
    if (lastCallback > 0 && gap > 0 && gap < MAX_INTERVAL) interval += (gap - interval) / 8;
    lastCallback = now;
  }

  // The display's refresh interval as measured so far, milliseconds.
  tw.refreshInterval = function () { return interval; };

  // Resolves on the frame callback nearest to ms milliseconds from now.
  tw.waitFrame = function (ms) {
    tw.waitedThisFrame = true;
    const drewSinceLastWait = tw.frames !== framesAtLastWait;
    framesAtLastWait = tw.frames;
    if (!drewSinceLastWait && !document.hidden) return sleep(ms);
    const target = performance.now() + ms;
    lastCallback = 0;
    return new Promise((resolve) => {
      let done = false;
      const finish = () => {
        if (done) return;
        done = true;
        tw.wake = null;
        resolve();
      };
      tw.wake = finish;
      const tick = (now) => {
        if (done) return;
        measure(now);
        // Half a display frame early rather than a whole one late: the loop
        // carries any oversleep into the next frame.
        if (now >= target - interval / 2) finish(); else requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    });
  };

  // Resolves after ms milliseconds on a timer, or when woken.
  function sleep(ms) {
    return new Promise((resolve) => {
      const finish = () => {
        if (tw.wake !== finish) return;
        tw.wake = null;
        clearTimeout(timer);
        resolve();
      };
      tw.wake = finish;
      const timer = setTimeout(finish, Math.max(0, ms));
    });
  }
})(Module.tw);
