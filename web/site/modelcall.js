// One call into a module: the name and the JSON arguments copied onto the
// module's heap, which grows as needed. (ccall would put them on the
// 5 MB stack, which a large file overruns, leaving the module broken.)
function onHeap(module, text) {
  const size = module.lengthBytesUTF8(text) + 1;
  const at = module._malloc(size);
  if (at) module.stringToUTF8(text, at, size);
  return at;
}

export const NO_MEMORY = JSON.stringify({ erreur: "mémoire insuffisante pour ce calcul" });

export function callModule(module, name, argsText) {
  const namePtr = onHeap(module, name);
  const argsPtr = onHeap(module, argsText);
  try {
    if (!namePtr || !argsPtr) return NO_MEMORY;
    return module.UTF8ToString(module._kv_call(namePtr, argsPtr));
  } finally {
    if (namePtr) module._free(namePtr);
    if (argsPtr) module._free(argsPtr);
  }
}

// A file's bytes as base64, a block at a time (no spread of a huge array).
export function base64(bytes) {
  let text = "";
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
}
