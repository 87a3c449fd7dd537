// Turns the staged files of the page into the site that is served: every file but the page and
// the service worker renamed after its content (so a browser may keep it for good), the names
// rewritten wherever another file mentions them, the worker told the build's name and files, and
// a gzip and a brotli copy beside every file for servers that send precompressed files.
//
//     node publish.mjs SITE_DIR FILE...   (the page, index.html, and sw.js among the files)
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const PAGE = 'index.html';
const WORKER = 'sw.js';
const TEXT = new Set(['.html', '.css', '.js', '.webmanifest', '.svg', '.txt']);
// The worker's source holds this line; the build's own takes its place.
const WORKER_BUILD = /^const BUILD = \{.*\};$/m;

const [site, ...sources] = process.argv.slice(2);
if (!site || sources.length === 0) {
    console.error('usage: node publish.mjs SITE_DIR FILE...');
    process.exit(2);
}

const digest = (data) => crypto.createHash('sha256').update(data).digest('hex');
const hashedName = (name, data) => {
    const ext = path.extname(name);
    return `${name.slice(0, -ext.length)}.${digest(data).slice(0, 10)}${ext}`;
};
const escape = (s) => s.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
// A name counts only whole: "page.js" is not inside "mypage.js" or "page.json".
const mention = (name) => new RegExp(`(?<![\\w.-])${escape(name)}(?![\\w-])`, 'g');

const files = new Map(); // staged name -> contents
for (const source of sources) {
    const name = path.basename(source);
    if (files.has(name)) throw new Error(`two files are named ${name}`);
    files.set(name, fs.readFileSync(source));
}
for (const needed of [PAGE, WORKER]) {
    if (!files.has(needed)) throw new Error(`${needed} is not among the files`);
}
const isText = (name) => TEXT.has(path.extname(name));
const mentions = (name) => [...files.keys()].filter((other) =>
    other !== name && other !== WORKER && isText(name) && mention(other).test(files.get(name).toString()));

// A file is renamed once every file it mentions has its final name; a loop of mentions could
// never be named, and is an error.
const finalName = new Map(); // staged name -> served name
const output = new Map(); // served name -> contents
const rewrite = (name) => {
    let text = files.get(name).toString();
    for (const other of mentions(name)) text = text.replace(mention(other), finalName.get(other));
    return isText(name) ? Buffer.from(text) : files.get(name);
};
const pending = new Set([...files.keys()].filter((n) => n !== PAGE && n !== WORKER));
while (pending.size > 0) {
    const ready = [...pending].filter((n) => mentions(n).every((m) => finalName.has(m)));
    if (ready.length === 0) throw new Error(`these files mention each other: ${[...pending].join(', ')}`);
    for (const name of ready) {
        const data = rewrite(name);
        finalName.set(name, hashedName(name, data));
        output.set(finalName.get(name), data);
        pending.delete(name);
    }
}
const page = rewrite(PAGE);
output.set(PAGE, page);

// The build is named after every file it serves, so any change makes a new cache; the page's
// own digest lets the worker refuse a page of another build while it fills that cache.
const served = [...output.keys()].sort();
const build = {
    id: digest(served.map((n) => `${n}\n${digest(output.get(n))}\n`).join('')).slice(0, 16),
    page: digest(page),
    files: served.filter((n) => n !== PAGE),
};
const worker = files.get(WORKER).toString();
if (!WORKER_BUILD.test(worker)) throw new Error(`${WORKER} has no "const BUILD = {...};" line`);
output.set(WORKER, Buffer.from(worker.replace(WORKER_BUILD, `const BUILD = ${JSON.stringify(build)};`)));

fs.rmSync(site, { recursive: true, force: true });
fs.mkdirSync(site, { recursive: true });
for (const [name, data] of output) {
    const file = path.join(site, name);
    fs.writeFileSync(file, data);
    fs.writeFileSync(`${file}.gz`, zlib.gzipSync(data, { level: 9 }));
    fs.writeFileSync(`${file}.br`, zlib.brotliCompressSync(data, {
        params: {
            [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
            [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length,
        },
    }));
}
console.log(`build ${build.id}: ${output.size} files`);
