"""The exported web page in a real browser: headless Chromium driven through Selenium.

Usage: page_test.py TOMLET_CLI DEMO_DISC_FOLDER (examples/demo-disc, holding project.json and disc/)
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import start_chromium, wait_for_tree  # noqa: E402

CLI = None
DEMO = None


def write_project(folder, project, objects, code_page=65001):
    """Writes FOLDER/default.tml from JSON as tomlet-cli import takes it."""
    document = {"version": [0, 2], "project": project, "objects": objects}
    source = os.path.join(folder, "project.json")
    with open(source, "w", encoding="utf-8") as file:
        json.dump(document, file, ensure_ascii=False)
    target = os.path.join(folder, "default.tml")
    subprocess.run([CLI, "import", source, "-o", target, "--code-page", str(code_page)],
                   check=True, capture_output=True)
    os.remove(source)
    return target


def export(project_file, code_page=65001):
    folder = os.path.dirname(project_file)
    subprocess.run([CLI, "html", project_file, "-o", folder, "--code-page", str(code_page)],
                   check=True, capture_output=True)
    return "file://" + urllib.parse.quote(os.path.join(folder, "index.html"))


def obj(caption, kind=0, path="", hint="", comments="", children=None):
    return {"Caption": caption, "Hint": hint, "ObjectType": kind, "ObjectAction": 4,
            "PathFileName": path, "Parameters": "", "Comments": comments,
            "children": children or []}


def relative_project(name):
    return {"ProjectDataDir": ".", "ProjectName": name, "ProjectName2": "",
            "SplashFileName": "", "SplashShowTime": 0, "AbsolutePath": False,
            "ProjectDescription": ""}


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="tomlet-page-test-")
        cls.browser = start_chromium(os.path.join(cls.work, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.work, ignore_errors=True)

    def folder(self, name):
        path = os.path.join(self.work, name)
        os.makedirs(path)
        return path

    def open_page(self, url):
        self.browser.get(url)
        wait_for_tree(self.browser)

    def item(self, caption):
        for element in self.browser.find_elements(By.CSS_SELECTOR, '[role="treeitem"]'):
            if element.find_element(By.CSS_SELECTOR, ".caption").get_property(
                    "textContent") == caption:
                return element
        self.fail("no tree item " + caption)

    def hover(self, element):
        ActionChains(self.browser).move_to_element(
            element.find_element(By.CSS_SELECTOR, ".caption")).perform()
        hint = self.browser.find_element(By.ID, "hint")
        WebDriverWait(self.browser, 5).until(lambda _: hint.is_displayed())
        return hint.text

    def assert_no_page_errors(self):
        errors = [entry for entry in self.browser.get_log("browser")
                  if entry["level"] == "SEVERE"]
        self.assertEqual(errors, [])

    def test_demo_disc_browses_and_opens_its_files(self):
        disc = self.folder("demo")
        shutil.copytree(os.path.join(DEMO, "disc"), disc, dirs_exist_ok=True)
        project = os.path.join(disc, "default.tml")
        subprocess.run([CLI, "import", os.path.join(DEMO, "project.json"), "-o", project],
                       check=True, capture_output=True)
        self.open_page(export(project))

        top = self.browser.find_elements(By.CSS_SELECTOR, '#tree > [role="treeitem"]')
        self.assertEqual([item.find_element(By.CSS_SELECTOR, ".caption").text for item in top],
                         ["Start here", "Setup", "Documents", "Web site", "Pictures", "Extras"])
        pictures = [self.browser.execute_script(
            "return getComputedStyle(arguments[0]).backgroundImage",
            item.find_element(By.CSS_SELECTOR, ".caption")) for item in top]
        # Start here, a virtual folder, is selected: it shows the open magenta book. The others
        # are folders: the closed blue book. The pictures are shipped with the page.
        self.assertIn("/pictures/16/3.png", pictures[0])
        for picture in pictures[1:]:
            self.assertIn("/pictures/16/0.png", picture)
        self.assertTrue(os.path.isfile(os.path.join(disc, "tomlet-page", "pictures", "16",
                                                    "0.png")))
        self.assertEqual(self.browser.find_element(By.ID, "name").text, "Demo Suite 2.1")

        setup = self.item("Setup")
        self.assertEqual(setup.get_attribute("aria-expanded"), "false")
        setup.find_element(By.CSS_SELECTOR, ".twisty").click()
        WebDriverWait(self.browser, 5).until(
            lambda _: setup.find_elements(By.CSS_SELECTOR, '[role="group"] [role="treeitem"]'))
        self.assertEqual(setup.get_attribute("aria-expanded"), "true")
        program = self.item("Setup program")

        hint = self.hover(program)
        self.assertIn("Installs Demo Suite 2.1", hint)
        self.assertIn(os.path.join("Setup", "setup.exe"), hint)
        self.assertIn("357.000 byte", hint)

        # The keyboard goes down the tree; a double click opens the object's file.
        program.click()
        program.send_keys(Keys.ARROW_DOWN)
        self.browser.switch_to.active_element.send_keys(Keys.ARROW_DOWN)
        self.assertEqual(self.browser.switch_to.active_element.text, "Serial number")
        self.assertEqual(self.browser.switch_to.active_element.get_attribute("aria-selected"),
                         "true")
        self.assert_no_page_errors()
        ActionChains(self.browser).double_click(
            self.item("Serial number").find_element(By.CSS_SELECTOR, ".caption")).perform()
        WebDriverWait(self.browser, 5).until(lambda d: d.current_url.endswith(".txt"))
        self.assertEqual(self.browser.current_url,
                         "file://" + urllib.parse.quote(os.path.join(disc, "Setup",
                                                                     "serial.txt")))

    def test_cyrillic_search_finds_its_object_in_a_code_page_1251_project(self):
        disc = self.folder("cyrillic")
        project = write_project(disc, relative_project("Архив"), [
            obj("Документы", 2, children=[
                obj("Годовой ОТЧЁТ", comments="за прошлый год\r\n"),
                obj("Письмо", hint="старое"),
            ]),
            obj("Фото"),
        ], code_page=1251)
        self.open_page(export(project, code_page=1251))
        self.assertEqual(self.browser.find_element(By.ID, "name").text, "Архив")

        query = self.browser.find_element(By.ID, "query")
        query.send_keys("отчёт" + Keys.ENTER)
        hits = WebDriverWait(self.browser, 5).until(
            lambda d: d.find_elements(By.CSS_SELECTOR, "#hits a"))
        self.assertEqual([hit.text for hit in hits], ["Годовой ОТЧЁТ"])
        hits[0].click()
        WebDriverWait(self.browser, 5).until(
            lambda d: d.switch_to.active_element.text == "Годовой ОТЧЁТ")
        self.assertEqual(self.item("Документы").get_attribute("aria-expanded"), "true")
        self.assertEqual(self.browser.find_element(By.ID, "comments").text, "за прошлый год")

        query.clear()
        query.send_keys("СТАРОЕ" + Keys.ENTER)
        WebDriverWait(self.browser, 5).until(
            lambda d: [hit.text for hit in d.find_elements(By.CSS_SELECTOR, "#hits a")]
            == ["Письмо"])
        self.assert_no_page_errors()

    def test_hostile_catalogue_shows_as_text_and_runs_nothing(self):
        disc = self.folder("hostile")
        script = "<script>alert(1)</script>"
        image = '"><img src=x onerror=alert(1)>'
        scheme = "javascript:alert(1)"
        with open(os.path.join(disc, scheme), "w") as file:
            file.write("a file with a hostile name")
        project = write_project(disc, relative_project(script), [
            obj(script, 0, path=scheme, hint=image, comments=scheme + "\r\n" + image + "\r\n"),
            obj(image, 2, hint="line one\r\nline two", children=[obj(scheme, path=scheme)]),
            obj("line\r\nbreak", path="..\\..\\" + script),
        ])
        self.open_page(export(project))

        captions = [element.get_property("textContent") for element in
                    self.browser.find_elements(By.CSS_SELECTOR, "#tree .caption")]
        self.assertEqual(captions, [script, image, "line\r\nbreak"])
        first = self.item(script)
        hint = self.hover(first)
        self.assertIn(image, hint)
        first.click()
        self.assertEqual(self.browser.find_element(By.ID, "comments").text,
                         scheme + "\n" + image)
        link = self.browser.find_element(By.CSS_SELECTOR, "#open-target a")
        self.assertEqual(link.get_attribute("href"),
                         "file://" + urllib.parse.quote(disc) + "/javascript%3Aalert%281%29")
        self.item("line\r\nbreak").click()
        self.assertEqual(self.browser.find_elements(By.CSS_SELECTOR, "#open-target a"), [])

        query = self.browser.find_element(By.ID, "query")
        query.send_keys("onerror" + Keys.ENTER)
        WebDriverWait(self.browser, 5).until(
            lambda d: len(d.find_elements(By.CSS_SELECTOR, "#hits a")) == 2)

        # Nothing ran, and no element the page did not make.
        with self.assertRaises(NoAlertPresentException):
            self.browser.switch_to.alert.text
        self.assertEqual(self.browser.find_elements(By.TAG_NAME, "img"), [])
        scripts = [element.get_attribute("src")
                   for element in self.browser.find_elements(By.TAG_NAME, "script")]
        self.assertTrue(all("/tomlet-page/" in source for source in scripts), scripts)
        self.assertEqual(self.browser.title, script)
        self.assert_no_page_errors()

        # Enter opens the file named like a script: a file, by its percent-encoded name.
        first = self.item(script)
        first.click()
        first.send_keys(Keys.ENTER)
        WebDriverWait(self.browser, 5).until(lambda d: "alert" in d.current_url)
        self.assertEqual(self.browser.current_url,
                         "file://" + urllib.parse.quote(disc) + "/javascript%3Aalert%281%29")
        with self.assertRaises(NoAlertPresentException):
            self.browser.switch_to.alert.text


if __name__ == "__main__":
    CLI, DEMO = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
