// Runs before the program (--pre-js): tavero.wasm must be the one linked with this tavero.js.
// A browser's HTTP cache can hand out an earlier build's tavero.wasm beside a new tavero.js;
// the two together fail in ways no user can read. The build writes tavero.wasm's SHA-256 in
// place of the mark below; on a mismatch tavero.wasm is fetched again from the network.
Module["instantiateWasm"] = (imports, receiveInstance) => {
  const expected = "@TAVERO_WASM_SHA256@";
  const fetchProgram = async (mode) => {
    const response = await fetch("tavero.wasm", { cache: mode });
    if (!response.ok) throw new Error(`tavero.wasm: ${response.status} ${response.statusText}`);
    return response.arrayBuffer();
  };
  const digest = async (bytes) => Array.from(new Uint8Array(await crypto.subtle.digest("SHA-256", bytes)),
                                             (byte) => byte.toString(16).padStart(2, "0")).join("");
  (async () => {
    let bytes = await fetchProgram("default");
    // crypto.subtle is there only in a secure context (HTTPS, localhost): elsewhere, unchecked.
    if (globalThis.crypto && crypto.subtle && await digest(bytes) !== expected) {
      bytes = await fetchProgram("reload");
      if (await digest(bytes) !== expected)
        throw new Error("the site holds a tavero.wasm of another build than its tavero.js; " +
                        "reload the page once the site is whole");
    }
    const { instance, module } = await WebAssembly.instantiate(bytes, imports);
    receiveInstance(instance, module);
  })().catch((error) => abort(`TAVERO could not start: ${error.message || error}`));
  return {};
};
