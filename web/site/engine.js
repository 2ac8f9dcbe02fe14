// The model, compiled to WebAssembly: one call by name, JSON in and out.
import createKelvora from "./kelvora.js";

let module = null;

export async function load() {
  module = await createKelvora();
}

export function call(name, args = {}) {
  const answer = module.ccall("kv_call", "string", ["string", "string"], [name, JSON.stringify(args)]);
  return JSON.parse(answer);
}
