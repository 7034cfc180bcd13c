// The replay driver under Node.js: the browser's SDL wants a page, a window
// and a canvas. These stand-ins give it a canvas that draws nothing; the
// replay reads the game's pixels from memory, never from the canvas.
if (typeof document === 'undefined') {
  var zubaNoop = function() {};
  var zubaContext = {
    createImageData: function(w, h) { return { width: w, height: h, data: new Uint8ClampedArray(w * h * 4) }; },
    getImageData: function(x, y, w, h) { return this.createImageData(w, h); },
    putImageData: zubaNoop, fillRect: zubaNoop, save: zubaNoop, restore: zubaNoop,
  };
  var zubaCanvas = {
    width: 300, height: 150, style: { setProperty: zubaNoop, removeProperty: zubaNoop },
    addEventListener: zubaNoop, removeEventListener: zubaNoop,
    getContext: function() { return zubaContext; },
    getBoundingClientRect: function() { return { left: 0, top: 0, width: this.width, height: this.height }; },
  };
  globalThis.document = { addEventListener: zubaNoop, removeEventListener: zubaNoop,
    createElement: function() { return zubaCanvas; }, body: {} };
  globalThis.window = globalThis;
  if (typeof navigator === 'undefined') globalThis.navigator = {};
  globalThis.addEventListener = zubaNoop;
  Module['canvas'] = zubaCanvas;
}
// Node.js 18 and later have fetch(), which this emscripten would use for the
// .wasm next to the script and fail on a file path: read it directly instead.
if (typeof process === 'object' && !Module['wasmBinary']) {
  Module['wasmBinary'] = require('fs').readFileSync(require('path').join(__dirname, 'zuba-trilo-replay.wasm'));
}
