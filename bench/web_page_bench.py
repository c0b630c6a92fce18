#!/usr/bin/env python3
"""The web page export's figures: writing a million-object page beside `tomlet-cli export`
(time, peak memory), and the page in headless Chromium: a 100,000-object page showing its tree,
opening a folder of 10,000 children and a search that finds nothing; the million-object page
opening and expanding. Reports, never fails a build.

Usage: bench/web_page_bench.py BUILD_DIR   (a build with -DTOMLET_BUILD_BENCHMARKS=ON)
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import start_chromium, wait_for_tree  # noqa: E402

BUILD = os.path.abspath(sys.argv[1])
CLI = os.path.join(BUILD, "bin", "tomlet-cli")
MAKE_LARGE = os.path.join(BUILD, "bench", "make-large-project")


def run_measured(arguments, stdout=subprocess.DEVNULL):
    """Runs a program; gives its wall time in seconds and its peak memory in MB."""
    with tempfile.NamedTemporaryFile("r") as figures:
        subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", figures.name] + arguments,
                       stdout=stdout, check=True)
        elapsed, peak = figures.read().split()
    return float(elapsed), int(peak) / 1024


def hundred_thousand_objects(folder):
    """A folder of 10,000 files beside nine discs of 99 folders of 100 files each."""
    def file(name, hint=""):
        return {"Caption": name, "Hint": hint, "ObjectType": 8, "PathFileName": name}
    big = [file("file %05d.txt" % i, "a text" if i % 10 == 0 else "") for i in range(10000)]
    objects = [{"Caption": "Big folder", "ObjectType": 2, "children": big}]
    for disc in range(9):
        folders = [{"Caption": "Folder %d" % n, "ObjectType": 2,
                    "children": [file("report %d-%d-%d.doc" % (disc, n, i)) for i in range(100)]}
                   for n in range(99)]
        objects.append({"Caption": "Disc %d" % disc, "ObjectType": 2, "children": folders})
    source = os.path.join(folder, "project.json")
    with open(source, "w") as out:
        json.dump({"version": [0, 2], "project": {"ProjectName": "100,000 objects",
                                                   "AbsolutePath": False},
                   "objects": objects}, out)
    project = os.path.join(folder, "default.tml")
    subprocess.run([CLI, "import", source, "-o", project], check=True)
    return project


def page_url(folder):
    return "file://" + urllib.parse.quote(os.path.join(folder, "index.html"))


EXPAND = """
const done = arguments[arguments.length - 1];
const item = document.getElementById(arguments[0]);
const children = arguments[1];
const started = performance.now();
let shown = 0;
item.querySelector(".twisty").click();
(function wait() {
  const count = item.querySelectorAll('[role="group"] > [role="treeitem"]').length;
  if (count > 0 && shown === 0)
    requestAnimationFrame(() => { shown = performance.now() - started; });
  if (count >= children)
    requestAnimationFrame(() => setTimeout(() => done([shown, performance.now() - started])));
  else
    setTimeout(wait, 1);
})();
"""

SEARCH = """
const done = arguments[arguments.length - 1];
const query = document.getElementById("query");
const status = document.getElementById("results-status");
query.value = arguments[0];
const started = performance.now();
query.form.requestSubmit();
(function wait() {
  if (status.textContent !== "" && status.textContent !== "Searching...")
    requestAnimationFrame(() => setTimeout(() => done(performance.now() - started)));
  else
    setTimeout(wait, 1);
})();
"""


def browse(browser, folder, expand_id, children, label):
    count = int(children.replace(",", "").split()[0]) if children[0].isdigit() else 1
    started = time.monotonic()
    browser.get(page_url(folder))
    wait_for_tree(browser, 600)
    loaded = time.monotonic() - started
    shown = browser.execute_script(
        "return performance.getEntriesByName('tomlet-tree')[0].startTime")
    browser.set_script_timeout(600)
    expanded = browser.execute_async_script(EXPAND, expand_id, count)
    cold = browser.execute_async_script(SEARCH, "nothing like this")
    warm = browser.execute_async_script(SEARCH, "nor like that")
    print("%-24s tree shown %6.0f ms after navigation (%.1f s to ready in the driver)"
          % (label, shown, loaded))
    print("%-24s expanding a folder of %s: first shown %4.0f ms, all there %5.0f ms"
          % ("", children, expanded[0], expanded[1]))
    print("%-24s search finding nothing: first %6.0f ms (loads the search data), then %4.0f ms"
          % ("", cold, warm))


def main():
    work = tempfile.mkdtemp(prefix="tomlet-web-bench-")
    try:
        million = os.path.join(work, "million")
        os.makedirs(million)
        project = os.path.join(million, "default.tml")
        subprocess.run([MAKE_LARGE, project], check=True, stdout=subprocess.DEVNULL)
        export_time, export_memory = run_measured([CLI, "export", project],
                                                  stdout=open(os.path.join(work, "x.json"), "w"))
        os.remove(os.path.join(work, "x.json"))
        html_time, html_memory = run_measured([CLI, "html", project, "-o", million])
        again_time, again_memory = run_measured([CLI, "html", project, "-o", million])
        size = sum(os.path.getsize(os.path.join(root, name))
                   for root, _, names in os.walk(os.path.join(million, "tomlet-page"))
                   for name in names)
        print("1,000,000 objects: tomlet-cli export %.2f s, %.0f MB peak" %
              (export_time, export_memory))
        print("                   tomlet-cli html   %.2f s, %.0f MB peak (%.1fx export); "
              "replacing it %.2f s, %.0f MB; page %.0f MB"
              % (html_time, html_memory, html_time / export_time, again_time, again_memory,
                 size / 1e6))

        hundred = os.path.join(work, "hundred")
        os.makedirs(hundred)
        subprocess.run([CLI, "html", hundred_thousand_objects(hundred), "-o", hundred],
                       check=True, stdout=subprocess.DEVNULL)
        browser = start_chromium(os.path.join(work, "profile"))
        try:
            browse(browser, hundred, "o0", "10,000 children", "100,000 objects:")
            browse(browser, million, "o0", "a disc's files and folders", "1,000,000 objects:")
        finally:
            browser.quit()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
