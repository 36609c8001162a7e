#!/usr/bin/python3
"""The page's own work in a real browser, where the behaviour table
(behaviour.py) does not reach: what it loads and its security policy, its
places at two device scales and in a phone's column, large text, taps on a
touch screen, the page without scripts or WebAssembly, its colours, Escape in
a tab the user opened and the keys whose default it prevents. Debian's
headless Chromium, driven through chromedriver by Selenium, opens the built
file from disk with the network off.

    browser_test.py PAGE.html [unittest arguments]

Each browser has its own profile folder and its chromedriver its own free
port, so that several runs go side by side. Every wait is for a condition.
"""
import os
import shutil
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

PAGE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync']
# A loaded machine may take long to start a browser; a wait ends as soon as
# its condition holds.
WAIT_SECONDS = 60
WINDOW_SIZE = (800, 600)
# A pointer lands this far inside a box's edge, past its border.
INSIDE_THE_BORDER = 3


class Browser:
    """One headless Chromium on the page, offline, in a language."""

    def __init__(self, language='en-US', scale=1, prefs=None):
        self.profile = tempfile.mkdtemp(prefix='velmorida-chromium-')
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for flag in CHROMIUM_FLAGS:
            options.add_argument(flag)
        options.add_argument('--user-data-dir=' + self.profile)
        options.add_argument('--lang=' + language)
        options.add_argument('--accept-lang=' + language)
        options.add_argument('--force-device-scale-factor=%g' % scale)
        options.add_argument('--window-size=%d,%d' % WINDOW_SIZE)
        options.add_experimental_option('prefs', {'intl.accept_languages': language,
                                                  **(prefs or {})})
        try:
            self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'),
                                           options=options)
        except Exception:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})

    def open(self):
        """The page afresh, once its script has started the calculator."""
        self.driver.get('file://' + PAGE)
        return self.started()

    def started(self):
        """The page of the current window once its script has started the
        calculator; a core that could not start fails the test at once, with
        its reason."""
        if self.ready() != 'true':
            raise AssertionError('the page did not start: %s' % self.script(
                'return document.documentElement.dataset.failure'))
        return self

    def ready(self):
        """Once the page's script says whether the core started: "true" or
        "failed"."""
        return self.wait_for(lambda d: d.execute_script(
            'return document.documentElement.dataset.ready || false'))

    def rect(self, name):
        return self.script('return document.getElementById(arguments[0])'
                           '.getBoundingClientRect().toJSON()', name)

    def emulate_screen(self, width, height):
        """A phone's screen, until real_screen."""
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': True})

    def real_screen(self):
        self.driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})

    def wait_for(self, condition, message=''):
        return WebDriverWait(self.driver, WAIT_SECONDS).until(condition, message)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def value(self, name):
        return self.element(name).get_property('value')

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def type(self, keys):
        """Keys into whatever has the focus."""
        webdriver.ActionChains(self.driver).send_keys(keys).perform()

    def control(self, key):
        """Control and a key, held together."""
        webdriver.ActionChains(self.driver).key_down(Keys.CONTROL).send_keys(key) \
            .key_up(Keys.CONTROL).perform()

    def enter(self, c, c_unit, f, f_unit):
        """A capacitance and a frequency with their units, from the keyboard."""
        for box, text, list_name, unit in (('txtC', c, 'cboC', c_unit),
                                           ('txtFreq', f, 'cboFreq', f_unit)):
            Select(self.element(list_name)).select_by_visible_text(unit)
            self.element(box).click()
            self.script('document.getElementById(arguments[0]).select()', box)
            self.type(text)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)


class PageTest(unittest.TestCase):
    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(scale=cls.scale)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()

    def setUp(self):
        self.page = self.browser.open()


# Nothing may come from anywhere but the page itself, and the page may send
# nothing anywhere: its policy exactly, a directive more is a hole.
POLICY = ("default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval'; "
          "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'")
# The boxes take six characters, from a keyboard for figures.
BOX_ATTRIBUTES = {'maxlength': '6', 'inputmode': 'decimal'}


class Loaded(PageTest):
    def test_the_page_alone_under_its_policy(self):
        p = self.page
        self.assertEqual(p.driver.title, 'Velmorida condensatoarelor')
        self.assertEqual(p.script('return performance.getEntriesByType("resource").length'), 0)
        self.assertEqual(p.script('return document.querySelector('
                                  '"meta[http-equiv=Content-Security-Policy]").content'), POLICY)
        for box in ('txtC', 'txtFreq'):
            for name, value in BOX_ATTRIBUTES.items():
                self.assertEqual(p.element(box).get_attribute(name), value, box)
        # Started, it says nothing of needing scripts, and every control works.
        self.assertFalse(p.element('needs').is_displayed())
        self.assertEqual(p.script('return document.querySelectorAll(":disabled").length'), 0)


