// A link is a design: the keys that differ from their defaults, in the
// URL's fragment. Opening such a link shows that design.
import { defaults, keys, load, savedKeys } from "./design.js";

export function linkOf() {
  const base = defaults();
  const params = new URLSearchParams();
  const values = savedKeys() ?? keys();
  for (const [key, value] of Object.entries(values)) if (value !== base[key]) params.set(key, value);
  const url = new URL(location.href);
  url.hash = params.toString();
  return url.href;
}

// A link's design, or a French message; a bad link changes nothing.
export function openLink(hash) {
  const text = hash.replace(/^#/, "");
  if (text === "") return null;
  // No prototype: a key such as « __proto__ » stays a key, which the model refuses.
  const values = Object.create(null);
  for (const [key, value] of new URLSearchParams(text)) values[key] = value;
  const error = load(values);
  return error ? `Lien invalide : ${error}` : null;
}
