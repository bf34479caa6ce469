// Reads one address per line from standard input and prints, per address, the country and the
// area the lib-qqwry package finds, each as hexadecimal UTF-8 bytes: "COUNTRY AREA".
// Usage: node peer_locator.js PACKAGE_DIR < addresses
'use strict';
const fs = require('fs');
const path = require('path');

const packageDir = process.argv[2];
const libqqwry = require(path.resolve(packageDir));
const locator = libqqwry(true, path.join(packageDir, 'data', 'qqwry.dat'));

const lines = fs.readFileSync(0, 'utf8').split('\n').filter((line) => line.length > 0);
const out = [];
for (const line of lines) {
  const found = locator.searchIP(line);
  const hex = (text) => Buffer.from(text || '', 'utf8').toString('hex');
  out.push(hex(found.Country) + ' ' + hex(found.Area));
}
process.stdout.write(out.join('\n') + '\n');
