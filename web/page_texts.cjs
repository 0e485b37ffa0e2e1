// Writes the page's catalogues as a script of the site: for each language,
// every text of its compiled catalogue (German text to translation), so that
// the page labels its buttons in that language before the program starts,
// offline too.
//   node page_texts.cjs OUT.js en=en.mo fr=fr.mo ...
'use strict';
const fs = require('fs');

// A compiled catalogue: the magic number, the count of texts, where the
// table of the German texts and that of the translations start; each table
// a length and an offset per text.
function readCatalogue(file) {
  const bytes = fs.readFileSync(file);
  let read = bytes.readUInt32LE.bind(bytes);
  if (read(0) !== 0x950412de) read = bytes.readUInt32BE.bind(bytes);
  if (read(0) !== 0x950412de) throw new Error(`${file} is no compiled catalogue`);
  const count = read(8);
  const [ids, translations] = [read(12), read(16)];
  const text = (table, i) => {
    const length = read(table + 8 * i);
    const at = read(table + 8 * i + 4);
    return bytes.toString('utf8', at, at + length);
  };
  const texts = {};
  for (let i = 0; i < count; i++) {
    const id = text(ids, i);
    if (id !== '') texts[id] = text(translations, i);
  }
  return texts;
}

const [out, ...languages] = process.argv.slice(2);
const catalogues = {};
for (const pair of languages) {
  const [language, file] = pair.split('=');
  catalogues[language] = readCatalogue(file);
}
fs.writeFileSync(out, '// Made from po/ by web/page_texts.cjs at build time.\n' +
                          `var CATALOGUES = ${JSON.stringify(catalogues)};\n`);
