// The page keeps the user's work across a closed tab: the calculator's
// fields, the design when it is the user's own, and the page shown. A
// browser that refuses storage (private mode, full) keeps nothing, silently.
const KEY = "kelvora-travail";

export function recall() {
  try {
    const work = JSON.parse(localStorage.getItem(KEY) ?? "null");
    return work && typeof work === "object" ? work : null;
  } catch {
    return null;
  }
}

export function keep(work) {
  try {
    localStorage.setItem(KEY, JSON.stringify(work));
  } catch {
    // Nothing to do: the work stays on the page as long as the tab is open.
  }
}

export function forget() {
  try {
    localStorage.removeItem(KEY);
  } catch {
    // As above.
  }
}
