// Reads every .kifu record in a folder with the public KIF reader and checks that its lines of play
// are the ones listed beside it in NAME.lines: one line per line of play, its moves from the start as
// USI squares without the promotion mark ("7g7f 3c3d"). Prints each difference; exits 1 on any.
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";

const [folder, modules] = process.argv.slice(2);
const require = createRequire(path.join(modules, "x.js"));
const { importKIF, Move } = require("tsshogi");

// The moves from the start to each place where a line of play stops.
function linesOf(record) {
  const lines = new Set();
  const walk = (node, before) => {
    for (let n = node; n; n = n.branch) {
      const moves = n.move instanceof Move ? [...before, n.move.usi.replace("+", "")] : before;
      if (n.next) walk(n.next, moves);
      else lines.add(moves.join(" "));
    }
  };
  if (record.first.next) walk(record.first.next, []);
  else lines.add("");
  return lines;
}

let failures = 0, records = 0;
for (const name of fs.readdirSync(folder).filter((f) => f.endsWith(".kifu")).sort()) {
  const record = importKIF(fs.readFileSync(path.join(folder, name), "utf-8"));
  if (record instanceof Error) {
    console.log(`${name}: not read: ${record.message}`);
    ++failures;
    continue;
  }
  const expected = new Set(
    fs.readFileSync(path.join(folder, name.replace(/\.kifu$/, ".lines")), "utf-8").split("\n").filter((l, i, all) => i < all.length - 1),
  );
  const read = linesOf(record);
  for (const l of expected) if (!read.has(l)) { console.log(`${name}: line not read: ${l}`); ++failures; }
  for (const l of read) if (!expected.has(l)) { console.log(`${name}: line read that is not written: ${l}`); ++failures; }
  ++records;
}
console.log(`${records} records read, ${failures} differences`);
process.exit(failures === 0 && records > 0 ? 0 : 1);
