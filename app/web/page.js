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

  const decoder = new TextDecoder();
  const encoder = new TextEncoder();

  // The description the module exports, with each control's pixel place.
  createQimbar.describe = (module) => {
    const pointer = module._qimbar_description();
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

  // Where the description puts a control, for the style sheet's wide layout.
  function place(control) {
    return `--left:${control.left}px;--top:${control.top}px;--width:${control.width}px;` +
           `--height:${control.height}px;--row:${control.row}`;
  }

  function fontOf(font) {
    return `${font.pixels}px ${font.faces.map((face) => `"${face}"`).join(", ")}, sans-serif`;
  }

  // The window as markup, on its start page, every box empty. The build
  // writes it into index.html, so the rows are there to type into before
  // the module has even arrived.
  createQimbar.render = (description) => {
    const controls = description.controls;
    const start = description.startPage;
    const pages = description.tabs.map(() => []);
    const spare = [];
    // The page's controls in the keyboard order the description gives, each
    // label just before its box; the style sheet puts them where they stand.
    const byTabIndex = [...controls].sort((a, b) => a.tabIndex - b.tabIndex);
    for (const control of byTabIndex) {
      const onPage = control.page !== 0;
      if (control.kind === "box") {
        const attributes = { id: control.name, type: "text", autocomplete: "off",
                             spellcheck: "false", autocapitalize: "off", style: place(control) };
        if (!onPage) {
          spare.push(element("input", { ...attributes, tabindex: "-1" }));
          continue;
        }
        const label = controls.find((c) => c.kind === "label" && c.page === control.page &&
                                           c.row === control.row);
        const about = `${control.name}-about`;
        pages[control.page - 1].push(
          element("label", { id: label.name, for: control.name, title: label.explanation,
                             style: place(label) }, escape(label.caption)),
          // A phone's keyboard: temperatures go below zero, and the decimal
          // pad of some phones has no minus.
          element("input", { ...attributes, "aria-describedby": about,
                             inputmode: control.page === 6 ? "text" : "decimal" }),
          element("span", { id: about, hidden: true }, escape(control.explanation)));
      } else if (control.kind === "button") {
        const attributes = { id: control.name, type: "button", style: place(control) };
        if (!onPage) {
          spare.push(element("button", { ...attributes, tabindex: "-1" }, escape(control.caption)));
          continue;
        }
        pages[control.page - 1].push(element(
          "button", { ...attributes, "aria-label": `${control.caption}: ${control.unit}`,
                      "data-page": control.page, "data-row": control.row },
          escape(control.caption)));
      }
    }
    const tabs = description.tabs.map((caption, index) => element("button", {
      type: "button", role: "tab", id: `tab-${index + 1}`, "aria-controls": `page-${index + 1}`,
      "aria-selected": String(index + 1 === start), tabindex: index + 1 === start ? "0" : "-1",
    }, escape(caption))).join("");
    const panels = pages.map((content, index) => element("div", {
      role: "tabpanel", id: `page-${index + 1}`, "aria-labelledby": `tab-${index + 1}`,
      class: "page", "data-page": index + 1, hidden: index + 1 !== start || undefined,
    }, content.join(""))).join("");

    const tabsControl = controls.find((control) => control.kind === "tabs");
    const strip = element("div", { role: "tablist", class: "strip", "aria-label": description.caption },
                          tabs);
    // The spare controls: on no page, in their places, never seen or reached.
    const spareMade = element("div", { class: "spare", "aria-hidden": "true" }, spare.join(""));
    const tabsMade = element("div", { id: tabsControl.name, class: "tabs", style: place(tabsControl) },
                             strip + panels + spareMade);
    const creditControl = controls.find((control) => control.kind === "label" &&
                                                     control.page === 0);
    const credit = element("p", { id: creditControl.name, class: "credit", style: place(creditControl) },
                           escape(creditControl.caption));
    const look = `--client-width:${description.clientWidth}px;` +
                 `--client-height:${description.clientHeight}px;` +
                 `--strip-height:${description.tabStripHeight}px;` +
                 `--credit:${description.creditColour};` +
                 `--window-font:${fontOf(description.windowFont)};` +
                 `--label-font:${fontOf(description.labelFont)}`;
    return element("main", { id: "Form1", style: look, "data-page": start }, tabsMade + credit);
  };

  if (typeof document === "undefined") {
    return;
  }

  // The message box: modal, titled with the window's caption, closed by its
  // button, Enter or Esc; the focus goes back where it was.
  function makeMessageBox(description) {
    const box = document.createElement("dialog");
    box.id = "message";
    box.setAttribute("aria-labelledby", "message-title");
    box.setAttribute("aria-describedby", "message-text");
    box.innerHTML = element("h2", { id: "message-title" }, escape(description.caption)) +
                    element("p", { id: "message-text" }) +
                    element("button", { type: "button", id: "message-ok", autofocus: true }, "OK");
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

  // The press, the tabs and the message box, on the window the build wrote
  // into the page. What a person typed before the module arrived stays, and
  // so does their focus.
  function attach(module) {
    const description = createQimbar.describe(module);
    document.title = description.caption;
    const form = document.getElementById("Form1");
    const showMessage = makeMessageBox(description);
    const strip = form.querySelector("[role=tablist]");
    // Each page's rows: its box elements by row, for the press.
    const pages = description.tabs.map((_, index) => ({
      number: index + 1,
      tab: document.getElementById(`tab-${index + 1}`),
      panel: document.getElementById(`page-${index + 1}`),
      boxes: [],
    }));
    for (const control of description.controls) {
      if (control.kind === "box" && control.page !== 0) {
        pages[control.page - 1].boxes[control.row - 1] = document.getElementById(control.name);
      }
    }

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

    form.dataset.ready = "";
    performance.mark("qimbar-ready");
    // As on the desktop, the keyboard starts on the tab strip, unless a
    // person has already gone elsewhere.
    if (!document.activeElement || document.activeElement === document.body) {
      select(Number(form.dataset.page), true);
    }
    // What was pressed while the module was on its way, now, in order.
    const early = (form.dataset.early ?? "").split(" ").filter((id) => id);
    delete form.dataset.early;
    for (const id of early) {
      document.getElementById(id).click();
    }
  }

  createQimbar().then(attach);

  if ("serviceWorker" in navigator) {
    addEventListener("load", () => navigator.serviceWorker.register("sw.js"));
  }
})();
