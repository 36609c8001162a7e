#!/usr/bin/python3
"""The page in a real browser: Debian's headless Chromium, driven through
chromedriver by Selenium, opens the built file from disk with the network
off and is used as a person uses it: keys, pastes, the mouse, Tab.

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
        """The page afresh, once its script has started the calculator; a
        core that could not start fails the test at once, with its reason."""
        if self.load() != 'true':
            raise AssertionError('the page did not start: %s' % self.script(
                'return document.documentElement.dataset.failure'))
        return self

    def load(self):
        """The page afresh, until its script says whether the core started:
        "true" or "failed"."""
        self.driver.get('file://' + PAGE)
        return self.wait_for(lambda d: d.execute_script(
            'return document.documentElement.dataset.ready || false'))

    def rect(self, name):
        return self.script('return document.getElementById(arguments[0])'
                           '.getBoundingClientRect().toJSON()', name)

    def emulate_screen(self, width, height):
        """A phone's screen, until the test ends."""
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

    def selection(self, name):
        return tuple(self.script('const e = document.getElementById(arguments[0]);'
                                 'return [e.selectionStart, e.selectionEnd];', name))

    def focused(self):
        return self.script('return document.activeElement.id')

    def said(self):
        return self.element('announcement').get_property('textContent')

    def shown(self, name):
        return self.element(name).is_displayed()

    def type(self, keys):
        """Keys into whatever has the focus."""
        webdriver.ActionChains(self.driver).send_keys(keys).perform()

    def control(self, key):
        """Control and a key, held together."""
        webdriver.ActionChains(self.driver).key_down(Keys.CONTROL).send_keys(key) \
            .key_up(Keys.CONTROL).perform()

    def choose(self, list_name, unit):
        Select(self.element(list_name)).select_by_visible_text(unit)

    def paste(self, box, text):
        """Through the browser's own clipboard: the text is copied from a
        scratch field, then pasted into the box over its whole content."""
        self.script('const t = document.createElement("textarea"); t.id = "scratch";'
                    'document.body.appendChild(t); t.value = arguments[0]; t.select();', text)
        self.control('c')
        self.script('document.getElementById("scratch").remove()')
        self.element(box).click()
        self.script('document.getElementById(arguments[0]).select()', box)
        self.control('v')

    def enter(self, c, c_unit, f, f_unit):
        """A capacitance and a frequency with their units, from the keyboard."""
        self.choose('cboC', c_unit)
        self.choose('cboFreq', f_unit)
        for box, text in (('txtC', c), ('txtFreq', f)):
            self.element(box).click()
            self.script('document.getElementById(arguments[0]).select()', box)
            self.type(text)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)


class PageTest(unittest.TestCase):
    language = 'en-US'
    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(cls.language, cls.scale)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()

    def setUp(self):
        self.page = self.browser.open()


class StartUp(PageTest):
    def test_start_up_state(self):
        p = self.page
        self.assertEqual(p.driver.title, 'Velmorida condensatoarelor')
        expected = {'txtC': '0', 'cboC': 'pF', 'txtFreq': '0', 'cboFreq': 'Hz', 'txtR': '0'}
        for name, value in expected.items():
            self.assertEqual(p.value(name), value, name)
        self.assertEqual(p.element('lblUM').text, 'Ohm')
        self.assertEqual(p.focused(), 'txtC')
        self.assertEqual(p.selection('txtC'), (0, 1))
        for box in ('txtC', 'txtFreq'):
            self.assertEqual(p.element(box).get_attribute('inputmode'), 'decimal', box)

    def test_nothing_is_loaded_from_anywhere(self):
        p = self.page
        self.assertEqual(p.script('return performance.getEntriesByType("resource").length'), 0)
        policy = p.script('return document.querySelector('
                          '"meta[http-equiv=Content-Security-Policy]").content')
        self.assertIn("default-src 'none'", policy)


# Keys typed into the capacitance box from its start-up state ("0" selected):
# the box's text and where the caret or selection ends.
TYPING = [
    ('DigitReplacesTheSelectedZero', '4', '4', (1, 1)),
    ('SeparatorFirstBecomesZeroSelected', '.', '0', (0, 1)),
    ('LeadingZeroThenSeparator', '0.47', '0.47', (4, 4)),
    ('LetterBecomesZeroSelected', '4a', '0', (0, 1)),
    ('MinusAloneBecomesZeroSelected', '-', '0', (0, 1)),
    ('SeventhCharacterIsCut', '1234567', '123456', (6, 6)),
    ('ExponentTypedBetweenTheDigits', '13' + Keys.LEFT + 'e', '1e3', (2, 2)),
    ('DigitInTheMiddleKeepsTheCaret', '15' + Keys.LEFT + '0', '105', (2, 2)),
]


