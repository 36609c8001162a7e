#!/usr/bin/python3
"""axe-core, the accessibility engine, on the page in headless Chromium: no
violation of any of its rules, in English and in Romanian, in the light and
the dark colour scheme, and with the browser's forced colours, on a desktop
and on a phone.

    axe_test.py PAGE.html AXE_FOLDER [unittest arguments]

AXE_FOLDER is where tests/web/fetch_axe.sh put axe-core, or npm's reason
why it could not.
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402  (reads PAGE from argv[1])

AXE_FOLDER = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
SCHEMES = [('prefers-color-scheme', 'light'), ('prefers-color-scheme', 'dark'),
           ('forced-colors', 'active')]
# The window's own layout, and a phone's arrangement of it.
SCREENS = ['desktop', (360, 740)]
# axe.run reports to a callback; the script's own callback ends the wait.
RUN_AXE = '''
const done = arguments[arguments.length - 1];
axe.run(document).then(
    (results) => done(results.violations.map(
        (v) => v.id + ': ' + v.help + ' at ' + v.nodes.map((n) => n.target.join(' ')).join(', '))),
    (error) => done(['axe failed: ' + error]));
'''


def why_no_axe():
    """Why there is no axe-core: npm's own words where it could not fetch it."""
    try:
        with open(os.path.join(AXE_FOLDER, 'fetch-failed.txt'), encoding='utf-8') as failed:
            return 'axe-core could not be fetched from npm:\n' + failed.read()
    except FileNotFoundError:
        return ('axe-core is not in %s: make test-web fetches it (tests/web/fetch_axe.sh)'
                % AXE_FOLDER)


class Accessibility(unittest.TestCase):
    def test_no_violation_in_either_language_scheme_or_screen(self):
        with open(AXE_SCRIPT, encoding='utf-8') as source:
            axe = source.read()
        for language in ('en-US', 'ro-RO'):
            browser = browser_test.Browser(language)
            self.addCleanup(browser.quit)
            browser.driver.set_script_timeout(browser_test.WAIT_SECONDS)
            for screen in SCREENS:
                for scheme in SCHEMES:
                    with self.subTest(language=language, scheme=scheme, screen=screen):
                        if screen == 'desktop':
                            browser.real_screen()
                        else:
                            browser.emulate_screen(*screen)
                        browser.emulate_media(scheme)
                        browser.open().script(axe)
                        self.assertEqual(browser.driver.execute_async_script(RUN_AXE), [])


if __name__ == '__main__':
    if AXE_FOLDER is None:
        sys.exit('usage: axe_test.py PAGE.html AXE_FOLDER')
    AXE_SCRIPT = os.path.join(AXE_FOLDER, 'node_modules', 'axe-core', 'axe.min.js')
    if not os.path.isfile(AXE_SCRIPT):
        sys.exit('FAIL: ' + why_no_axe())
    unittest.main(verbosity=2)
