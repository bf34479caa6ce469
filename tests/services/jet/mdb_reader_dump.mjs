// Prints the table names of an Access file and the rows of one table as JSON, read by the
// independent mdb-reader package. Usage: node mdb_reader_dump.mjs NODE_MODULES FILE TABLE
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import path from "node:path";

const [modules, file, table] = process.argv.slice(2);
const { default: MDBReader } = await import(
  pathToFileURL(path.join(modules, "mdb-reader", "lib", "node", "index.js")).href
);
const reader = new MDBReader(readFileSync(file));
const rows = reader.getTable(table).getData();
process.stdout.write(JSON.stringify({ tables: reader.getTableNames(), rows }));