class Typing(PageTest):
    def test_corrections_and_caret(self):
        for name, keys, text, caret in TYPING:
            with self.subTest(name):
                p = self.browser.open()
                p.type(keys)
                self.assertEqual(p.value('txtC'), text)
                self.assertEqual(p.selection('txtC'), caret)

    def test_pastes_lose_edge_line_breaks_only(self):
        rows = [
            ('SpreadsheetCell', '470\r\n', '470'),
            ('LeadingLineBreak', '\n47', '47'),
            ('NegativeBecomesPositive', '-5', '5'),
            ('BreakInsideIsNotANumber', '4\n7', '0'),
            ('BlanksStay', ' 47 ', ' 47 '),
            ('LongPasteKeepsSixCharacters', '1234567890', '123456'),
        ]
        for name, pasted, text in rows:
            with self.subTest(name):
                p = self.browser.open()
                p.paste('txtC', pasted)
                p.wait_for(lambda d: p.value('txtC') == text,
                           '%s: %r' % (name, p.value('txtC')))


# The nine rows of the reactance table: inputs, read-out, unit.
REACTANCE = [
    ('100', 'nF', '1', 'kHz', '1.592', 'kOhm'),
    ('10', 'uF', '50', 'Hz', '318.47134', 'Ohm'),
    ('470', 'pF', '100', 'MHz', '3.38799', 'Ohm'),
    ('1', 'uF', '1', 'MHz', '0.15924', 'Ohm'),
    ('1', 'nF', '1', 'Hz', '159.236', 'MOhm'),
    ('1', 'pF', '1', 'Hz', '159235.669', 'MOhm'),
    ('999999', 'uF', '15924', 'Hz', '1E-05', 'Ohm'),
    ('0', 'nF', '5', 'kHz', '0', 'Ohm'),
    ('100', 'nF', '0', 'MHz', '0', 'Ohm'),
]


class Reactance(PageTest):
    def test_reactance_table(self):
        for c, c_unit, f, f_unit, figure, unit in REACTANCE:
            with self.subTest(c=c, c_unit=c_unit, f=f, f_unit=f_unit):
                p = self.browser.open()
                p.enter(c, c_unit, f, f_unit)
                self.assertEqual((p.value('txtR'), p.element('lblUM').text), (figure, unit))

    def test_unit_label_widens_keeping_its_left_edge(self):
        p = self.page
        before = p.element('lblUM').rect
        p.enter('1', 'nF', '1', 'Hz')
        after = p.element('lblUM').rect
        self.assertEqual(after['x'], before['x'])
        self.assertGreater(after['width'], before['width'])

    def test_overflow_hides_the_read_out_until_inputs_compute(self):
        p = self.page
        for box in ('txtC', 'txtFreq'):
            p.paste(box, '1e-300')
        read_out = ('txtR', 'lblUM', 'lblEtichete0')
        p.wait_for(lambda d: not any(p.shown(name) for name in read_out), 'hidden')
        self.assertEqual(p.said(), '')
        p.paste('txtFreq', '1')
        p.wait_for(lambda d: all(p.shown(name) for name in read_out), 'shown again')

    def test_units_by_mouse_and_keyboard(self):
        p = self.page
        p.enter('100', 'pF', '1', 'kHz')
        p.choose('cboC', 'nF')
        self.assertEqual((p.value('txtR'), p.element('lblUM').text), ('1.592', 'kOhm'))
        p.element('cboFreq').click()
        p.element('cboFreq').send_keys(Keys.ESCAPE)  # the popup closes, the focus stays
        p.type(Keys.DOWN)
        p.wait_for(lambda d: p.value('cboFreq') == 'MHz', 'the next unit by keyboard')
        self.assertEqual((p.value('txtR'), p.element('lblUM').text), ('1.59236', 'Ohm'))


