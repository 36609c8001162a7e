// Runs before the core is set up. The WebAssembly is inlined in the page as
// a data URI, which emscripten would fetch, and the page's security policy
// forbids every fetch: it is decoded and instantiated here instead, which
// works offline from disk as well as from a web server.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)
    .then(function (output) { receiveInstance(output['instance'], output['module']); });
  return {};
};
Module['onRuntimeInitialized'] = function () { startPage(); };
