// The page: the window built from the description the module exports, and
// each press run by the module. Appended to the module's glue, which defines
// createQimbar; under node (the differential test, the build) only that is
// wanted.
(() => {
  "use strict";

  // One press through the module. `boxes`: the page's boxes in row order,
  // each the UTF-8 bytes of its text, or null where the page no longer has
  // the box. Returns the message shown (UTF-8, empty when the press
  // converted) with the row of the box at fault (0 for none), for each box
  // the bytes written into it or null, and what a press that converted
  // says; null when the module's memory ran out. The differential test presses through
  // this too.
  createQimbar.press = (module, page, row, boxes) => {
    const size = boxes.reduce((total, bytes) => total + 5 + (bytes ? bytes.length : 0), 0);
    const input = module._malloc(size);
    if (input === 0) {
      return null;
    }
    let at = input;
    let memory = module.HEAPU8;
    for (const bytes of boxes) {
      memory[at] = bytes ? 1 : 0;
      new DataView(memory.buffer).setUint32(at + 1, bytes ? bytes.length : 0, true);
      if (bytes) {
        memory.set(bytes, at + 5);
      }
      at += 5 + (bytes ? bytes.length : 0);
    }
    let out = module._qimbar_press(page, row, input);
    module._free(input);
    if (out === 0) {
      return null;
    }
    memory = module.HEAPU8;  // the memory may have grown
    const view = new DataView(memory.buffer);
    const messageLength = view.getUint32(out, true);
    const message = memory.slice(out + 4, out + 4 + messageLength);
    out += 4 + messageLength;
    const fault = view.getUint32(out, true);
    out += 4;
    const written = boxes.map(() => {
      const length = view.getUint32(out + 1, true);
      const bytes = memory[out] === 1 ? memory.slice(out + 5, out + 5 + length) : null;
      out += 5 + length;
      return bytes;
    });
    const summary = memory.slice(out + 4, out + 4 + view.getUint32(out, true));
    return { message, fault, written, summary };
  };

  const decoder = new TextDecoder();
  const encoder = new TextEncoder();

  // The description the module exports, with each control's pixel place.
  createQimbar.describe = (module) => {
    const pointer = module._qimbar_description();
    if (pointer === 0) {
      throw new Error("the module could not describe the window");
    }
    const memory = module.HEAPU8;
    return JSON.parse(decoder.decode(memory.subarray(pointer, memory.indexOf(0, pointer))));
  };

  const escapes = { "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" };
  const escape = (text) => String(text).replace(/[&<>"]/g, (c) => escapes[c]);

  function element(tag, attributes, content = "") {
    const listed = Object.entries(attributes)
      .filter(([, value]) => value !== undefined)
      .map(([name, value]) => (value === true ? ` ${name}` : ` ${name}="${escape(value)}"`))
      .join("");
    return tag === "input" ? `<input${listed}>` : `<${tag}${listed}>${content}</${tag}>`;
  }

  function fontOf(font) {
    return `${font.pixels}px ${font.faces.map((face) => `"${face}"`).join(", ")}, sans-serif`;
  }

  // Where the description puts each control, for the style sheet's wide
  // layout: rules of the page's own style sheet, since the page's security
  // policy allows no style attribute.
  function places(description) {
    const rules = description.controls.map((c) =>
      `#${c.name}{--left:${c.left}px;--top:${c.top}px;--width:${c.width}px;` +
      `--height:${c.height}px;--row:${c.row}}`);
    // A box's explanation stands below its page's last row, where it hides
    // no control a person may use next; on a phone, under its box.
    const find = (name) => description.controls.find((c) => c.name === name);
    description.rows.forEach((rows, index) => {
      const below = Math.max(...rows.map((row) => find(row.box).top + find(row.box).height)) + 6;
      const left = Math.min(...rows.map((row) => find(row.label).left));
      rules.push(`#page-${index + 1}>.about{--left:${left}px;--top:${below}px}`);
      for (const row of rows) {
        rules.push(`#${row.box}-about{--row:${find(row.box).row}}`);
      }
    });
    rules.push(`#Form1{--client-width:${description.clientWidth}px;` +
               `--client-height:${description.clientHeight}px;` +
               `--strip-height:${description.tabStripHeight}px;` +
               `--credit:${description.creditColour};` +
               `--window-font:${fontOf(description.windowFont)};` +
               `--label-font:${fontOf(description.labelFont)}}`);
    return rules.join("\n");
  }

  // The page as markup, on its start page, every box empty, and the rules
  // that place its controls. The build writes both into index.html, so the
  // rows are there to type into before the module has even arrived.
  createQimbar.render = (description) => {
    const start = description.startPage;
    const texts = description.texts;
    // Each page in reading order: each row's label, box and button, row 1
    // down; the style sheet puts them where the window has them.
    const panels = description.rows.map((rows, index) => element("div", {
      role: "tabpanel", id: `page-${index + 1}`, "aria-labelledby": `tab-${index + 1}`,
      class: "page", "data-page": index + 1, hidden: index + 1 !== start || undefined,
    }, rows.map((row, at) => [
      element("label", { id: row.label, for: row.box, title: row.explanation },
              escape(row.caption)),
      // Text, not the decimal pad: a phone's decimal pad types no exponent
      // ("1E-05", which the page itself writes), on some phones no minus,
      // and only its own locale's decimal sign.
      element("input", { id: row.box, type: "text", inputmode: "text", autocomplete: "off",
                         spellcheck: "false", autocapitalize: "off",
                         "aria-describedby": `${row.box}-about` }),
      element("span", { id: `${row.box}-about`, class: "about" }, escape(row.explanation)),
      element("button", { id: row.button, type: "button", "aria-label": row.buttonName,
                          "data-page": index + 1, "data-row": at + 1 }, escape(
        description.controls.find((c) => c.name === row.button).caption)),
    ].join("")).join(""))).join("");
    const tabs = description.tabs.map((caption, index) => element("button", {
      type: "button", role: "tab", id: `tab-${index + 1}`, "aria-controls": `page-${index + 1}`,
      "aria-selected": String(index + 1 === start), tabindex: index + 1 === start ? "0" : "-1",
    }, escape(caption))).join("");
    const strip = element("div", { role: "tablist", class: "strip", "aria-label": description.caption },
                          tabs);
    // The spare controls: on no page, in their places, never seen or reached.
    const spare = description.controls.filter((c) => c.page === 0 &&
                                                     (c.kind === "box" || c.kind === "button"))
      .map((c) => (c.kind === "box"
        ? element("input", { id: c.name, type: "text", tabindex: "-1" })
        : element("button", { id: c.name, type: "button", tabindex: "-1" }, escape(c.caption))))
      .join("");
    const tabsControl = description.controls.find((c) => c.kind === "tabs");
    const credit = description.controls.find((c) => c.kind === "label" && c.page === 0);
    const window = element("main", { id: "Form1", "data-page": start }, element(
      "div", { id: tabsControl.name, class: "tabs" },
      strip + panels + element("div", { class: "spare", "aria-hidden": "true" }, spare)) +
      element("p", { id: credit.name, class: "credit" }, escape(credit.caption)));
    const header = element("header", {}, element("h1", {}, escape(description.caption)) +
      element("button", { type: "button", id: "share", "data-text": texts.shareText,
                          "data-copied": texts.linkCopied }, escape(texts.share)));
    const footer = element("footer", {}, element("span", { id: "version" },
      escape(texts.version + description.version)) + " " +
      element("span", { id: "update", hidden: true }, `${escape(texts.updateReady)} ` +
        element("button", { type: "button", id: "reload" }, escape(texts.reload))));
    const markup = header +
      element("div", { id: "trouble", "data-text": texts.cannotWork }) + window +
      element("p", { id: "status", role: "status", "data-loading": texts.loading }) + footer +
      `<noscript><p>${escape(texts.needsScript)}</p></noscript>`;
    return { markup, style: places(description) };
  };

  if (typeof document === "undefined") {
    return;
  }

  const form = document.getElementById("Form1");
  const status = document.getElementById("status");
  const say = (text) => { status.textContent = text; };
  // What cannot work is said where a screen reader hears it at once.
  const cannotWork = () => {
    const trouble = document.getElementById("trouble");
    trouble.setAttribute("role", "alert");
    trouble.textContent = trouble.dataset.text;
    say("");
  };

  // The message box: a native modal dialog named with the window's caption,
  // closed by its button, Enter or Esc. The message is heard as the button's
  // description, and only so: a screen reader that also read it as the
  // dialog's text would say it twice, or not at all if it skipped the dialog.
  // Closed, the focus goes to `focusAfter` (the box at fault, its text
  // selected, ready to be corrected), else back where it was. One at a time:
  // the promise keeps when it closes.
  function makeMessageBox(description) {
    const box = document.createElement("dialog");
    box.id = "message";
    box.setAttribute("aria-labelledby", "message-title");
    box.innerHTML = element("p", { id: "message-title", class: "title" }, escape(description.caption)) +
                    element("p", { id: "message-text", "aria-hidden": "true" }) +
                    element("button", { type: "button", id: "message-ok",
                                        "aria-describedby": "message-text" }, "OK");
    const ok = box.querySelector("button");
    let returnTo = null;
    let closed = () => {};
    // The focus moves in the same task as the dialog closes, so that a
    // screen reader hears only where it lands.
    const finish = () => {
      box.close();
      if (returnTo && returnTo.isConnected) {
        returnTo.focus();
        if (returnTo.select) {
          returnTo.select();
        }
      }
      returnTo = null;
      closed();
    };
    ok.addEventListener("click", finish);
    box.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish();
    });
    document.body.append(box);
    return (message, focusAfter) => new Promise((resolve) => {
      closed = resolve;
      returnTo = focusAfter ?? document.activeElement;
      box.querySelector("#message-text").textContent = message;
      // The page behind goes inert, and a screen reader that is told of the
      // button's focus while that settles moves there in silence (Orca in
      // both engines). The dialog holds the focus until then.
      ok.disabled = true;
      box.showModal();
      setTimeout(() => {
        ok.disabled = false;
        if (box.open) {
          ok.focus();
        }
      }, 100);
    });
  }

  // The press on the window the build wrote into the page. What a person
  // typed before the module arrived stays, and so does their focus.
  function attach(module) {
    const description = createQimbar.describe(module);
    const texts = description.texts;
    const showMessage = makeMessageBox(description);
    const pages = description.rows.map((rows) => rows.map((row) => ({
      ...row, element: document.getElementById(row.box) })));

    // A press of row `row` of page `page` over `values`, the texts of its
    // boxes (those of the moment it was pressed, for a press that waited).
    function press(page, row, values) {
      const rows = pages[page - 1];
      const answer = createQimbar.press(module, page, row, rows.map((r, index) =>
        (r.element.isConnected ? encoder.encode(values[index]) : null)));
      if (!answer) {
        say("");
        return showMessage(texts.outOfMemory);
      }
      answer.written.forEach((bytes, index) => {
        if (bytes) {
          rows[index].element.value = decoder.decode(bytes);
        }
      });
      if (answer.message.length > 0) {
        say("");
        return showMessage(decoder.decode(answer.message),
                           answer.fault > 0 ? rows[answer.fault - 1].element : undefined);
      }
      say(decoder.decode(answer.summary));
      // The address holds the page and this conversion, for a reload or a link.
      history.replaceState(null, "", `#page=${page}&row=${row}&v=` +
                                     encodeURIComponent(values[row - 1]));
      return Promise.resolve();
    }

    form.addEventListener("click", (event) => {
      const button = event.target.closest("button[data-row]");
      if (button) {
        const page = Number(button.dataset.page);
        press(page, Number(button.dataset.row), pages[page - 1].map((r) => r.element.value));
      }
    });
    // A key held down repeats: only its first stroke presses, as on the desktop.
    form.addEventListener("keydown", (event) => {
      if (event.repeat && event.target.matches("button[data-row]")) {
        event.preventDefault();
      }
    });

    form.dataset.ready = "";
    document.getElementById("trouble").removeAttribute("role");
    document.getElementById("trouble").textContent = "";
    performance.mark("qimbar-ready");
    // What was pressed while the module was on its way, in order, each
    // dialog closed before the next press.
    const early = form.early ?? [];
    delete form.early;
    early.reduce((before, p) => before.then(() => press(p.page, p.row, p.values)),
                 Promise.resolve());
  }

  // A link to the page and its last conversion: shared on a phone, copied
  // elsewhere.
  document.getElementById("share").addEventListener("click", () => {
    const url = location.href;
    const found = /row=(\d+)&v=([^&]*)/.exec(location.hash);
    const box = found && form.querySelectorAll(".page:not([hidden]) input")[found[1] - 1];
    let text = document.title;
    try {
      text = document.getElementById("share").dataset.text +
             `${box.labels[0].textContent} = ${decodeURIComponent(found[2])}`;
    } catch {
      // No conversion in the address, or one typed by hand that is not an escape: the title.
    }
    if (navigator.share && matchMedia("(pointer: coarse)").matches) {
      navigator.share({ title: document.title, text, url }).catch(() => {});
    } else {
      navigator.clipboard.writeText(url).then(
        () => say(document.getElementById("share").dataset.copied), () => {});
    }
  });

  createQimbar().then(attach).catch(cannotWork);

  if ("serviceWorker" in navigator) {
    // A returning person's page came from the cache: once a new version has
    // taken over, say so, and offer it.
    const returning = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener("controllerchange", () => {
      if (returning) {
        document.getElementById("update").hidden = false;
        say(document.getElementById("update").firstChild.textContent.trim());
      }
    });
    document.getElementById("reload").addEventListener("click", () => location.reload());
    addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(() => {}));
  }
})();
