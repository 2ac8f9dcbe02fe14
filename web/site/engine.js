// The model, compiled to WebAssembly: one call by name, JSON in and out.
// The calculator's own small module comes first, for the first page; the
// whole model follows and then answers every call.
import createCalculateur from "./kelvora-calculateur.js";
import { NO_MEMORY, callModule } from "./modelcall.js";

let calculator = null;
let model = null;

export async function loadCalculator() {
  calculator = await createCalculateur();
}

export async function load() {
  const { default: createKelvora } = await import("./kelvora.js");
  model = await createKelvora();
}

// A module that traps (out of memory mid-call) is not trusted again: a new
// one takes its place, and the call says why it gave nothing.
function replaceModel() {
  model = null;
  load().catch(() => {});
}

export function call(name, args = {}) {
  let answer;
  try {
    answer = callModule(model ?? calculator, name, JSON.stringify(args));
  } catch (e) {
    if (!(e instanceof WebAssembly.RuntimeError || e instanceof RangeError)) throw e;
    if (model) replaceModel();
    answer = NO_MEMORY;
  }
  return JSON.parse(answer);
}
