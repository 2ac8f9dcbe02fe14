// The model off the page's thread, for the calls that read a whole file:
// the page stays live while a spectrum of tens of megabytes is encoded and
// read. A module that traps is replaced before the next call.
import createKelvora from "./kelvora.js";
import { NO_MEMORY, base64, callModule } from "./modelcall.js";

let ready = createKelvora();

self.addEventListener("message", async ({ data: { id, name, args, bytes } }) => {
  let answer;
  try {
    if (bytes) args.octets = base64(new Uint8Array(bytes));
    answer = callModule(await ready, name, JSON.stringify(args));
  } catch (e) {
    if (!(e instanceof WebAssembly.RuntimeError || e instanceof RangeError)) throw e;
    ready = createKelvora();
    answer = NO_MEMORY;
  }
  postMessage({ id, answer });
});