class Keyboard(PageTest):
    def test_tab_order(self):
        p = self.page
        visited = []
        for _ in range(4):
            p.type(Keys.TAB)
            visited.append(p.focused())
        self.assertEqual(visited, ['cboC', 'txtFreq', 'cboFreq', 'txtR'])

    def test_keypad_decimal_types_the_language_separator(self):
        p = self.page
        p.type('1' + Keys.DECIMAL + '5')
        self.assertEqual(p.value('txtC'), '1.5')

    def test_escape_leaves_a_tab_the_page_did_not_open(self):
        p = self.page
        p.type(Keys.ESCAPE)
        p.enter('100', 'nF', '1', 'kHz')
        self.assertEqual(p.value('txtR'), '1.592')

    def test_escape_closes_a_window_a_script_opened(self):
        p = self.page
        first = p.driver.current_window_handle
        p.script('window.open(location.href, "_blank", "popup")')
        p.wait_for(lambda d: len(d.window_handles) == 2, 'the second window')
        second = [h for h in p.driver.window_handles if h != first][0]
        p.driver.switch_to.window(second)
        p.wait_for(lambda d: d.execute_script(
            'return document.documentElement.dataset.ready === "true"'))
        p.type(Keys.ESCAPE)
        p.wait_for(lambda d: len(d.window_handles) == 1, 'the second window closed')
        p.driver.switch_to.window(first)


class ScreenReaders(PageTest):
    def test_names_from_the_captions(self):
        p = self.page
        names = {
            'txtC': 'Capacitatea condensatorului:',
            'txtFreq': 'Frecventa de lucru:',
            'txtR': 'Velmorida condensatorului:',
            'cboC': 'Capacitatea condensatorului, unitate',
            'cboFreq': 'Frecventa de lucru, unitate',
        }
        for name, accessible in names.items():
            self.assertEqual(p.element(name).accessible_name.strip(),
                             accessible.rstrip(':'), name)
        self.assertEqual(p.element('announcement').get_attribute('aria-live'), 'polite')

    def test_read_out_is_described_by_its_unit(self):
        p = self.page
        p.enter('100', 'nF', '1', 'kHz')
        node = p.driver.execute_cdp_cmd('Accessibility.getPartialAXTree', {
            'backendNodeId': p.driver.execute_cdp_cmd('DOM.describeNode', {
                'objectId': p.driver.execute_cdp_cmd('Runtime.evaluate', {
                    'expression': 'document.getElementById("txtR")'})['result']['objectId']
            })['node']['backendNodeId'],
            'fetchRelatives': False})['nodes'][0]
        self.assertEqual(node['description']['value'], 'kOhm')

    def test_live_region_texts(self):
        p = self.page
        p.enter('100', 'nF', '1', 'Hz')
        self.assertEqual(p.said(), '1.592 MOhm')
        p.choose('cboFreq', 'kHz')
        self.assertEqual(p.said(), 'kHz, 1.592 kOhm')
        p.script('document.getElementById("announcement").textContent = ""')
        p.control('r')
        self.assertEqual(p.said(), '1.592 kOhm')
        self.assertEqual(p.value('txtR'), '1.592')  # the page was not reloaded


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
        window = p.script('return document.getElementById("frmVelmorida")'
                          '.getBoundingClientRect().toJSON()')
        self.assertEqual((round(window['width']), round(window['height'])), (451, 201))
        for name, place in PLACES.items():
            rect = p.script('return document.getElementById(arguments[0])'
                            '.getBoundingClientRect().toJSON()', name)
            measured = (rect['left'] - window['left'], rect['top'] - window['top'],
                        rect['width'], rect['height'])[:len(place)]
            for got, want in zip(measured, place):
                self.assertLessEqual(abs(got - want), 1, '%s: %s' % (name, measured))



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

    def test_computes_there(self):
        p = self.browser
        p.emulate_screen(360, 740)
        p.open()
        p.enter('100', 'nF', '1', 'kHz')
        self.assertEqual((p.value('txtR'), p.element('lblUM').text), ('1.592', 'kOhm'))


