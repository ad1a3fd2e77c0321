// A small helper to build elements: el('button', {class: 'x', onclick}, 'text').
type Attrs = Record<string, string | number | boolean | ((e: Event) => void) | undefined>;

export function el<K extends keyof HTMLElementTagNameMap>(tag: K, attrs: Attrs = {}, ...children: (Node | string | null | undefined | false)[]): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  for (const [key, value] of Object.entries(attrs)) {
    if (value === undefined || value === false) continue;
    if (typeof value === 'function') e.addEventListener(key.replace(/^on/, ''), value as EventListener);
    else if (value === true) e.setAttribute(key, '');
    else e.setAttribute(key, String(value));
  }
  for (const child of children) if (child) e.append(child);
  return e;
}

export function clear(node: Element): void {
  while (node.firstChild) node.firstChild.remove();
}
