// The proposer's search, off the page's thread: the page stays live, shows
// each step the model posts, and stops a search by ending this worker.
import createKelvora from "./kelvora.js";

const ready = createKelvora();

self.addEventListener("message", async (event) => {
  const model = await ready;
  const answer = model.ccall("kv_call", "string", ["string", "string"], ["propose", JSON.stringify(event.data)]);
  postMessage({ fin: JSON.parse(answer) });
});
