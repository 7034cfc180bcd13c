// The page's side of the browser build, run before the game starts: the
// canvas the game paints, keys that must not scroll the page, and the sound
// queue that Web Audio plays at the game's own 8000 Hz.
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

  // Sound: a browser lets a page start sound only after a key press. From
  // then on the mixer's 2000-sample blocks are queued back to back, a little
  // ahead of time, as buffers of 8000 samples a second; the browser resamples.
  var RATE = 8000, BLOCK = 2000, LEAD_SECONDS = 0.1;
  var audio = null;
  var queuedUntil = 0;
  function startAudio() {
    if (audio) return;
    var AudioContext = window.AudioContext || window.webkitAudioContext;
    if (!AudioContext) return;
    audio = new AudioContext();
    audio.resume();
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

  // The game's keys must not scroll the page.
  var GAME_KEYS = { ArrowLeft: 1, ArrowRight: 1, ArrowUp: 1, ArrowDown: 1, ' ': 1, Spacebar: 1 };
  function keepKey(event) {
    if (GAME_KEYS[event.key]) event.preventDefault();
    if (event.type === 'keydown') startAudio();
  }
  window.addEventListener('keydown', keepKey, true);
  window.addEventListener('keyup', keepKey, true);
})();
