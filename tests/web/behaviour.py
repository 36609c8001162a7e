#!/usr/bin/python3
"""The page's driver of the behaviour table, in headless Chromium, in English
or, for the comma, in Romanian: each scenario in a freshly started page in a
window the driver opens by script, as only such a window may the page close
(Escape does). What the page says is what its polite live region is given.

    behaviour.py PAGE.html
"""
import contextlib
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'window'))
import browser_test  # noqa: E402  (reads PAGE.html from argv[1])
from behaviour_table import Failed, play_every_scenario  # noqa: E402
from selenium import webdriver  # noqa: E402
from selenium.common.exceptions import TimeoutException  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

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


class Page(browser_test.Browser):
    """A Chromium in the separator's language; its methods named as the
    table's actions play them."""

    def __init__(self, separator):
        super().__init__(LANGUAGES[separator])
        self.open().driver.execute_cdp_cmd('Browser.grantPermissions', {
            'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})

    @contextlib.contextmanager
    def fresh_window(self):
        """The page started in a window of its own, its live region listened to."""
        opener = self.driver.current_window_handle
        self.script('window.open(location.href, "_blank", "popup")')
        self.wait_for(lambda d: len(d.window_handles) == 2, 'the scenario\'s window')
        self.driver.switch_to.window(next(h for h in self.driver.window_handles if h != opener))
        try:
            self.started().script(LISTEN)
            yield self
        finally:
            if len(self.driver.window_handles) > 1:
                self.driver.close()
            self.driver.switch_to.window(opener)

    key = browser_test.Browser.press

    def paste(self, text):
        error = self.driver.execute_async_script(COPY, text)
        if error is not None:
            raise Failed('the clipboard: ' + error)
        self.press('ctrl+v')

    def drop(self, text):
        self.script(DROP, text)

    def click(self, name):
        box = self.element(name)
        webdriver.ActionChains(self.driver).move_to_element_with_offset(
            box, box.rect['width'] // 2 - browser_test.INSIDE_THE_BORDER, 0).click().perform()

    def choose(self, choice):
        Select(self.element(choice[0])).select_by_index(choice[1])

    def accessible(self, name, part):
        """The name or the description Chromium's accessibility tree gives."""
        cdp = self.driver.execute_cdp_cmd
        element = cdp('Runtime.evaluate', {'expression': 'document.getElementById("%s")' % name})
        node = cdp('DOM.describeNode', {'objectId': element['result']['objectId']})
        tree = cdp('Accessibility.getPartialAXTree', {
            'backendNodeId': node['node']['backendNodeId'], 'fetchRelatives': False})
        return tree['nodes'][0].get(part, {}).get('value', '')

    def seen(self, expect):
        if expect.get('ended'):
            return {'ended': len(self.driver.window_handles) == 1, 'said': []}
        seen = self.script(SHOWN, list(expect))
        for key in expect:
            name, _, part = key.partition('.')
            if part in ('name', 'description'):
                seen[key] = self.accessible(name, part)
        return seen

    def check(self, step):
        """What the step expects and says, once the page shows it; what was
        said is forgotten for the next step."""
        wanted = dict(step['expect'], said=step.get('said', []))
        try:
            self.wait_for(lambda d: self.seen(step['expect']) == wanted)
        except TimeoutException:
            seen = self.seen(step['expect'])
            raise Failed('; '.join('%s %r, not %r' % (key, seen.get(key), value)
                                   for key, value in wanted.items() if seen.get(key) != value))
        if not step['expect'].get('ended'):
            self.script('said.length = 0')


def main():
    if browser_test.PAGE is None or not os.path.isfile(browser_test.PAGE):
        sys.exit('usage: behaviour.py PAGE.html')
    pages = {}
    try:
        for separator in LANGUAGES:
            pages[separator] = Page(separator)
        return play_every_scenario('web', lambda separator: pages[separator].fresh_window())
    finally:
        for page in pages.values():
            page.quit()


if __name__ == '__main__':
    sys.exit(main())
