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

// The calls that read a whole file run in a worker of their own, one at a
// time, in the order asked; `bytes` (an ArrayBuffer) is handed over, not
// copied, and sent to the model as base64 « octets ».
let worker = null;
let asked = 0;
const waiting = new Map();

function startWorker() {
  const w = new Worker("model-worker.js", { type: "module" });
  w.onmessage = ({ data }) => {
    waiting.get(data.id)?.(JSON.parse(data.answer));
    waiting.delete(data.id);
  };
  // A worker that dies answers every call it held, and the next starts anew.
  w.onerror = () => {
    worker = null;
    for (const resolve of waiting.values()) resolve(JSON.parse(NO_MEMORY));
    waiting.clear();
  };
  return w;
}

export function callOff(name, args = {}, bytes = null) {
  worker ??= startWorker();
  const id = ++asked;
  return new Promise((resolve) => {
    waiting.set(id, resolve);
    worker.postMessage({ id, name, args, bytes }, bytes ? [bytes] : []);
  });
}
