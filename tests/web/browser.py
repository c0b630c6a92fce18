"""Headless Chromium for the web page's tests and benchmarks: no network, no sync, a profile of
its own."""

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


def start_chromium(profile, width=1000, height=700):
    options = webdriver.ChromeOptions()
    for argument in ("--headless", "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--user-data-dir=" + profile,
                     "--window-size=%d,%d" % (width, height)):
        options.add_argument(argument)
    options.binary_location = CHROMIUM
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def wait_for_tree(driver, seconds=30):
    """Waits until the page has shown its tree."""
    WebDriverWait(driver, seconds).until(
        lambda d: d.execute_script("return document.body.dataset.ready") == "tree")