class Keyboard(PageTest):
    def test_escape_leaves_a_tab_the_user_opened(self):
        p = self.page
        p.type(Keys.ESCAPE + '5')
        self.assertEqual((len(p.driver.window_handles), p.value('txtC')), (1, '5'))

    def test_ctrl_r_does_not_reload_wherever_the_focus_is(self):
        # Its default prevented: a headless browser's Ctrl+R never reloads.
        p = self.page
        p.script('addEventListener("keydown", (e) => { window.prevented = e.defaultPrevented; })')
        for name in ('txtC', 'cboC', 'txtR'):
            p.script('window.prevented = null; document.getElementById(arguments[0]).focus()',
                     name)
            p.control('r')
            self.assertIs(p.script('return window.prevented'), True, name)


# Each control's place in CSS pixels from the window's corner: the frame at
# (8, 8) and the control's place within it, 15 twips a pixel.
PLACES = {
    'txtC': (8 + 48, 8 + 60, 57, 24),
    'cboC': (8 + 104, 8 + 60, 73, 24),
    'txtFreq': (8 + 48, 8 + 140, 57, 24),
    'cboFreq': (8 + 104, 8 + 140, 73, 24),
    'txtR': (8 + 259, 8 + 104, 73, 25),
    'lblEtichete1': (8 + 16, 8 + 32),
    'lblEtichete2': (8 + 48, 8 + 120),
    'lblEtichete0': (8 + 224, 8 + 80),
    'lblUM': (8 + 347, 8 + 108),
    'lblQZ9XK': (8 + 288, 8 + 32),
}


class Places(PageTest):
    def test_places_within_a_pixel(self):
        p = self.page
        window = p.rect('frmVelmorida')
        self.assertEqual((round(window['width']), round(window['height'])), (451, 201))
        for name, place in PLACES.items():
            rect = p.rect(name)
            measured = (rect['left'] - window['left'], rect['top'] - window['top'],
                        rect['width'], rect['height'])[:len(place)]
            for got, want in zip(measured, place):
                self.assertLessEqual(abs(got - want), 1, '%s: %s' % (name, measured))

    def test_the_unit_widens_keeping_its_left_edge(self):
        p = self.page
        before = p.rect('lblUM')
        p.type('1' + Keys.TAB + Keys.TAB + '1')  # 1 pF at 1 Hz: MOhm
        after = p.rect('lblUM')
        self.assertEqual(after['left'], before['left'])
        self.assertGreater(after['width'], before['width'])


class PlacesAtDeviceScaleTwo(Places):
    scale = 2


# Phones narrower than the window at a phone's least text size, upright and
# on their side: one column in the tab order, each caption on a line of its
# own with what it names below it, and beside a box its unit list, beside
# the read-out its unit.
PHONES = [
    ('SmallUpright', 320, 568),
    ('Upright360', 360, 740),
    ('Upright412', 412, 915),
    ('SmallOnItsSide', 480, 320),
]
COLUMN = ['lblEtichete1', 'txtC', 'lblEtichete2', 'txtFreq', 'lblEtichete0', 'txtR', 'lblQZ9XK']
BESIDE = {'txtC': 'cboC', 'txtFreq': 'cboFreq', 'txtR': 'lblUM'}
TARGETS = ['txtC', 'cboC', 'txtFreq', 'cboFreq', 'txtR']
WINDOW_ELEMENTS = '#frmVelmorida label, #frmVelmorida input, #frmVelmorida select'
LEAST_PHONE_TEXT = 16
LEAST_TARGET = 44
# A box holding only its "0" is selected when a tap (or a click) gives it the
# focus, so that the first digit replaces the "0" wherever the finger landed;
# in a box holding a number the caret goes where it is put. Tab has gone
# through the frequency box, leaving BEFORE in it (and selected); the finger
# lands from the box's left edge (0) to its right (1), then a digit is typed.
TAPS = [
    ('TapAtTheLeftEdge', 'tap', 0.0, '', '5', '5'),
    ('TapInTheMiddle', 'tap', 0.5, '', '5', '5'),
    ('TapAtTheRightEdge', 'tap', 1.0, '', '5', '5'),
    ('ClickAtTheLeftEdge', 'click', 0.0, '', '5', '5'),
    ('TapAfterANumber', 'tap', 1.0, '47', '1', '471'),
]


