#!/usr/bin/python3
"""The page's driver of the behaviour table, in one browser engine
(engines.py), in English or, for the comma, in Romanian: each scenario in a
freshly started page in a window the driver opens by script, as only such a
window may the page close (Escape does). What the page says is what its
polite live region is given. A name or description an engine cannot read
is one the table marks unread for it, with why; any other fails.

    behaviour.py [--engine chromium|firefox|webkit] PAGE.html
"""
import contextlib
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'window'))
import browser_test  # noqa: E402  (reads --engine and PAGE.html from argv)
from behaviour_table import Failed, play_every_scenario  # noqa: E402
from engines import Unsupported  # noqa: E402

LANGUAGES = {'.': 'en-US', ',': 'ro-RO'}

# What a screen reader is told: the live region's text as each frame drawn
# shows it, without its blanks, said when the region held none at the frame
# before. A text put in place of another, or emptied and given back between
# two frames, tells a screen reader nothing new.
LISTEN = '''
window.said = [];
const region = document.querySelector('[aria-live="polite"]');
let before = '';
requestAnimationFrame(function look() {
  const now = region.textContent.trim();
  if (now && !before) said.push(now);
  before = now;
  requestAnimationFrame(look);
});
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
class Page:
    """The engine in the separator's language; its methods named as the
    table's actions play them."""

    def __init__(self, separator):
        self.engine = browser_test.Browser(LANGUAGES[separator])
        self.engine.open()

    @contextlib.contextmanager
    def fresh_window(self):
        """The page started in a window of its own, its live region listened to."""
        with self.engine.popup():
            self.engine.started().script(LISTEN)
            yield self

    def key(self, keys):
        self.engine.press(keys)

    def type(self, text):
        self.engine.type(text)

    def paste(self, text):
        try:
            self.engine.paste(text)
        except AssertionError as error:
            raise Failed(str(error)) from None

    def drop(self, text):
        self.engine.drop(text)

    def click(self, name):
        self.engine.click(name, 1.0)

    def choose(self, choice):
        self.engine.choose(*choice)

    def seen(self, expect):
        """What the page shows of each expected key; what the engine cannot
        read is left out, and said once."""
        if expect.get('ended'):
            return {'ended': self.engine.window_count() == 1, 'said': []}
        seen = self.engine.script(SHOWN, list(expect))
        for key in expect:
            name, _, part = key.partition('.')
            if part in ('name', 'description'):
                try:
                    seen[key] = self.engine.accessible(name, part)
                except Unsupported as reason:
                    raise Failed('%s cannot read %s, and the table does not say so: %s'
                                 % (self.engine.name, key, reason)) from None
        return seen

    def check(self, step):
        """What the step expects and says, once the page shows it; what was
        said is forgotten for the next step."""
        wanted = dict(step['expect'], said=step.get('said', []))
        try:
            self.engine.wait_for(lambda e: self.seen(step['expect']) == wanted)
        except AssertionError:
            seen = self.seen(step['expect'])
            raise Failed('; '.join('%s %r, not %r' % (key, seen.get(key), value)
                                   for key, value in wanted.items() if seen.get(key) != value))
        if not step['expect'].get('ended'):
            self.engine.script('said.length = 0')

    def quit(self):
        self.engine.quit()


def main():
    if browser_test.PAGE is None or not os.path.isfile(browser_test.PAGE):
        sys.exit('usage: behaviour.py [--engine NAME] PAGE.html')
    pages = {}
    try:
        for separator in LANGUAGES:
            pages[separator] = Page(separator)
        return play_every_scenario('web-' + browser_test.ENGINE.name,
                                   lambda separator: pages[separator].fresh_window())
    finally:
        for page in pages.values():
            page.quit()


if __name__ == '__main__':
    sys.exit(main())
