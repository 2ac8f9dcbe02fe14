// The model, compiled to WebAssembly: one call by name, JSON in and out.
// The calculator's own small module comes first, for the first page; the
// whole model follows and then answers every call.
import createCalculateur from "./kelvora-calculateur.js";

let calculator = null;
let model = null;

export async function loadCalculator() {
  calculator = await createCalculateur();
}

export async function load() {
  const { default: createKelvora } = await import("./kelvora.js");
  model = await createKelvora();
}

export function call(name, args = {}) {
  const answer = (model ?? calculator).ccall("kv_call", "string", ["string", "string"], [name, JSON.stringify(args)]);
  return JSON.parse(answer);
}
