// The page's side of the browser build, run before the game starts: the
// canvas the game paints, keys that must not scroll the page, the sound
// queue that Web Audio plays at the game's own 8000 Hz, the touch controls,
// fullscreen, the pause when the page is hidden, and the offline copy.
(function() {
  var canvas = document.getElementById('screen');
  Module['canvas'] = canvas;

  // The presenter's changed rectangles go onto the canvas straight from the
  // surface in the wasm heap: one ImageData over the heap, put with a dirty
  // rectangle per change, no copy of the whole screen.
  var context = null;
  var image = null;
  Module.zubaPut = function(pixels, width, height, rects, count) {
    if (!context) context = canvas.getContext('2d');
    if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== pixels) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height);
    }
    for (var i = 0; i < count; i++) {
      var r = (rects >> 2) + 4 * i;
      context.putImageData(image, 0, 0, HEAP32[r], HEAP32[r + 1], HEAP32[r + 2], HEAP32[r + 3]);
    }
  };

  // Sound: a browser lets a page start sound only inside a key press or a
  // tap (on a phone, only as the finger lifts). From then on the mixer's 2000-sample blocks are queued back to back, a little
  // ahead of time, as buffers of 8000 samples a second; the browser resamples.
  var RATE = 8000, BLOCK = 2000, LEAD_SECONDS = 0.1;
  var audio = null;
  var queuedUntil = 0;
  function startAudio() {
    if (!audio) {
      var AudioContext = window.AudioContext || window.webkitAudioContext;
      if (!AudioContext) return;
      audio = new AudioContext();
    }
    if (audio.state !== 'running') audio.resume();
    document.body.classList.remove('locked');
  }
  Module.zubaAudioPump = function() {
    if (!audio || audio.state !== 'running') return;
    if (queuedUntil < audio.currentTime) queuedUntil = audio.currentTime + 0.02;
    while (queuedUntil < audio.currentTime + LEAD_SECONDS) {
      var block = Module._web_audio_block();
      if (!block) return;
      var buffer = audio.createBuffer(1, BLOCK, RATE);
      var samples = buffer.getChannelData(0);
      for (var i = 0; i < BLOCK; i++) samples[i] = (HEAPU8[block + i] - 128) / 128;
      var source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(audio.destination);
      source.start(queuedUntil);
      queuedUntil += BLOCK / RATE;
    }
  };

  // The game's keys must not scroll the page. A physical key hides the touch
  // controls; F11 switches fullscreen.
  var GAME_KEYS = { ArrowLeft: 1, ArrowRight: 1, ArrowUp: 1, ArrowDown: 1, ' ': 1, Spacebar: 1 };
  function keepKey(event) {
    if (GAME_KEYS[event.key]) event.preventDefault();
    if (event.type !== 'keydown') return;
    startAudio();
    showTouch(false);
    if (event.key === 'F11') {
      event.preventDefault();
      toggleFullscreen();
    }
  }
  window.addEventListener('keydown', keepKey, true);
  window.addEventListener('keyup', keepKey, true);

  // Touch controls. Each finger is its own pointer, captured by the control
  // it landed on, so both thumbs work at once and a finger that slides off a
  // button keeps it. The pad is one control: where the finger is on it now
  // (left or right half) is the direction, so sliding switches without a lift.
  // Options opens the options screen; Up and Down, shown while it is open,
  // choose its item, the pad changes the item's value and Fire acts.
  var LEFT = 0, RIGHT = 1, FIRE = 2, OPTIONS = 3, UP = 4, DOWN = 5, CONTROLS = 6;
  var body = document.body;
  var pad = document.getElementById('pad');
  var fingers = {};  // pointerId -> one of the controls
  var held = [];
  for (var c = 0; c < CONTROLS; c++) held.push(false);
  function press(control, down) {
    if (held[control] === down) return;
    held[control] = down;
    if (Module._web_press) Module._web_press(control, down ? 1 : 0);
  }
  function restate() {
    var now = held.map(function() { return false; });
    for (var id in fingers) now[fingers[id]] = true;
    for (var c = 0; c < CONTROLS; c++) press(c, now[c]);
  }
  function padSide(event) {
    var box = pad.getBoundingClientRect();
    return event.clientX < box.left + box.width / 2 ? LEFT : RIGHT;
  }
  function grab(element, which) {
    element.addEventListener('pointerdown', function(event) {
      event.preventDefault();
      element.setPointerCapture(event.pointerId);
      fingers[event.pointerId] = which || padSide(event);
      restate();
    });
    element.addEventListener('pointermove', function(event) {
      if (!(event.pointerId in fingers) || which) return;
      fingers[event.pointerId] = padSide(event);
      restate();
    });
    function lift(event) {
      delete fingers[event.pointerId];
      restate();
    }
    element.addEventListener('pointerup', lift);
    element.addEventListener('pointercancel', lift);
    element.addEventListener('lostpointercapture', lift);
  }
  grab(pad, 0);
  grab(document.getElementById('fire'), FIRE);
  grab(document.getElementById('options'), OPTIONS);
  grab(document.getElementById('up'), UP);
  grab(document.getElementById('down'), DOWN);
  function releaseAll() {
    fingers = {};
    restate();
  }
  // The game says when its options screen opens and closes.
  Module.zubaOptionsShown = function(open) {
    body.classList.toggle('options-open', !!open);
    if (!open) {
      for (var id in fingers) if (fingers[id] === UP || fingers[id] === DOWN) delete fingers[id];
      restate();
    }
  };

  // Touch mode: from the start on a device whose pointer is a finger, or at
  // the first touch. The first tap (the "Tap to play" cover) only unlocks the
  // sound: it never reaches a control.
  function showTouch(on) {
    if (on && navigator.getGamepads && Array.prototype.some.call(navigator.getGamepads(), function(g) { return g; })) on = false;
    if (on === body.classList.contains('touch')) return;
    body.classList.toggle('touch', on);
    if (!on) releaseAll();
  }
  body.classList.add('locked');
  if (window.matchMedia && matchMedia('(pointer: coarse)').matches) showTouch(true);
  var firstTap = false;
  window.addEventListener('pointerdown', function(event) {
    if (event.pointerType === 'mouse') return;
    showTouch(true);
    if (body.classList.contains('locked')) {
      firstTap = true;
      event.preventDefault();
      event.stopPropagation();
      startAudio();  // browsers that allow it here
    }
  }, true);
  window.addEventListener('pointerup', function(event) {
    if (!firstTap) return;
    firstTap = false;
    event.stopPropagation();
    startAudio();
  }, true);
  window.addEventListener('gamepadconnected', function() { showTouch(false); });
  // No long-press menu and no pinch anywhere on the page.
  window.addEventListener('contextmenu', function(event) { event.preventDefault(); });
  document.addEventListener('touchmove', function(event) { event.preventDefault(); }, { passive: false });

  // Fullscreen: the whole page (controls too) where the browser has it.
  function toggleFullscreen() {
    var root = document.documentElement;
    if (document.fullscreenElement) document.exitFullscreen();
    else if (root.requestFullscreen) root.requestFullscreen().catch(function() {});
  }
  Module.zubaFullscreen = function(on) {
    if (!!on !== !!document.fullscreenElement) toggleFullscreen();
  };
  if (document.fullscreenEnabled) body.classList.add('can-fullscreen');
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);

  // A hidden page or a window that lost focus pauses the game and lets go of
  // every held control; the game's own pause keys or Fire resume it.
  function away() {
    releaseAll();
    if (Module._web_page_away) Module._web_page_away();
  }
  document.addEventListener('visibilitychange', function() { if (document.visibilityState === 'hidden') away(); });
  window.addEventListener('blur', away);

  // The offline copy (sw.js); a browser allows one only over https or on
  // this machine.
  if ('serviceWorker' in navigator && (location.protocol === 'https:' || location.hostname === '127.0.0.1' ||
                                       location.hostname === 'localhost')) {
    navigator.serviceWorker.register('sw.js').catch(function() {});
  }
})();
