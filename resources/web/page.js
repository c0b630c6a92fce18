// The catalogue's page: the tree, its hints and texts, and the search, all drawn from data files
// that tomletRoot, tomletData and tomletSearch hand over as they load. Every text of the
// catalogue reaches the page through textContent or an attribute value, never as markup, and
// the only links it makes are the relative, percent-encoded ones the writer made.
"use strict";

(function () {
  const DataFolder = "tomlet-page/data/";
  const FolderPicture = 0; // the closed blue book: a Folder object
  const HintDelay = 400;
  const ShownHits = 200;

  // The fields of an object's entry.
  const Id = 0, Caption = 1, HintValues = 2, Picture = 3, SelectedPicture = 4, Open = 5,
    Children = 6;
  // The hint's values, in the order of its labels.
  const HintComments = 1, HintPath = 2;

  let root = null;
  const dataFiles = new Map(); // number -> {promise, resolve, reject}
  const searchFiles = []; // number -> {firstId, text, folded, starts, parents}
  let searchLoading = null;
  const items = new Map(); // id -> {entry, element, group}
  let selected = null;
  let hintTimer = 0;
  let hinted = null; // the item whose hint is shown
  let searchGeneration = 0;

  const $ = (id) => document.getElementById(id);

  // What the data files call.
  window.tomletRoot = function (data) {
    root = data;
    if (document.readyState === "loading")
      document.addEventListener("DOMContentLoaded", start);
    else
      start();
  };
  window.tomletData = function (number, blocks) {
    slot(dataFiles, number).resolve(blocks);
  };
  window.tomletSearch = function (number, firstId, text, parents) {
    searchFiles[number] = prepareSearchFile(firstId, text, parents);
  };

  function slot(map, number) {
    let entry = map.get(number);
    if (!entry) {
      entry = {};
      entry.promise = new Promise((resolve, reject) => {
        entry.resolve = resolve;
        entry.reject = reject;
      });
      map.set(number, entry);
    }
    return entry;
  }

  function loadScript(name) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = DataFolder + name;
      script.onload = () => { script.remove(); resolve(); };
      script.onerror = () => { script.remove(); reject(new Error(name)); };
      document.head.appendChild(script);
    });
  }

  function dataFile(number) {
    const known = dataFiles.has(number);
    const entry = slot(dataFiles, number);
    if (!known)
      loadScript("t" + number + ".js").catch(entry.reject);
    return entry.promise;
  }

  // The entries of a list of [file, block] references, in order.
  async function entriesOf(blockRefs) {
    const blocks = await Promise.all(
      blockRefs.map(([file, block]) => dataFile(file).then((blocks) => blocks[block])));
    return blocks.flat();
  }

  function start() {
    const texts = root.texts;
    document.title = root.names[0] || document.title;
    $("name").textContent = root.names[0];
    $("name2").textContent = root.names[1];
    $("find-label").textContent = texts.find;
    $("comments-title").textContent = texts.comments;
    $("about-title").textContent = texts.about;
    $("description").textContent = root.description;

    const tree = $("tree");
    tree.addEventListener("click", onTreeClick);
    tree.addEventListener("dblclick", onTreeDoubleClick);
    tree.addEventListener("keydown", onTreeKey);
    tree.addEventListener("mouseover", onTreeHover);
    tree.addEventListener("mouseout", onTreeLeave);
    tree.addEventListener("focusin", (event) => showHintSoon(itemOf(event.target), event.target));
    tree.addEventListener("focusout", hideHint);
    tree.addEventListener("scroll", hideHint);

    const query = $("query");
    query.addEventListener("focus", loadSearchData);
    query.addEventListener("input", () => scheduleSearch(query.value));
    $("find").addEventListener("submit", (event) => {
      event.preventDefault();
      search(query.value);
    });
    $("hits").addEventListener("click", onHitClick);

    entriesOf(root.top).then((entries) => {
      tree.appendChild(renderItems(entries));
      const first = tree.querySelector('[role="treeitem"]');
      if (first) {
        first.tabIndex = 0;
        select(first, false);
      }
      document.body.dataset.ready = "tree";
      performance.mark("tomlet-tree");
    });
  }

  // ----- the tree -----

  // Shows the first children at once and the rest a step at a time, so that a folder of many
  // thousands opens without holding up the browser.
  async function appendInSteps(group, entries) {
    const FirstStep = 300, Step = 2000;
    group.appendChild(renderItems(entries.slice(0, FirstStep)));
    for (let at = FirstStep; at < entries.length; at += Step) {
      await new Promise((resolve) => window.setTimeout(resolve));
      group.appendChild(renderItems(entries.slice(at, at + Step)));
    }
  }

  function renderItems(entries) {
    const fragment = document.createDocumentFragment();
    for (const entry of entries)
      fragment.appendChild(renderItem(entry));
    return fragment;
  }

  // The caption shows its object's picture (page.css: .p0 to .p13).
  function picture(caption, number) {
    caption.className = "caption p" + number;
  }

  function renderItem(entry) {
    const item = document.createElement("li");
    item.setAttribute("role", "treeitem");
    item.setAttribute("aria-selected", "false");
    item.tabIndex = -1;
    item.id = "o" + entry[Id];
    if (entry[Children])
      item.setAttribute("aria-expanded", "false");

    const row = document.createElement("div");
    row.className = "row";
    const twisty = document.createElement("span");
    twisty.className = "twisty";
    twisty.setAttribute("aria-hidden", "true");
    const caption = document.createElement("span");
    picture(caption, entry[Picture]);
    caption.textContent = entry[Caption];
    row.append(twisty, caption);
    item.appendChild(row);
    items.set(entry[Id], { entry: entry, element: item, group: null, loading: null });
    return item;
  }

  function itemOf(node) {
    const element = node && node.closest ? node.closest('[role="treeitem"]') : null;
    return element ? items.get(Number(element.id.slice(1))) : null;
  }

  // Opens a folder, loading its children the first time; resolves once they are shown.
  async function expand(item) {
    if (!item.entry[Children])
      return;
    item.element.setAttribute("aria-expanded", "true");
    if (!item.loading) {
      item.group = document.createElement("ul");
      item.group.setAttribute("role", "group");
      item.element.appendChild(item.group);
      item.loading = entriesOf(item.entry[Children])
        .then((entries) => appendInSteps(item.group, entries));
    }
    item.group.hidden = false;
    await item.loading;
  }

  function collapse(item) {
    if (item.element.getAttribute("aria-expanded") !== "true")
      return;
    item.element.setAttribute("aria-expanded", "false");
    if (item.group)
      item.group.hidden = true;
    if (selected && selected !== item && item.element.contains(selected.element))
      select(item.element, true);
  }

  function toggle(item) {
    if (item.element.getAttribute("aria-expanded") === "true")
      collapse(item);
    else
      expand(item);
  }

  function select(element, focus) {
    const item = items.get(Number(element.id.slice(1)));
    if (selected && selected !== item) {
      selected.element.setAttribute("aria-selected", "false");
      selected.element.tabIndex = -1;
      picture(selected.element.querySelector(".caption"), selected.entry[Picture]);
    }
    selected = item;
    element.setAttribute("aria-selected", "true");
    element.tabIndex = 0;
    picture(element.querySelector(".caption"), item.entry[SelectedPicture]);
    if (focus)
      element.focus();
    showTexts(item.entry);
  }

  // The selected object's comments and what opening it does.
  function showTexts(entry) {
    $("comments").textContent = entry[HintValues][HintComments];
    const label = $("open-label");
    const target = $("open-target");
    target.replaceChildren();
    const open = entry[Open];
    if (typeof open === "string" && isPageLink(open)) {
      label.textContent = root.texts.open;
      const link = document.createElement("a");
      link.href = open;
      link.textContent = entry[HintValues][HintPath];
      target.appendChild(link);
    } else {
      label.textContent = "";
      const reason = document.createElement("span");
      reason.className = "reason";
      reason.textContent = root.texts.reasons[open - 1] || "";
      target.appendChild(reason);
    }
  }

  // A link the writer made: relative, percent-encoded names and "/" only.
  function isPageLink(link) {
    return /^[A-Za-z0-9._~%-][A-Za-z0-9._~%\/-]*$/.test(link) && !link.startsWith("//");
  }

  function activate(item) {
    const open = item.entry[Open];
    if (typeof open === "string" && isPageLink(open))
      window.location.assign(open);
  }

  function onTreeClick(event) {
    const item = itemOf(event.target);
    if (!item)
      return;
    if (event.target.classList.contains("twisty"))
      toggle(item);
    select(item.element, true);
  }

  // As in the program: a double click opens or closes a Folder object and opens anything else.
  function onTreeDoubleClick(event) {
    const item = itemOf(event.target);
    if (!item || event.target.classList.contains("twisty"))
      return;
    if (item.entry[Picture] === FolderPicture && item.entry[Children])
      toggle(item);
    else
      activate(item);
  }

  function visibleItems() {
    return Array.from($("tree").querySelectorAll('[role="treeitem"]'))
      .filter((element) => element.offsetParent !== null);
  }

  function onTreeKey(event) {
    const item = itemOf(event.target);
    if (!item)
      return;
    const expanded = item.element.getAttribute("aria-expanded");
    const move = (element) => { if (element) select(element, true); };
    let handled = true;
    switch (event.key) {
      case "ArrowDown":
      case "ArrowUp": {
        const visible = visibleItems();
        const at = visible.indexOf(item.element) + (event.key === "ArrowDown" ? 1 : -1);
        move(visible[at]);
        break;
      }
      case "Home":
        move(visibleItems()[0]);
        break;
      case "End": {
        const visible = visibleItems();
        move(visible[visible.length - 1]);
        break;
      }
      case "ArrowRight":
        if (expanded === "false")
          expand(item);
        else if (expanded === "true" && item.group)
          move(item.group.querySelector('[role="treeitem"]'));
        break;
      case "ArrowLeft":
        if (expanded === "true")
          collapse(item);
        else
          move(item.element.parentElement.closest('[role="treeitem"]'));
        break;
      case "Enter":
        activate(item);
        break;
      default:
        handled = false;
    }
    if (handled)
      event.preventDefault();
  }

  // ----- the hint -----

  function onTreeHover(event) {
    const row = event.target.closest ? event.target.closest(".row") : null;
    if (row)
      showHintSoon(itemOf(row), row);
  }

  function onTreeLeave(event) {
    const row = event.target.closest ? event.target.closest(".row") : null;
    if (row && !row.contains(event.relatedTarget))
      hideHint();
  }

  function showHintSoon(item, anchor) {
    window.clearTimeout(hintTimer);
    if (!item)
      return;
    hintTimer = window.setTimeout(() => showHint(item, anchor), HintDelay);
  }

  function hideHint() {
    window.clearTimeout(hintTimer);
    $("hint").hidden = true;
    if (hinted)
      hinted.element.removeAttribute("aria-describedby");
    hinted = null;
  }

  function showHint(item, anchor) {
    const hint = $("hint");
    const heading = document.createElement("p");
    heading.className = "hint-caption";
    heading.textContent = item.entry[Caption];
    const list = document.createElement("dl");
    root.texts.labels.forEach((label, index) => {
      const term = document.createElement("dt");
      term.textContent = label.trim();
      const value = document.createElement("dd");
      value.textContent = item.entry[HintValues][index].replace(/[\r\n]+$/, "");
      if (index === HintComments)
        value.className = "gap-after";
      list.append(term, value);
    });
    hint.replaceChildren(heading, list);
    if (hinted)
      hinted.element.removeAttribute("aria-describedby");
    hinted = item;
    item.element.setAttribute("aria-describedby", "hint");
    hint.hidden = false;
    const row = (anchor.classList.contains("row") ? anchor : item.element.querySelector(".row"))
      .getBoundingClientRect();
    const left = Math.min(row.left + 24, window.innerWidth - hint.offsetWidth - 4);
    const below = row.bottom + 4;
    const top = below + hint.offsetHeight > window.innerHeight
      ? Math.max(4, row.top - hint.offsetHeight - 4) : below;
    hint.style.left = Math.max(4, left) + "px";
    hint.style.top = top + "px";
  }

  // ----- the search -----

  // Each search file's texts with letters in one case, and where each object's text starts.
  function prepareSearchFile(firstId, text, parents) {
    const starts = new Int32Array(parents.length + 1);
    let at = 0;
    for (let i = 0; i < parents.length; ++i) {
      starts[i] = at;
      at = text.indexOf("\u001E", at) + 1;
    }
    starts[parents.length] = text.length;
    let folded = text.toLowerCase();
    if (folded.length !== text.length) {
      // A letter whose lower case is longer: fold object by object, keeping each in its place.
      const parts = [];
      for (let i = 0; i < parents.length; ++i) {
        const part = text.slice(starts[i], starts[i + 1]);
        const lower = part.toLowerCase();
        parts.push(lower.length === part.length ? lower : part);
      }
      folded = parts.join("");
    }
    return { firstId: firstId, text: text, folded: folded, starts: starts,
             parents: Int32Array.from(parents) };
  }

  // Loads every search file once, in order; the first search waits for it.
  function loadSearchData() {
    if (!searchLoading) {
      const loads = [];
      for (let number = 0; number < root.searchFiles; ++number)
        loads.push(loadScript("s" + number + ".js"));
      searchLoading = Promise.all(loads);
    }
    return searchLoading;
  }

  function scheduleSearch(text) {
    window.clearTimeout(scheduleSearch.timer);
    scheduleSearch.timer = window.setTimeout(() => search(text), 250);
  }

  async function search(text) {
    window.clearTimeout(scheduleSearch.timer);
    const generation = ++searchGeneration;
    const query = text.replace(/[\u0000-\u001F\u007F]/g, " ").trim().toLowerCase();
    const results = $("results");
    const status = $("results-status");
    const hits = $("hits");
    if (query === "") {
      results.hidden = true;
      hits.replaceChildren();
      return;
    }
    results.hidden = false;
    status.textContent = root.texts.searching;
    await loadSearchData();
    if (generation !== searchGeneration)
      return;
    const found = [];
    let count = 0;
    for (const file of searchFiles) {
      let at = file.folded.indexOf(query);
      while (at >= 0) {
        const index = objectAt(file.starts, at);
        ++count;
        if (found.length < ShownHits)
          found.push({ file: file, index: index });
        at = file.folded.indexOf(query, file.starts[index + 1]);
      }
    }
    const list = document.createDocumentFragment();
    for (const hit of found) {
      const start = hit.file.starts[hit.index];
      const caption = hit.file.text.slice(start, hit.file.text.indexOf("\u001F", start));
      const line = document.createElement("li");
      const link = document.createElement("a");
      link.href = "#o" + (hit.file.firstId + hit.index);
      link.textContent = caption;
      line.appendChild(link);
      list.appendChild(line);
    }
    hits.replaceChildren(list);
    status.textContent = count === 0 ? root.texts.nothing
      : root.texts.found.replace("%d", String(count));
  }

  // The object whose text holds position `at`.
  function objectAt(starts, at) {
    let low = 0, high = starts.length - 2;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (starts[middle] <= at)
        low = middle;
      else
        high = middle - 1;
    }
    return low;
  }

  function parentOf(id) {
    let low = 0, high = searchFiles.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (searchFiles[middle].firstId <= id)
        low = middle;
      else
        high = middle - 1;
    }
    const file = searchFiles[low];
    return file.parents[id - file.firstId];
  }

  // Opens the folders above an object and selects it.
  async function reveal(id) {
    const chain = [];
    for (let parent = parentOf(id); parent >= 0; parent = parentOf(parent))
      chain.unshift(parent);
    for (const ancestor of chain) {
      const item = items.get(ancestor);
      if (!item)
        return;
      await expand(item);
    }
    const item = items.get(id);
    if (item) {
      select(item.element, true);
      item.element.scrollIntoView({ block: "nearest" });
    }
  }

  function onHitClick(event) {
    const link = event.target.closest("a");
    if (!link)
      return;
    event.preventDefault();
    reveal(Number(link.getAttribute("href").slice(2)));
  }
})();
