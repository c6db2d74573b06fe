// The page: the window built from the description the module exports, and
// each press run by the module. Appended to the module's glue, which defines
// createQimbar; under node (the differential test) only that is wanted.
(() => {
  "use strict";

  // One press through the module. `boxes`: the page's boxes in row order,
  // each the UTF-8 bytes of its text, or null where the page no longer has
  // the box. Returns the message shown (UTF-8, empty when the press
  // converted) and, for each box, the bytes written into it or null. The
  // differential test presses through this too.
  createQimbar.press = (module, page, row, boxes) => {
    const size = boxes.reduce((total, bytes) => total + 5 + (bytes ? bytes.length : 0), 0);
    const input = module._malloc(size);
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
    memory = module.HEAPU8;  // the memory may have grown
    const view = new DataView(memory.buffer);
    const messageLength = view.getUint32(out, true);
    const message = memory.slice(out + 4, out + 4 + messageLength);
    out += 4 + messageLength;
    const written = boxes.map(() => {
      const length = view.getUint32(out + 1, true);
      const bytes = memory[out] === 1 ? memory.slice(out + 5, out + 5 + length) : null;
      out += 5 + length;
      return bytes;
    });
    return { message, written };
  };

  if (typeof document === "undefined") {
    return;
  }

  const decoder = new TextDecoder();
  const encoder = new TextEncoder();

  // A NUL-terminated string of the module's memory.
  function stringAt(module, pointer) {
    const memory = module.HEAPU8;
    return decoder.decode(memory.subarray(pointer, memory.indexOf(0, pointer)));
  }

  function element(tag, attributes = {}, text = "") {
    const made = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
      made.setAttribute(name, value);
    }
    if (text) {
      made.textContent = text;
    }
    return made;
  }

  // Where the description puts a control, for the style sheet's wide layout.
  function place(made, control) {
    made.style.setProperty("--left", `${control.left}px`);
    made.style.setProperty("--top", `${control.top}px`);
    made.style.setProperty("--width", `${control.width}px`);
    made.style.setProperty("--height", `${control.height}px`);
    made.style.setProperty("--row", control.row);
  }

  function fontOf(font) {
    return `${font.pixels}px ${font.faces.map((face) => `"${face}"`).join(", ")}, sans-serif`;
  }

  // The message box: modal, titled with the window's caption, closed by its
  // button, Enter or Esc; the focus goes back where it was.
  function makeMessageBox(description) {
    const box = element("dialog", { id: "message", "aria-labelledby": "message-title",
                                    "aria-describedby": "message-text" });
    box.append(element("h2", { id: "message-title" }, description.caption),
               element("p", { id: "message-text" }),
               element("button", { type: "button", id: "message-ok", autofocus: "" }, "OK"));
    let returnTo = null;
    box.querySelector("button").addEventListener("click", () => box.close());
    document.body.append(box);
    box.addEventListener("close", () => {
      if (returnTo && returnTo.isConnected) {
        returnTo.focus();
      }
      returnTo = null;
    });
    return (message) => {
      returnTo = document.activeElement;
      box.querySelector("p").textContent = message;
      box.showModal();
      box.querySelector("button").focus();
    };
  }

  function build(module) {
    const description = JSON.parse(stringAt(module, module._qimbar_description()));
    document.title = description.caption;
    const form = document.getElementById("Form1");
    form.style.setProperty("--client-width", `${description.clientWidth}px`);
    form.style.setProperty("--client-height", `${description.clientHeight}px`);
    form.style.setProperty("--strip-height", `${description.tabStripHeight}px`);
    form.style.setProperty("--credit", description.creditColour);
    form.style.setProperty("--window-font", fontOf(description.windowFont));
    form.style.setProperty("--label-font", fontOf(description.labelFont));

    const showMessage = makeMessageBox(description);
    const controls = description.controls;
    const tabsControl = controls.find((control) => control.kind === "tabs");
    const tabs = element("div", { id: tabsControl.name, class: "tabs" });
    place(tabs, tabsControl);
    const strip = element("div", { role: "tablist", class: "strip",
                                   "aria-label": description.caption });
    tabs.append(strip);

    // Each page's rows: its box elements by row, for the press.
    const pages = description.tabs.map((caption, index) => {
      const number = index + 1;
      const tab = element("button", { type: "button", role: "tab", id: `tab-${number}`,
                                      "aria-controls": `page-${number}` }, caption);
      const panel = element("div", { role: "tabpanel", id: `page-${number}`,
                                     "aria-labelledby": `tab-${number}`, class: "page" });
      panel.dataset.page = number;
      strip.append(tab);
      tabs.append(panel);
      return { number, tab, panel, boxes: [] };
    });

    // The page's controls in the keyboard order the description gives, each
    // label just before its box; the style sheet puts them where they stand.
    const byTabIndex = [...controls].sort((a, b) => a.tabIndex - b.tabIndex);
    // The spare controls: on no page, in their places, never seen or reached.
    const spare = element("div", { class: "spare", "aria-hidden": "true" });
    for (const control of byTabIndex) {
      const onPage = control.page !== 0;
      if (control.kind === "box") {
        const box = element("input", { id: control.name, type: "text", autocomplete: "off",
                                       spellcheck: "false", autocapitalize: "off" });
        place(box, control);
        if (!onPage) {
          box.tabIndex = -1;
          spare.append(box);
          continue;
        }
        const page = pages[control.page - 1];
        const label = controls.find((c) => c.kind === "label" && c.page === control.page &&
                                           c.row === control.row);
        const made = element("label", { id: label.name, for: control.name,
                                        title: label.explanation }, label.caption);
        place(made, label);
        const about = element("span", { id: `${control.name}-about`, hidden: "" },
                              control.explanation);
        box.setAttribute("aria-describedby", about.id);
        // A phone's keyboard: temperatures go below zero, and the decimal
        // pad of some phones has no minus.
        box.setAttribute("inputmode", control.page === 6 ? "text" : "decimal");
        page.boxes[control.row - 1] = box;
        page.panel.append(made, box, about);
      } else if (control.kind === "button") {
        const button = element("button", { id: control.name, type: "button" }, control.caption);
        place(button, control);
        if (!onPage) {
          button.tabIndex = -1;
          spare.append(button);
          continue;
        }
        button.setAttribute("aria-label", `${control.caption}: ${control.unit}`);
        button.dataset.page = control.page;
        button.dataset.row = control.row;
        pages[control.page - 1].panel.append(button);
      }
    }
    tabs.append(spare);

    const creditControl = controls.find((control) => control.kind === "label" &&
                                                     control.page === 0);
    const credit = element("p", { id: creditControl.name, class: "credit" },
                           creditControl.caption);
    place(credit, creditControl);
    form.replaceChildren(tabs, credit);

    function select(number, focus) {
      for (const page of pages) {
        const selected = page.number === number;
        page.tab.setAttribute("aria-selected", String(selected));
        page.tab.tabIndex = selected ? 0 : -1;
        page.panel.hidden = !selected;
      }
      form.dataset.page = number;
      if (focus) {
        const tab = pages[number - 1].tab;
        tab.focus();
        // On a phone's scrolling strip, the chosen tab in view.
        tab.scrollIntoView({ block: "nearest", inline: "nearest" });
      }
    }

    // The tab strip: one Tab stop, the arrows (and Home, End) move along it.
    strip.addEventListener("click", (event) => {
      const tab = event.target.closest("[role=tab]");
      if (tab) {
        select(pages.findIndex((page) => page.tab === tab) + 1, true);
      }
    });
    strip.addEventListener("keydown", (event) => {
      const current = pages.findIndex((page) => page.tab === document.activeElement);
      if (current < 0) {
        return;
      }
      const last = pages.length - 1;
      const next = { ArrowRight: current === last ? 0 : current + 1,
                     ArrowLeft: current === 0 ? last : current - 1,
                     Home: 0, End: last }[event.key];
      if (next !== undefined) {
        event.preventDefault();
        select(next + 1, true);
      }
    });

    function press(page, row) {
      const boxes = page.boxes;
      const { message, written } = createQimbar.press(
        module, page.number, row,
        boxes.map((box) => (box.isConnected ? encoder.encode(box.value) : null)));
      written.forEach((bytes, index) => {
        if (bytes) {
          boxes[index].value = decoder.decode(bytes);
        }
      });
      if (message.length > 0) {
        showMessage(decoder.decode(message));
      }
    }

    form.addEventListener("click", (event) => {
      const button = event.target.closest("button[data-row]");
      if (button) {
        press(pages[Number(button.dataset.page) - 1], Number(button.dataset.row));
      }
    });
    // A key held down repeats: only its first stroke presses, as on the desktop.
    form.addEventListener("keydown", (event) => {
      if (event.repeat && event.target.matches("button[data-row]")) {
        event.preventDefault();
      }
    });

    select(description.startPage, false);
    form.dataset.ready = "";
    performance.mark("qimbar-ready");
    // As on the desktop, the keyboard starts on the tab strip.
    select(description.startPage, true);
  }

  createQimbar().then(build);

  if ("serviceWorker" in navigator) {
    addEventListener("load", () => navigator.serviceWorker.register("sw.js"));
  }
})();
