// The proposer's search, off the page's thread: the page stays live, shows
// each step the model posts, and stops a search by ending this worker.
import createKelvora from "./kelvora.js";
import { callModule } from "./modelcall.js";

const ready = createKelvora();

self.addEventListener("message", async (event) => {
  const model = await ready;
  const answer = callModule(model, "propose", JSON.stringify(event.data));
  postMessage({ fin: JSON.parse(answer) });
});