class Phone(PageTest):
    def tearDown(self):
        self.browser.real_screen()

    def test_one_column_large_enough_for_a_finger(self):
        for name, width, height in PHONES:
            with self.subTest(name):
                p = self.browser
                p.emulate_screen(width, height)
                p.open()
                self.assertLessEqual(p.script('return document.documentElement.scrollWidth'),
                                     width, 'no sideways scrolling')
                sizes = p.script('return [...document.querySelectorAll(arguments[0])]'
                                 '.map((e) => parseFloat(getComputedStyle(e).fontSize))',
                                 WINDOW_ELEMENTS)
                self.assertGreaterEqual(min(sizes), LEAST_PHONE_TEXT)
                for target in TARGETS:
                    rect = p.rect(target)
                    self.assertGreaterEqual(min(rect['width'], rect['height']), LEAST_TARGET,
                                            target)
                    self.assertLessEqual(rect['right'], width, target)
                rects = [p.rect(element) for element in COLUMN]
                for above, below, rect_above, rect_below in zip(COLUMN, COLUMN[1:], rects,
                                                                 rects[1:]):
                    self.assertLessEqual(rect_above['bottom'], rect_below['top'] + 0.5,
                                         '%s above %s' % (above, below))
                for left, right in BESIDE.items():
                    a, b = p.rect(left), p.rect(right)
                    self.assertLessEqual(a['right'], b['left'], '%s before %s' % (left, right))
                    self.assertTrue(a['top'] < b['bottom'] and b['top'] < a['bottom'],
                                    '%s beside %s' % (left, right))

    def test_a_tap_into_a_lone_zero_selects_it(self):
        p = self.browser
        p.emulate_screen(360, 740)
        for name, how, fraction, before, typed, after in TAPS:
            with self.subTest(name):
                p.open().type(Keys.TAB + Keys.TAB + before + Keys.TAB)
                rect = p.rect('txtFreq')
                x = rect['left'] + INSIDE_THE_BORDER + (rect['width'] - 2 * INSIDE_THE_BORDER) \
                    * fraction
                y = rect['top'] + rect['height'] / 2
                if how == 'tap':
                    for kind, points in (('touchStart', [{'x': x, 'y': y}]), ('touchEnd', [])):
                        p.driver.execute_cdp_cmd('Input.dispatchTouchEvent',
                                                 {'type': kind, 'touchPoints': points})
                else:
                    webdriver.ActionChains(p.driver).move_to_element_with_offset(
                        p.element('txtFreq'), round(x - rect['left'] - rect['width'] / 2), 0) \
                        .click().perform()
                p.wait_for(lambda d: p.script('return document.activeElement.id') == 'txtFreq',
                           name)
                p.type(typed)
                self.assertEqual(p.value('txtFreq'), after)


# The browser's minimum font size and its text size doubled: the window
# grows with its text. Inputs that show whole at the usual size, and the
# read-out's figures.
LARGE_TEXT = [
    ('UsualSize', {}),
    ('LeastFont20', {'webkit.webprefs.minimum_font_size': 20}),
    ('TextDoubled', {'webkit.webprefs.default_font_size': 32}),
]
LARGE_SCREEN = (1280, 800)
DESIGN_FONT = 13


class LargeText(unittest.TestCase):
    def check(self, name, prefs):
        browser = Browser(prefs=prefs)
        try:
            p = browser
            p.driver.set_window_size(*LARGE_SCREEN)
            p.open()
            scale = p.script('return parseFloat(getComputedStyle(document.getElementById('
                             '"txtC")).fontSize)') / DESIGN_FONT
            names = COLUMN + list(BESIDE.values())
            rects = {n: p.rect(n) for n in names}
            # A box and its list share a designed pixel of border.
            slack = scale + 0.5
            for i, a in enumerate(names):
                for b in names[i + 1:]:
                    ra, rb = rects[a], rects[b]
                    across = min(ra['right'], rb['right']) - max(ra['left'], rb['left'])
                    down = min(ra['bottom'], rb['bottom']) - max(ra['top'], rb['top'])
                    self.assertFalse(across > slack and down > slack,
                                     '%s: %s overlaps %s' % (name, a, b))
            whole = ('const e = document.getElementById(arguments[0]);'
                     'return e.scrollWidth <= e.clientWidth')
            p.enter('0.0047', 'uF', '100000', 'Hz')
            for box, text in (('txtC', '0.0047'), ('txtFreq', '100000')):
                self.assertEqual(p.value(box), text)
                self.assertTrue(p.script(whole, box), '%s: %s cut' % (name, text))
            p.enter('0.47', 'nF', '1', 'kHz')
            self.assertEqual(p.value('txtR'), '338.799')
            self.assertTrue(p.script(whole, 'txtR'), '%s: the figure cut' % name)
            p.enter('1', 'uF', '1', 'kHz')
            self.assertEqual(p.value('txtR'), '159.23567')
            self.assertEqual(p.script('return document.getElementById("txtR").scrollLeft'), 0)
        finally:
            browser.quit()

    def test_nothing_overlaps_and_texts_stay_whole(self):
        for name, prefs in LARGE_TEXT:
            with self.subTest(name):
                self.check(name, prefs)