class Taps(PageTest):
    """A box holding only its "0" is selected when a tap or a click gives it
    the focus, so that the first digit replaces the "0" wherever the finger
    landed; in a box holding a number the caret goes where it is put."""

    def tap(self, name, fraction):
        """A finger down and up again on the box, from its left edge (0) to
        its right (1)."""
        rect = self.page.rect(name)
        point = {'x': rect['left'] + 3 + (rect['width'] - 6) * fraction,
                 'y': rect['top'] + rect['height'] / 2}
        self.page.driver.execute_cdp_cmd('Input.dispatchTouchEvent',
                                         {'type': 'touchStart', 'touchPoints': [point]})
        self.page.driver.execute_cdp_cmd('Input.dispatchTouchEvent',
                                         {'type': 'touchEnd', 'touchPoints': []})

    def click(self, name, fraction):
        rect = self.page.rect(name)
        webdriver.ActionChains(self.page.driver).move_to_element_with_offset(
            self.page.element(name), round((fraction - 0.5) * (rect['width'] - 6)), 0) \
            .click().perform()

    def test_first_digit_replaces_the_zero(self):
        rows = [
            ('TapAtTheLeftEdge', self.tap, 0.0),
            ('TapInTheMiddle', self.tap, 0.5),
            ('TapAtTheRightEdge', self.tap, 1.0),
            ('ClickAtTheLeftEdge', self.click, 0.0),
        ]
        for name, touch, fraction in rows:
            with self.subTest(name):
                p = self.browser.open()
                touch('txtFreq', fraction)
                p.wait_for(lambda d: p.focused() == 'txtFreq', name)
                p.wait_for(lambda d: p.selection('txtFreq') == (0, 1), name)
                p.type('5')
                self.assertEqual(p.value('txtFreq'), '5', name)

    def test_a_number_keeps_the_caret_where_it_is_put(self):
        p = self.page
        p.paste('txtFreq', '47')
        p.element('txtC').click()
        self.tap('txtFreq', 1.0)
        p.wait_for(lambda d: p.focused() == 'txtFreq')
        p.type('1')
        self.assertEqual(p.value('txtFreq'), '471')


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
        self.assertEqual(p.load(), 'failed')
        self.check_window_without_core()

    def test_started_page_says_nothing_of_it(self):
        p = self.browser.open()
        self.assertFalse(p.element('needs').is_displayed())
        self.assertFalse(p.script('return document.getElementById("txtC").disabled'))


# Backgrounds in the ordinary schemes, light or dark: the window's own.
OWN_BACKGROUNDS = {
    'frmVelmorida': 'rgb(224, 224, 224)',
    'lblEtichete1': 'rgb(224, 224, 224)',
    'txtC': 'rgb(192, 255, 192)',
    'txtFreq': 'rgb(192, 255, 192)',
    'txtR': 'rgb(255, 255, 128)',
}
COMPUTED = 'return getComputedStyle(document.getElementById(arguments[0]))[arguments[1]]'


class Colours(PageTest):
    def emulate(self, name, value):
        self.browser.driver.execute_cdp_cmd('Emulation.setEmulatedMedia',
                                            {'features': [{'name': name, 'value': value}]})
        self.addCleanup(self.browser.driver.execute_cdp_cmd, 'Emulation.setEmulatedMedia',
                        {'features': []})

    def test_own_colours_in_light_and_dark(self):
        for scheme in ('light', 'dark'):
            self.emulate('prefers-color-scheme', scheme)
            p = self.browser.open()
            for name, colour in OWN_BACKGROUNDS.items():
                self.assertEqual(p.script(COMPUTED, name, 'backgroundColor'), colour,
                                 '%s in %s' % (name, scheme))
            self.assertEqual(p.script(COMPUTED, 'lblEtichete1', 'color'), 'rgb(0, 0, 0)')


class Romanian(PageTest):
    language = 'ro-RO'

    def test_comma_in_boxes_and_read_out(self):
        p = self.page
        p.enter('0,1', 'uF', '1', 'kHz')
        self.assertEqual(p.value('txtC'), '0,1')
        self.assertEqual((p.value('txtR'), p.element('lblUM').text), ('1,592', 'kOhm'))
        self.assertEqual(p.said(), '1,592 kOhm')

    def test_dot_is_not_a_number_here(self):
        p = self.page
        p.type('0.')
        self.assertEqual(p.value('txtC'), '0')

    def test_keypad_decimal_types_a_comma(self):
        p = self.page
        p.type('1' + Keys.DECIMAL + '5')
        self.assertEqual(p.value('txtC'), '1,5')


if __name__ == '__main__':
    if PAGE is None or not os.path.isfile(PAGE):
        sys.exit('usage: browser_test.py PAGE.html')
    unittest.main(verbosity=2)
