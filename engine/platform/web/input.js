// The page's keyboard and mouse as the engine's input events: a queue the
// presenter drains once a frame (tw.poll, in TW_TABLES.PollField's layout),
// keys held while the page loses focus released, and leaving the page a
// close request.
(function (tw) {
  'use strict';

  const KEY = TW_TABLES.Key, BUTTON = TW_TABLES.MouseButton, TYPE = TW_TABLES.EventType;
  const POLL = TW_TABLES.PollField;
  const MAX_EVENTS = 4096;

  // The engine's key for each DOM key code.
  const KEYS = {};
  'ABCDEFGHIJKLMNOPQRSTUVWXYZ'.split('').forEach((c) => { KEYS['Key' + c] = KEY[c]; });
  for (let i = 0; i < 10; i++) { KEYS['Digit' + i] = KEY['Num' + i]; KEYS['Numpad' + i] = KEY['Numpad' + i]; }
  for (let i = 1; i <= 15; i++) KEYS['F' + i] = KEY['F' + i];
  Object.entries({
    Escape: 'Escape', ControlLeft: 'LControl', ShiftLeft: 'LShift', AltLeft: 'LAlt',
    MetaLeft: 'LSystem', ControlRight: 'RControl', ShiftRight: 'RShift', AltRight: 'RAlt',
    MetaRight: 'RSystem', ContextMenu: 'Menu', BracketLeft: 'LBracket', BracketRight: 'RBracket',
    Semicolon: 'Semicolon', Comma: 'Comma', Period: 'Period', Quote: 'Apostrophe', Slash: 'Slash',
    Backslash: 'Backslash', Backquote: 'Grave', Equal: 'Equal', Minus: 'Hyphen', Space: 'Space',
    Enter: 'Enter', Backspace: 'Backspace', Tab: 'Tab', PageUp: 'PageUp', PageDown: 'PageDown',
    End: 'End', Home: 'Home', Insert: 'Insert', Delete: 'Delete', NumpadAdd: 'Add',
    NumpadSubtract: 'Subtract', NumpadMultiply: 'Multiply', NumpadDivide: 'Divide',
    ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down', Pause: 'Pause',
    NumpadEnter: 'Enter',
  }).forEach(([code, name]) => { KEYS[code] = KEY[name]; });
  // The engine's button for each DOM button number.
  const BUTTONS = [BUTTON.Left, BUTTON.Middle, BUTTON.Right, BUTTON.Extra1, BUTTON.Extra2];

  const events = [];
  const held = new Set();
  tw.keyRepeat = true;

  // repeat: 1 for a key press that is the keyboard's auto-repeat.
  function push(type, key, button, x, y, repeat = 0) {
    if (events.length < MAX_EVENTS) events.push({ type, key, button, x, y, repeat });
  }

  function pushMouse(type, event) {
    const [x, y] = tw.cellAt(event.clientX, event.clientY);
    push(type, KEY.Unknown, BUTTONS[event.button] || BUTTON.Left, x, y);
  }

  function releaseHeld() {
    held.forEach((key) => push(TYPE.KeyReleased, key, BUTTON.Left, 0, 0));
    held.clear();
  }

  function listenToKeys() {
    window.addEventListener('keydown', (event) => {
      tw.unlockAudio();
      const key = KEYS[event.code];
      if (key === undefined) return;
      event.preventDefault();  // Space, arrows and F-keys belong to the game
      // A repeat is marked as one; with key repeat on, as in a window, it is
      // pressed again.
      const repeat = event.repeat && held.has(key) && !tw.keyRepeat;
      held.add(key);
      push(TYPE.KeyPressed, key, BUTTON.Left, 0, 0, repeat ? 1 : 0);
    });
    window.addEventListener('keyup', (event) => {
      const key = KEYS[event.code];
      if (key === undefined) return;
      event.preventDefault();
      if (!held.delete(key)) return;
      push(TYPE.KeyReleased, key, BUTTON.Left, 0, 0);
    });
    // Keys held while the page loses focus would never see their release.
    window.addEventListener('blur', releaseHeld);
    document.addEventListener('visibilitychange', () => { if (document.hidden) releaseHeld(); });
  }

  function listenToMouse() {
    const canvas = Module.canvas;
    canvas.addEventListener('mousemove', (event) => pushMouse(TYPE.MouseMoved, event));
    canvas.addEventListener('mousedown', (event) => {
      tw.unlockAudio();
      pushMouse(TYPE.MouseButtonPressed, event);
    });
    window.addEventListener('mouseup', (event) => pushMouse(TYPE.MouseButtonReleased, event));
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  tw.atStart(() => {
    listenToKeys();
    listenToMouse();
    // Leaving the page closes the game through the normal path: a close
    // request, and the loop woken at once to read it.
    window.addEventListener('pagehide', () => {
      push(TYPE.Closed, KEY.Unknown, BUTTON.Left, 0, 0);
      if (tw.wake) tw.wake();
    });
    window.addEventListener('resize', () => tw.resize());
  });

  // Writes the next event into the heap at pointer; 0 when none is waiting.
  tw.poll = function (pointer) {
    const event = events.shift();
    if (!event) return 0;
    const at = pointer >> 2;
    HEAP32[at + POLL.POLL_TYPE] = event.type;
    HEAP32[at + POLL.POLL_KEY] = event.key;
    HEAP32[at + POLL.POLL_BUTTON] = event.button;
    HEAPF32[at + POLL.POLL_X] = event.x;
    HEAPF32[at + POLL.POLL_Y] = event.y;
    HEAP32[at + POLL.POLL_REPEAT] = event.repeat;
    return 1;
  };
})(Module.tw);
