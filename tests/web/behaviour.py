#!/usr/bin/python3
"""The page's driver of the behaviour table (tests/window/behaviour.json):
each scenario in a freshly started page in headless Chromium, in a window
the driver opens by script (only there may the page close its window, as
Escape does), in English or, for the comma, in Romanian. Pastes go through
the browser's own clipboard and paste key; a drop is a drop event at the
focused box. The page's polite live region is what the page says.

    behaviour.py PAGE.html [unittest arguments]
"""
import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402  (reads PAGE.html from argv[1])
from selenium import webdriver  # noqa: E402
from selenium.common.exceptions import TimeoutException  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

PRESENTATION = 'web'
TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'window', 'behaviour.json')
LANGUAGES = {'.': 'en-US', ',': 'ro-RO'}

# Every text the live region is given, each in a text node of its own as the
# page empties and refills it.
LISTEN = '''
window.said = [];
new MutationObserver((records) => records.forEach((r) => r.addedNodes.forEach((n) => {
  if (n.textContent) said.push(n.textContent);
}))).observe(document.querySelector('[aria-live="polite"]'), {childList: true, subtree: true});
'''
# What the page shows of each expected key but names and descriptions.
SHOWN = '''
const out = {said: window.said};
for (const key of arguments[0]) {
  const [name, part] = key.split('.');
  const e = document.getElementById(name);
  if (key === 'focus') out[key] = document.activeElement.id;
  else if (part === 'sel') out[key] = [e.selectionStart, e.selectionEnd];
  else if (part === 'shown') out[key] = e.getClientRects().length > 0;
  else if (part === undefined) out[key] = e instanceof HTMLSelectElement ? e.selectedOptions[0].text
                                        : e instanceof HTMLInputElement ? e.value : e.textContent;
}
return out;
'''
# The text goes to the browser's clipboard exactly, line breaks and all.
COPY = '''
const done = arguments[arguments.length - 1];
navigator.clipboard.writeText(arguments[0]).then(() => done(), (error) => done(String(error)));
'''
DROP = '''
const data = new DataTransfer();
data.setData('text/plain', arguments[0]);
document.activeElement.dispatchEvent(
    new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
'''


def skip_reason(row):
    return row.get('skip', {}).get(PRESENTATION)


class Behaviour(unittest.TestCase):
    browsers = {}
    maxDiff = None  # the whole state a step expects

    @classmethod
    def tearDownClass(cls):
        for browser in cls.browsers.values():
            browser.quit()

    def start(self, separator):
        """A freshly started page in a window opened by the first one's
        script, the live region listened to."""
        if separator not in self.browsers:
            self.browsers[separator] = browser_test.Browser(LANGUAGES[separator]).open()
            self.browsers[separator].driver.execute_cdp_cmd('Browser.grantPermissions', {
                'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})
        self.page = self.browsers[separator]
        driver = self.page.driver
        opener = driver.current_window_handle
        self.page.script('window.open(location.href, "_blank", "popup")')
        self.page.wait_for(lambda d: len(d.window_handles) == 2, 'the scenario\'s window')
        driver.switch_to.window(next(h for h in driver.window_handles if h != opener))
        self.addCleanup(self.finish, opener)
        self.page.started().script(LISTEN)

    def finish(self, opener):
        driver = self.page.driver
        if len(driver.window_handles) > 1:
            driver.close()
        driver.switch_to.window(opener)

    def do(self, verb, argument):
        p = self.page
        if verb == 'type':
            p.type(argument)
        elif verb == 'key':
            p.press(argument)
        elif verb == 'paste':
            self.assertIsNone(p.driver.execute_async_script(COPY, argument), 'the clipboard')
            p.press('ctrl+v')
        elif verb == 'drop':
            p.script(DROP, argument)
        elif verb == 'click':
            box = p.element(argument)
            webdriver.ActionChains(p.driver).move_to_element_with_offset(
                box, box.rect['width'] // 2 - browser_test.INSIDE_THE_BORDER, 0).click().perform()
        elif verb == 'choose':
            Select(p.element(argument[0])).select_by_index(argument[1])
        else:
            self.fail('no such action: ' + verb)

    def accessible(self, name, part):
        """The name or the description Chromium's accessibility tree gives."""
        cdp = self.page.driver.execute_cdp_cmd
        element = cdp('Runtime.evaluate', {'expression': 'document.getElementById("%s")' % name})
        node = cdp('DOM.describeNode', {'objectId': element['result']['objectId']})
        tree = cdp('Accessibility.getPartialAXTree', {
            'backendNodeId': node['node']['backendNodeId'], 'fetchRelatives': False})
        return tree['nodes'][0].get(part, {}).get('value', '')

    def seen(self, expect):
        if expect.get('ended'):
            return {'ended': len(self.page.driver.window_handles) == 1, 'said': []}
        seen = self.page.script(SHOWN, list(expect))
        for key in expect:
            name, _, part = key.partition('.')
            if part in ('name', 'description'):
                seen[key] = self.accessible(name, part)
        return seen

    def check(self, step, number):
        wanted = dict(step['expect'], said=step.get('said', []))
        try:
            self.page.wait_for(lambda d: self.seen(step['expect']) == wanted)
        except TimeoutException:
            self.assertEqual(self.seen(step['expect']), wanted, 'step %d' % number)

    def play(self, scenario):
        if skip_reason(scenario):
            self.skipTest(skip_reason(scenario))
        self.start(scenario.get('separator', '.'))
        for number, step in enumerate(scenario['steps'], 1):
            if skip_reason(step):
                with self.subTest(step=number):
                    self.skipTest(skip_reason(step))
                continue
            self.page.script('said.length = 0')
            for verb, argument in step.get('do', []):
                self.do(verb, argument)
            self.check(step, number)


with open(TABLE, encoding='utf-8') as table:
    for row in json.load(table)['scenarios']:
        setattr(Behaviour, 'test_' + row['name'], lambda self, row=row: self.play(row))

if __name__ == '__main__':
    if browser_test.PAGE is None or not os.path.isfile(browser_test.PAGE):
        sys.exit('usage: behaviour.py PAGE.html')
    unittest.main(verbosity=2)
