// The web side of the differential test: the same presses as press_corpus,
// through the web page's own module (build/web/site), under node.
//   node press_corpus.js run <site> <corpus> <hashes>
//   node press_corpus.js show <site> <corpus> <index>
"use strict";
const fs = require("fs");
const path = require("path");

const [command, site, corpusFile, last] = process.argv.slice(2);

function readCorpus(file) {
  const bytes = fs.readFileSync(file);
  const texts = [];
  for (let at = 0; at + 4 <= bytes.length;) {
    const length = bytes.readUInt32LE(at);
    texts.push(bytes.subarray(at + 4, at + 4 + length));
    at += 4 + length;
  }
  return texts;
}

// FNV-1a, 64 bits, as the native side computes it, in two 32-bit halves:
// the prime is 2^40 + 435.
class Hash {
  constructor() {
    this.high = 0xcbf29ce4;
    this.low = 0x84222325;
  }
  add(bytes) {
    let { high, low } = this;
    for (const byte of bytes) {
      low = (low ^ byte) >>> 0;
      const product = low * 435;  // exact: below 2^41
      const carry = Math.floor(product / 4294967296);
      high = (Math.imul(high, 435) + carry + (low << 8)) >>> 0;
      low = product >>> 0;
    }
    this.high = high;
    this.low = low;
  }
  get value() {
    return (BigInt(this.high) << 32n) | BigInt(this.low);
  }
}

function lengthOf(size) {
  const out = Buffer.alloc(4);
  out.writeUInt32LE(size);
  return out;
}

const old = Buffer.from("old");

(async () => {
  const createQimbar = require(path.resolve(site, "qimbar.js"));
  // The wasm handed over whole: node's own fetch cannot read a path.
  const module = await createQimbar({ wasmBinary: fs.readFileSync(path.join(site, "qimbar.wasm")) });
  const description = createQimbar.describe(module);
  const rowsOf = [];
  for (const control of description.controls) {
    if (control.kind === "box" && control.page !== 0) {
      rowsOf[control.page] = Math.max(rowsOf[control.page] || 0, control.row);
    }
  }

  // One press through the page's own code; what it leaves, as the native
  // side writes it.
  function press(text, page, row) {
    const inputs = [];
    for (let r = 1; r <= rowsOf[page]; r += 1) {
      inputs.push(r === row ? text : old);
    }
    const { message, written } = createQimbar.press(module, page, row, inputs);
    const boxes = inputs.map((bytes, index) => written[index] ?? bytes);
    const record = [Buffer.from([page, row]), lengthOf(message.length), message];
    for (const box of boxes) {
      record.push(lengthOf(box.length), box);
    }
    const shown = { message: Buffer.from(message).toString(),
                    boxes: boxes.map((box, index) => (index + 1 === row ? "(source)" : Buffer.from(box).toString())) };
    return { record: Buffer.concat(record), shown };
  }

  const texts = readCorpus(corpusFile);
  if (command === "run") {
    const hashes = Buffer.alloc(8 * texts.length);
    const all = new Hash();
    texts.forEach((text, index) => {
      const one = new Hash();
      for (let page = 1; page < rowsOf.length; page += 1) {
        for (let row = 1; row <= rowsOf[page]; row += 1) {
          one.add(press(text, page, row).record);
        }
      }
      hashes.writeBigUInt64LE(one.value, 8 * index);
      all.add(hashes.subarray(8 * index, 8 * index + 8));
    });
    fs.writeFileSync(last, hashes);
    console.log(`${texts.length} texts, ${texts.length * rowsOf.reduce((sum, rows) => sum + (rows || 0), 0)} presses, hash ${all.value.toString(16).padStart(16, "0")}`);
  } else if (command === "show") {
    const text = texts[Number(last)];
    for (let page = 1; page < rowsOf.length; page += 1) {
      for (let row = 1; row <= rowsOf[page]; row += 1) {
        const { shown } = press(text, page, row);
        console.log(`page ${page} row ${row}: ${shown.message} | ${shown.boxes.join(" ")}`);
      }
    }
  } else {
    console.error("usage: node press_corpus.js run <site> <corpus> <hashes> | show <site> <corpus> <index>");
    process.exitCode = 2;
  }
})();
