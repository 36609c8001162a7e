# INTERFACE READY
"""The browser engines the page's tests drive, each behind one interface
(Engine): how an engine starts, loads, runs scripts, types, pastes, drops,
points, emulates a screen, reads the page and what it says. What the tests
check, and what is common to every engine, is not here but in Engine's own
methods and in the tests; what an engine cannot do raises Unsupported, whose
message is the reason the test prints or skips with.
"""
import contextlib
import time

# A loaded machine may take long to start a browser; a wait ends as soon as
# its condition holds.
WAIT_SECONDS = 60
# How often a wait looks again at its condition.
POLL_SECONDS = 0.05
WINDOW_SIZE = (800, 600)
# The behaviour table's key names, as each engine names them in turn.
KEY_NAMES = ('Home', 'End', 'Left', 'Right', 'BackSpace', 'Delete', 'Tab', 'Down', 'Escape',
             'KP_Decimal')
MODIFIERS = ('ctrl', 'shift', 'alt')


class Unsupported(Exception):
    """What an engine cannot do; the message says why."""


class Engine:
    """One browser on the page, started once for a test process; a test
    opens the page afresh in it for each case.

    Started as Engine(language='en-US', scale=1, least_font=None,
    default_font=None, window_size=WINDOW_SIZE, online=False, scripts=True,
    webassembly=True): the browser's language (its Accept-Language and
    navigator.languages), the device's pixels per CSS pixel, a least font
    size and a default one in CSS pixels (None: the engine's own), the
    window's outer size, whether the network is reachable (offline, nothing
    loads but files), whether scripts run, and whether pages find
    WebAssembly (when not, it is deleted by a script before the page's own).
    """

    # The engine's name on the command line and in the table's skip keys
    # ("web-" + name).
    name = None
    # The address open() loads when given none: the page under test.
    home = None

    # What every engine does in its own way.

    def get(self, url):
        """Loads the address in the current window, returning once it has loaded."""
        raise NotImplementedError

    def script(self, code, *args):
        """Runs a function body with arguments[] and returns its value, as
        Selenium's execute_script does (elements are not returned)."""
        raise NotImplementedError

    def async_script(self, code, *args):
        """Runs a function body whose last argument is a callback, and returns
        what it was called with, as Selenium's execute_async_script does."""
        raise NotImplementedError

    def press(self, keys):
        """A key by the table's name, or keys held together: "Tab", "ctrl+shift+r"."""
        raise NotImplementedError

    def type(self, text):
        """Characters typed at the focus as a user types them, one key each."""
        raise NotImplementedError

    def paste(self, text):
        """The text put on the engine's own clipboard exactly, then Ctrl+V."""
        raise NotImplementedError

    def drop(self, text):
        """The text dropped at the focused box's caret (a drop event carrying it)."""
        self.script(DROP, text)

    def click_at(self, x, y):
        """A mouse click at a point of the viewport, in CSS pixels."""
        raise NotImplementedError

    def tap_at(self, x, y):
        """A finger's touch and lift at a point of the viewport, in CSS pixels."""
        raise NotImplementedError

    def choose(self, list_id, index):
        """The list opened by the pointer and its item at index clicked, as a
        user chooses one (the list takes the focus)."""
        raise NotImplementedError

    def open_popup(self):
        """Opens the current page's address in a popup window by the page's
        own window.open (the only kind of window a page may close), and makes
        it the current window; does not wait for it to start."""
        raise NotImplementedError

    def close_popup(self):
        """Closes the popup if it is still open, and makes the opener current."""
        raise NotImplementedError

    def window_count(self):
        """How many windows (tabs, popups) the browser has open."""
        raise NotImplementedError

    def accessible(self, element_id, part):
        """The element's accessible "name" or "description", as the engine's
        accessibility tree gives it to a screen reader."""
        raise NotImplementedError

    def emulate_media(self, *features):
        """Media features such as ('prefers-color-scheme', 'dark') for the
        pages loaded next, until emulate_media() with none."""
        raise NotImplementedError

    def emulate_screen(self, width, height):
        """A phone's screen of that many CSS pixels (the viewport, touch, a
        mobile layout) for the pages loaded next, until real_screen()."""
        raise NotImplementedError

    def real_screen(self):
        """The window's own screen again, after emulate_screen."""
        raise NotImplementedError

    def quit(self):
        """Ends the browser and whatever was started for it."""
        raise NotImplementedError

    # What every engine does alike, on the methods above.

    def wait_for(self, condition, message=''):
        """condition(self)'s first true value, looked at until WAIT_SECONDS
        have passed; then an AssertionError with the message."""
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            value = condition(self)
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError('waited %d s: %s' % (WAIT_SECONDS, message))
            time.sleep(POLL_SECONDS)

    def open(self, url=None):
        """The page afresh (or the address), once started."""
        self.get(url or self.home)
        return self.started()

    def started(self):
        """The current window's page once started; a core that cannot start fails, with why."""
        if self.ready() != 'true':
            raise AssertionError('the page did not start: %s' % self.script(
                'return document.documentElement.dataset.failure'))
        return self

    def ready(self):
        """Whether the core started, "true" or "failed", once the page says."""
        return self.wait_for(lambda e: e.script(
            'return document.documentElement.dataset.ready || false'), 'the page\'s start')

    def rect(self, name):
        return self.script('return document.getElementById(arguments[0])'
                           '.getBoundingClientRect().toJSON()', name)

    def style(self, name, css_property, pseudo=None):
        """A property of an element's computed style, or its pseudo-element's."""
        return self.script('return getComputedStyle(document.getElementById(arguments[0]), '
                           'arguments[1])[arguments[2]]', name, pseudo, css_property)

    def value(self, name):
        return self.script('return document.getElementById(arguments[0]).value', name)

    def text(self, name):
        """An element's text as it is drawn."""
        return self.script('return document.getElementById(arguments[0]).innerText', name)

    def shown(self, name):
        return self.script('return document.getElementById(arguments[0])'
                           '.getClientRects().length > 0', name)

    def enabled(self, name):
        return not self.script('return document.getElementById(arguments[0]).disabled', name)

    def focus(self):
        return self.script('return document.activeElement.id')

    def click(self, name, fraction=0.5):
        """A click inside a control's border, from its left edge (0) to its right (1)."""
        x, y = self.point_in(name, fraction)
        self.click_at(x, y)

    def tap(self, name, fraction=0.5):
        x, y = self.point_in(name, fraction)
        self.tap_at(x, y)

    def point_in(self, name, fraction):
        rect = self.rect(name)
        inside = rect['width'] - 2 * INSIDE_THE_BORDER
        return rect['left'] + INSIDE_THE_BORDER + inside * fraction, \
            rect['top'] + rect['height'] / 2

    def choose_text(self, list_id, text):
        """A list's item by its text, chosen as choose() does."""
        self.choose(list_id, self.script(
            'return [...document.getElementById(arguments[0]).options]'
            '.findIndex((o) => o.text === arguments[1])', list_id, text))

    def enter(self, c, c_unit, f, f_unit):
        """A capacitance and a frequency with their units, from the keyboard."""
        for box, text, list_name, unit in (('txtC', c, 'cboC', c_unit),
                                           ('txtFreq', f, 'cboFreq', f_unit)):
            self.choose_text(list_name, unit)
            self.click(box)
            self.script('document.getElementById(arguments[0]).select()', box)
            self.type(text)

    @contextlib.contextmanager
    def popup(self):
        """The page's address in a popup window, current until the block ends."""
        self.open_popup()
        try:
            yield self
        finally:
            self.close_popup()


# A pointer lands this far inside a box's edge, past its border.
INSIDE_THE_BORDER = 3
# A drop event carrying the text, at the focused box.
DROP = '''
const data = new DataTransfer();
data.setData('text/plain', arguments[0]);
document.activeElement.dispatchEvent(
    new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
'''

ENGINE_NAMES = ('chromium', 'firefox', 'webkit')


def engine_named(name):
    """The Engine subclass by its command-line name (Firefox's in firefox_engine.py)."""
    if name == 'firefox':
        from firefox_engine import Firefox
        return Firefox
    return {'chromium': globals().get('Chromium'), 'webkit': globals().get('WebKit')}[name]
