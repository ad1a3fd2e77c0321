// Builds the web client into a folder the server serves: the script and the
// style sheet under names that carry a hash of their content, the card
// pictures, the manifest and icon, an index.html that names them, and a gzip
// copy of each. The texts the window and the browser share (the table's
// news, refusals, statuses) come from the window's translations, so that the
// two never say a thing differently.
//   node build.mjs OUT --art ART_FOLDER --translations FILE.ts [--tests]
import { build } from 'esbuild';
import { createHash } from 'node:crypto';
import { mkdirSync, readFileSync, writeFileSync, copyFileSync, readdirSync, rmSync, existsSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? args[i + 1] : fallback;
};
const out = args[0] && !args[0].startsWith('--') ? args[0] : join(here, 'dist');
const art = option('--art', null);
const translations = option('--translations', join(here, '..', 'resources', 'translations', 'zarv_fa.ts'));

// The contexts of the window's texts that the browser says too.
const sharedContexts = ['TableWords', 'EngineTexts', 'StatusWords', 'WatchNews', 'TableStatus'];

function unescapeXml(text) {
  return text.replace(/<byte value="x([0-9a-fA-F]+)"\/>/g, (_, h) => String.fromCodePoint(parseInt(h, 16))).replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&apos;/g, "'")
    .replace(/&#x([0-9a-fA-F]+);/g, (_, h) => String.fromCodePoint(parseInt(h, 16)))
    .replace(/&#([0-9]+);/g, (_, d) => String.fromCodePoint(parseInt(d, 10))).replace(/&amp;/g, '&');
}

export function sharedWords(tsText) {
  const words = {};
  for (const context of tsText.split('<context>').slice(1)) {
    const name = /<name>([^<]*)<\/name>/.exec(context)?.[1];
    if (!sharedContexts.includes(name)) continue;
    for (const m of context.matchAll(/<source>([\s\S]*?)<\/source>[\s\S]*?<translation(?: type="[^"]*")?>([\s\S]*?)<\/translation>/g)) {
      const source = unescapeXml(m[1]);
      const farsi = unescapeXml(m[2]);
      if (farsi) words[source] = farsi;
    }
  }
  return words;
}

const hash = (bytes) => createHash('sha256').update(bytes).digest('hex').slice(0, 12);

async function bundle(entry, extra = {}) {
  const result = await build({
    entryPoints: [entry], bundle: true, minify: true, write: false, format: 'esm', target: 'es2020',
    sourcemap: false, legalComments: 'none', ...extra,
  });
  return result.outputFiles[0].contents;
}

async function main() {
  if (args.includes('--tests')) {
    // The client's own logic, for Node's test runner.
    mkdirSync(join(here, 'test', 'built'), { recursive: true });
    for (const name of ['state', 'words', 'layout', 'cards', 'account_panel', 'review_panel', 'table_status']) {
      const js = await bundle(join(here, 'src', `${name}.ts`), { minify: false, platform: 'node',
        define: { SHARED_WORDS: JSON.stringify(sharedWords(readFileSync(translations, 'utf8'))) } });
      writeFileSync(join(here, 'test', 'built', `${name}.js`), js);
    }
    return;
  }
  rmSync(out, { recursive: true, force: true });
  mkdirSync(out, { recursive: true });
  const files = {};
  const put = (name, bytes) => {
    writeFileSync(join(out, name), bytes);
    files[name] = bytes;
  };
  const shared = sharedWords(readFileSync(translations, 'utf8'));
  const look = art ? JSON.parse(readFileSync(join(art, 'look.json'), 'utf8')) : null;
  if (art) {
    const cards = readFileSync(join(art, 'cards.png'));
    put(`cards-${hash(cards)}.png`, cards);
  }
  const cardsName = Object.keys(files).find((n) => n.startsWith('cards-')) ?? '';
  const js = await bundle(join(here, 'src', 'main.ts'), {
    define: { SHARED_WORDS: JSON.stringify(shared), CARDS_PICTURE: JSON.stringify(cardsName), LOOK: JSON.stringify(look) },
  });
  const jsName = `app-${hash(js)}.js`;
  put(jsName, js);
  let css = readFileSync(join(here, 'src', 'style.css'), 'utf8');
  if (look) css = css.replace('--felt: #346136', `--felt: ${look.felt}`).replace('--seat-a: #96201d', `--seat-a: ${look.seatA}`)
    .replace('--seat-b: #0f4382', `--seat-b: ${look.seatB}`);
  if (cardsName) css = css.replaceAll('CARDS_PICTURE', cardsName);
  const cssBytes = Buffer.from((await build({ stdin: { contents: css, loader: 'css' }, minify: true, write: false })).outputFiles[0].contents);
  const cssName = `app-${hash(cssBytes)}.css`;
  put(cssName, cssBytes);
  for (const name of readdirSync(join(here, 'static'))) {
    if (name === 'index.html' || name === 'manifest.webmanifest') continue;
    put(name, readFileSync(join(here, 'static', name)));
  }
  // The home screen's pictures, painted with the cards, and named in the manifest.
  const manifest = JSON.parse(readFileSync(join(here, 'static', 'manifest.webmanifest'), 'utf8'));
  for (const [picture, sizes, purpose] of [['icon-192.png', '192x192', 'any'], ['icon-512.png', '512x512', 'any'],
    ['icon-maskable-512.png', '512x512', 'maskable']]) {
    if (!art || !existsSync(join(art, picture))) continue;
    put(picture, readFileSync(join(art, picture)));
    manifest.icons.push({ src: picture, sizes, type: 'image/png', purpose });
  }
  put('manifest.webmanifest', Buffer.from(`${JSON.stringify(manifest, null, 2)}\n`));
  const index = readFileSync(join(here, 'static', 'index.html'), 'utf8').replace('APP_JS', jsName).replace('APP_CSS', cssName)
    .replace('APPLE_ICON', files['icon-192.png'] ? 'icon-192.png' : 'icon.svg');
  put('index.html', Buffer.from(index));
  for (const [name, bytes] of Object.entries(files)) {
    if (!name.endsWith('.png')) writeFileSync(join(out, `${name}.gz`), gzipSync(bytes, { level: 9 }));
  }
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  main().catch((e) => {
    console.error(e.message ?? e);
    process.exit(1);
  });
}