# What the page shows before the core starts, for good where it cannot: the
# window itself, its controls disabled, and a line that says why.
NEEDS = 'Calculatorul are nevoie de JavaScript si WebAssembly pentru a functiona.'
STARTED_LOOK = {'txtC': '0', 'cboC': 'pF', 'txtFreq': '0', 'cboFreq': 'Hz', 'txtR': '0'}


class WithoutTheCore(unittest.TestCase):
    def setUp(self):
        self.browser = Browser()
        self.addCleanup(self.browser.quit)

    def check_window_without_core(self):
        p = self.browser
        for name, value in STARTED_LOOK.items():
            self.assertEqual(p.value(name), value, name)
            self.assertTrue(p.script('return document.getElementById(arguments[0]).disabled',
                                     name), name)
        self.assertEqual(p.element('lblEtichete1').text, 'Capacitatea condensatorului:')
        self.assertEqual(p.element('lblUM').text, 'Ohm')
        shown = [e.text for e in p.driver.find_elements(By.CSS_SELECTOR, '.notice')
                 if e.is_displayed()]
        self.assertEqual(shown, [NEEDS])

    def test_scripts_off(self):
        p = self.browser
        p.driver.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': True})
        p.driver.get('file://' + PAGE)
        self.check_window_without_core()

    def test_no_webassembly(self):
        p = self.browser
        p.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                 {'source': 'delete window.WebAssembly;'})
        p.driver.get('file://' + PAGE)
        self.assertEqual(p.ready(), 'failed')
        self.check_window_without_core()


# The window's own colours in the ordinary schemes, light or dark: each
# element's (or its selected text's) background and text.
WHITE_ON_NAVY = ('rgb(0, 0, 128)', 'rgb(255, 255, 255)')
OWN_COLOURS = {
    'frmVelmorida': ('rgb(224, 224, 224)', 'rgb(0, 0, 0)'),
    'lblEtichete1': ('rgb(224, 224, 224)', 'rgb(0, 0, 0)'),
    'txtC': ('rgb(192, 255, 192)', 'rgb(0, 0, 0)'),
    'txtFreq': ('rgb(192, 255, 192)', 'rgb(0, 0, 0)'),
    'txtR': ('rgb(255, 255, 128)', 'rgb(0, 0, 0)'),
    'txtC::selection': WHITE_ON_NAVY,
    'txtFreq::selection': WHITE_ON_NAVY,
    'txtR::selection': WHITE_ON_NAVY,
}
COMPUTED = '''
const [name, pseudo] = arguments[0].split('::');
const style = getComputedStyle(document.getElementById(name), pseudo ? '::' + pseudo : null);
return [style.backgroundColor, style.color];
'''
class Colours(PageTest):
    def test_own_colours_in_light_and_dark(self):
        emulate = self.browser.driver.execute_cdp_cmd
        self.addCleanup(emulate, 'Emulation.setEmulatedMedia', {'features': []})
        for scheme in ('light', 'dark'):
            emulate('Emulation.setEmulatedMedia',
                    {'features': [{'name': 'prefers-color-scheme', 'value': scheme}]})
            p = self.browser.open()
            for name, colours in OWN_COLOURS.items():
                self.assertEqual(tuple(p.script(COMPUTED, name)), colours,
                                 '%s in %s' % (name, scheme))


if __name__ == '__main__':
    if PAGE is None or not os.path.isfile(PAGE):
        sys.exit('usage: browser_test.py PAGE.html')
    unittest.main(verbosity=2)
