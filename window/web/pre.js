// Runs before the core is set up. The core's WebAssembly is in the page,
// base64 in an element of its own; handed to the module as its wasmBinary,
// it is never fetched, which the page's security policy forbids anyway, so
// the page works from disk as from a web server.
//
// Whatever keeps the core from starting (no WebAssembly, an abort, an error,
// a promise of the module's that fails) is shown on the page, and to a test
// waiting for it, instead of a window that never comes to life; only the
// lack of WebAssembly is told as the calculator's need of it.
Module['onAbort'] = function (what) { pageFailed(String(what)); };
window.addEventListener('error', (event) => pageFailed(String(event.message)));
window.addEventListener('unhandledrejection', (event) => pageFailed(String(event.reason)));
if (typeof WebAssembly !== 'object') {
  pageNeedsWebAssembly();
  throw new Error('no WebAssembly');
}
Module['wasmBinary'] = decodeBase64(document.getElementById('core').textContent);

// The browser's own decoder where it has one, a hundred times quicker than a
// loop over atob's characters; the loop elsewhere.
function decodeBase64(text) {
  if (typeof Uint8Array.fromBase64 === 'function') return Uint8Array.fromBase64(text);
  const characters = atob(text);
  const bytes = new Uint8Array(characters.length);
  for (let i = 0; i < characters.length; ++i) bytes[i] = characters.charCodeAt(i);
  return bytes;
}
Module['onRuntimeInitialized'] = function () { startPage(); };
