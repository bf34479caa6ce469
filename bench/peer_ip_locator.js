// The lib-qqwry side of bench_ip_locator: times the package in its fastest mode (the whole
// file in memory) on the given database and addresses, and prints one line of JSON:
// {"lookupsPerSecond": N, "passMilliseconds": M} where the pass creates a locator and looks up
// the first PASS_ROWS addresses.
// Usage: node peer_ip_locator.js PACKAGE_DIR DATABASE ADDRESS_FILE PASS_ROWS ROUNDS
'use strict';
const fs = require('fs');
const path = require('path');

const [packageDir, database, addressFile, passRowsText, roundsText] = process.argv.slice(2);
const libqqwry = require(path.resolve(packageDir));
const addresses = fs.readFileSync(addressFile, 'utf8').split('\n').filter((a) => a.length > 0);
const passRows = Number(passRowsText);
const rounds = Number(roundsText);

function seconds(start) {
  return Number(process.hrtime.bigint() - start) / 1e9;
}

let sink = 0;
const locator = libqqwry(true, database);
for (let i = 0; i < Math.min(addresses.length, 20000); ++i) {
  sink += locator.searchIP(addresses[i]).Country.length;  // warm-up
}
let best = Infinity;
for (let round = 0; round < rounds; ++round) {
  const start = process.hrtime.bigint();
  for (const address of addresses) {
    const found = locator.searchIP(address);
    sink += found.Country.length + found.Area.length;
  }
  best = Math.min(best, seconds(start));
}

let bestPass = Infinity;
for (let round = 0; round < rounds; ++round) {
  const start = process.hrtime.bigint();
  const passLocator = libqqwry(true, database);
  for (let i = 0; i < passRows && i < addresses.length; ++i) {
    const found = passLocator.searchIP(addresses[i]);
    sink += found.Country.length + found.Area.length;
  }
  bestPass = Math.min(bestPass, seconds(start));
}

process.stdout.write(JSON.stringify({
  lookupsPerSecond: addresses.length / best,
  passMilliseconds: bestPass * 1000,
  sink,
}) + '\n');
