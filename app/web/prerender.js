// Writes the site's index.html: the template with the page the module
// describes already in it, so that a first visit shows the rows and takes
// typing while the module is still on its way; and the security policy that
// allows the page's own inline script and style sheet by their hashes.
//   node prerender.js <site> <index.html template>
"use strict";
const crypto = require("crypto");
const fs = require("fs");
const path = require("path");

const [site, template] = process.argv.slice(2);
const createQimbar = require(path.resolve(site, "qimbar.js"));

const hash = (text) => `'sha256-${crypto.createHash("sha256").update(text).digest("base64")}'`;
function inline(html, tag) {
  const found = [...html.matchAll(new RegExp(`<${tag}>([^]*?)</${tag}>`, "g"))];
  if (found.length !== 1) {
    throw new Error(`${template} has ${found.length} inline <${tag}> elements, not one`);
  }
  return found[0][1];
}

createQimbar({ wasmBinary: fs.readFileSync(path.join(site, "qimbar.wasm")) }).then((module) => {
  const description = createQimbar.describe(module);
  let html = fs.readFileSync(template, "utf8");
  const empty = '<main id="Form1"></main>';
  if (!html.includes(empty) || !html.includes("@CSP@")) {
    throw new Error(`${template} has no ${empty} or no @CSP@`);
  }
  const { markup, style } = createQimbar.render(description);
  html = html.replace(empty, () => markup).replace("</style>", () => `${style}\n</style>`);
  const policy = [
    "default-src 'self'",
    `script-src 'self' 'wasm-unsafe-eval' ${hash(inline(html, "script"))}`,
    `style-src 'self' ${hash(inline(html, "style"))}`,
    "object-src 'none'",
    "base-uri 'none'",
  ].join("; ");
  fs.writeFileSync(path.join(site, "index.html"), html.replace("@CSP@", () => policy));
}).catch((error) => {
  console.error(`prerender: ${error.message}`);
  process.exit(1);
});
