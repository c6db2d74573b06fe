// Writes the site's index.html: the template with the window the module
// describes already in it, so that a first visit shows the rows and takes
// typing while the module is still on its way.
//   node prerender.js <site> <index.html template>
"use strict";
const fs = require("fs");
const path = require("path");

const [site, template] = process.argv.slice(2);
const createQimbar = require(path.resolve(site, "qimbar.js"));

createQimbar({ wasmBinary: fs.readFileSync(path.join(site, "qimbar.wasm")) }).then((module) => {
  const description = createQimbar.describe(module);
  const html = fs.readFileSync(template, "utf8");
  const empty = '<main id="Form1"></main>';
  if (!html.includes(empty)) {
    throw new Error(`${template} has no ${empty}`);
  }
  const window = createQimbar.render(description);
  fs.writeFileSync(path.join(site, "index.html"), html.replace(empty, () => window));
}).catch((error) => {
  console.error(`prerender: ${error.message}`);
  process.exit(1);
});
