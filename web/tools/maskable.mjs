// Writes the game's icon as a maskable one: the icon at 70 % in the middle of a square of the
// tile's own dark blue, so that whatever shape a launcher cuts (its safe zone is the middle
// circle of 80 %) the whole maze shows and nothing is left transparent.
//
//     node maskable.mjs ICON.svg OUT.svg
import fs from 'node:fs';

const [from, to] = process.argv.slice(2);
const icon = fs.readFileSync(from, 'utf8').replace(/<\?xml[^>]*\?>\s*/, '');
const size = icon.match(/viewBox="0 0 (\d+) (\d+)"/);
if (!size) throw new Error(`${from}: no viewBox "0 0 W H"`);
const [w, h] = [Number(size[1]), Number(size[2])];
const inner = icon.replace(/<svg\b[^>]*>/, (tag) => tag
    .replace(/\s(width|height|x|y)="[^"]*"/g, '')
    .replace('<svg', `<svg x="${0.15 * w}" y="${0.15 * h}" width="${0.7 * w}" height="${0.7 * h}"`));
fs.writeFileSync(to, `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" ` +
    `viewBox="0 0 ${w} ${h}"><rect width="${w}" height="${h}" fill="#2e4a7a"/>${inner}</svg>\n`);
