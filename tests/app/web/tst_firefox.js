#!/usr/bin/env node
// The page in Debian's Firefox ESR, headless, over Marionette (its own
// protocol: "length:json" frames), with keys sent as WebDriver actions through
// the browser's input pipeline. What Chromium's suite cannot show of Gecko.
//   tst_firefox.js <site>
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const net = require("net");
const os = require("os");
const path = require("path");

const site = process.argv[2];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function firefox() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "qimbar-firefox-"));
  // Port 0: Firefox picks one and writes it into the profile.
  fs.writeFileSync(path.join(profile, "user.js"), 'user_pref("marionette.port", 0);\n');
  const child = spawn(process.env.QIMBAR_FIREFOX || "firefox-esr",
    ["--headless", "--marionette", "--no-remote", "--profile", profile], { stdio: "ignore" });
  const portFile = path.join(profile, "MarionetteActivePort");
  for (let i = 0; i < 300 && !fs.existsSync(portFile); i += 1) await sleep(100);
  const socket = net.connect(Number(fs.readFileSync(portFile, "utf8")), "127.0.0.1");
  let buffer = Buffer.alloc(0);
  const frames = [];
  let wake = () => {};
  socket.on("data", (chunk) => {
    buffer = Buffer.concat([buffer, chunk]);
    for (let colon; (colon = buffer.indexOf(":")) > 0;) {
      const length = Number(buffer.subarray(0, colon).toString());
      if (buffer.length < colon + 1 + length) break;
      frames.push(JSON.parse(buffer.subarray(colon + 1, colon + 1 + length).toString()));
      buffer = buffer.subarray(colon + 1 + length);
      wake();
    }
  });
  const next = async () => {
    while (frames.length === 0) await new Promise((resolve) => { wake = resolve; });
    return frames.shift();
  };
  await next();  // the greeting
  let id = 0;
  const send = async (name, params = {}) => {
    id += 1;
    const message = Buffer.from(JSON.stringify([0, id, name, params]));
    socket.write(`${message.length}:`);
    socket.write(message);
    const [, , error, result] = await next();
    if (error) throw new Error(`${name}: ${error.message}`);
    return result;
  };
  await send("WebDriver:NewSession", {});
  return {
    send,
    evaluate: async (script) => (await send("WebDriver:ExecuteScript",
      { script: `return ${script}`, args: [] })).value,
    // WebDriver's key values: "\uE014" is ArrowRight, "\uE004" Tab, "\uE007" Enter, "\uE00C" Escape.
    keys: (...keys) => send("WebDriver:PerformActions", { actions: [{ type: "key", id: "keyboard",
      actions: keys.flatMap((value) => [{ type: "keyDown", value }, { type: "keyUp", value }]) }] }),
    close: () => { socket.destroy(); child.kill(); },
  };
}

(async () => {
  const server = spawn(process.execPath, [path.join(__dirname, "../../../tools/serve-web"), site, "0"]);
  const url = await new Promise((resolve) => server.stdout.once("data", (d) => resolve(d.toString().trim())));
  const browser = await firefox();
  let passed = 0;
  let failed = 0;
  const check = (name, ok, detail) => {
    console.log(`${ok ? "ok" : "FAIL"}: ${name}${ok ? "" : ` (${JSON.stringify(detail)})`}`);
    ok ? (passed += 1) : (failed += 1);
  };
  // Waits, `tries` times 50 ms at most, for an expression to be true in the page.
  const until = async (expression, tries) => {
    for (let i = 0; i < tries && !(await browser.evaluate(expression)); i += 1) {
      await sleep(50);
    }
  };
  const open = async () => {
    await browser.send("WebDriver:Navigate", { url });
    await until("'ready' in document.getElementById('Form1').dataset", 100);
  };
  // The page's own moves of the focus wait for a screen reader to settle.
  const focusOn = (id) => until(`document.activeElement.id === '${id}'`, 40);
  try {
    await open();
    await focusOn("tab-3");
    const ring = () => browser.evaluate(
      "[document.activeElement.id, document.activeElement.matches(':focus-visible')]");
    let [focused, visible] = await ring();
    check("at load the focus is on the start tab, with no ring", focused === "tab-3" && !visible, [focused, visible]);
    await browser.keys("\uE014");
    [focused, visible] = await ring();
    check("a key moves it along the strip, and the ring shows", focused === "tab-4" && visible, [focused, visible]);

    // A wrong number: the message's button takes the focus, described by the
    // message alone; closed, the focus is in the box at fault, its text selected.
    await open();
    await browser.evaluate("document.getElementById('Text29').focus() || true");
    await browser.keys("a", "b", "c", "\uE004", "\uE007");  // Tab to its button, Enter
    await focusOn("message-ok");
    const shown = await browser.evaluate(`[document.getElementById('message').open,
      document.activeElement.id, document.getElementById(document.activeElement
        .getAttribute('aria-describedby'))?.textContent, document.getElementById('message')
        .querySelectorAll('[tabindex], h1, h2, h3, #message-text:not([aria-hidden=true])').length]`);
    check("the message opens on its button, which the message describes",
      shown[0] && shown[1] === "message-ok" && /^Kub metr: /.test(shown[2]) && shown[3] === 0, shown);
    await browser.keys("\uE00C");
    const after = await browser.evaluate(`[document.getElementById('message').open,
      document.activeElement.id, (e => e.value.slice(e.selectionStart, e.selectionEnd))(document.activeElement)]`);
    check("closed, the focus is in the box at fault with its text selected",
      !after[0] && after[1] === "Text29" && after[2] === "abc", after);
  } catch (error) {
    check("the run", false, error.message);
  } finally {
    browser.close();
    server.kill();
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 && passed > 0 ? 0 : 1);
})();
