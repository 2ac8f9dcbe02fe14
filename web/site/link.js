// A link is a design: the keys that differ from their defaults, in the
// URL's fragment. Opening such a link shows that design.
import { defaults, keys, load } from "./design.js";

export function linkOf() {
  const base = defaults();
  const params = new URLSearchParams();
  for (const [key, value] of Object.entries(keys())) if (value !== base[key]) params.set(key, value);
  const url = new URL(location.href);
  url.hash = params.toString();
  return url.href;
}

// A link's design, or a French message; a bad link changes nothing.
export function openLink(hash) {
  const text = hash.replace(/^#/, "");
  if (text === "") return null;
  const values = {};
  const known = defaults();
  for (const [key, value] of new URLSearchParams(text)) {
    if (!(key in known)) return `Lien invalide : la clé « ${key} » n'existe pas.`;
    values[key] = value;
  }
  const error = load(values);
  return error ? `Lien invalide : ${error}` : null;
}
