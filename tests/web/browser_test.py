#!/usr/bin/python3
"""The page's own work where the behaviour table (behaviour.py) does not
reach, and axe-core's rules on it, in one browser engine (engines.py): the
built file opened from disk with the network off. Its security policy is the
site test's. What an engine cannot do is skipped with its reason.

    browser_test.py [--engine chromium|firefox|webkit] PAGE.html [unittest arguments]
"""
import json
import os
import re
import sys
import unittest
from urllib.parse import urlencode

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'window'))
import contrast  # noqa: E402
import engines  # noqa: E402
from engines import Unsupported  # noqa: E402


def engine_from_arguments():
    """The engine the command line names (--engine NAME), Chromium's by default."""
    name = 'chromium'
    if len(sys.argv) > 2 and sys.argv[1] == '--engine':
        name = sys.argv.pop(2)
        sys.argv.pop(1)
    return engines.engine_named(name)


ENGINE = engine_from_arguments()
PAGE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
ENGINE.home = PAGE and 'file://' + PAGE
WAIT_SECONDS = engines.WAIT_SECONDS
INSIDE_THE_BORDER = engines.INSIDE_THE_BORDER


def Browser(language='en-US', **start):
    """The engine under test started (engines.Engine's arguments)."""
    return ENGINE(language=language, **start)


def unless_unsupported(test, action, *args):
    """An engine's action, or the test skipped with the engine's reason."""
    try:
        return action(*args)
    except Unsupported as reason:
        test.skipTest('%s: %s' % (ENGINE.name, reason))


# The window's own colours in the ordinary schemes, light or dark: each
# element's (or its selected text's) background and text.
WHITE_ON_NAVY = ('rgb(0, 0, 128)', 'rgb(255, 255, 255)')
OWN_COLOURS = {
    ('frmVelmorida', None): ('rgb(224, 224, 224)', 'rgb(0, 0, 0)'),
    ('lblEtichete1', None): ('rgb(224, 224, 224)', 'rgb(0, 0, 0)'),
    ('txtC', None): ('rgb(192, 255, 192)', 'rgb(0, 0, 0)'),
    ('txtFreq', None): ('rgb(192, 255, 192)', 'rgb(0, 0, 0)'),
    ('txtR', None): ('rgb(255, 255, 128)', 'rgb(0, 0, 0)'),
    ('txtC', '::selection'): WHITE_ON_NAVY,
    ('txtFreq', '::selection'): WHITE_ON_NAVY,
    ('txtR', '::selection'): WHITE_ON_NAVY,
}
# The page is one file of at most this size.
PAGE_MOST_BYTES = 150 * 1024
# What the page shows before the core starts, for good where it cannot: the
# window itself, its controls disabled, and a line that says why.
NEEDS = 'Calculatorul are nevoie de JavaScript si WebAssembly pentru a functiona.'
# The lines under the window that say why it did not start, as shown.
SHOWN_NOTICES = ('return [...document.querySelectorAll(".notice")]'
                 '.filter((e) => e.getClientRects().length).map((e) => e.innerText)')
STARTED_LOOK = {'txtC': '0', 'cboC': 'pF', 'txtFreq': '0', 'cboFreq': 'Hz', 'txtR': '0'}
# Phones narrower than the window, at a phone's least text size, upright and
# on their side: one column in the tab order, each caption above what it
# names, beside a box its unit list and beside the read-out its unit.
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
# The page's touch and pointer events on the calculator's rule of a lone "0":
# after Tab has left the frequency box, selected, and BEFORE has been done in
# it (keys typed or pressed), a finger lands from its left edge (0) to its
# right (1), and a digit is typed. With the caret moved off the selection,
# only the page's own rule selects the "0" again.
TAPS = [
    ('TapAtTheLeftEdge', 'tap', 0.0, None, '5', '5'),
    ('TapInTheMiddle', 'tap', 0.5, None, '5', '5'),
    ('TapAtTheRightEdge', 'tap', 1.0, None, '5', '5'),
    ('ClickAtTheLeftEdge', 'click', 0.0, None, '5', '5'),
    ('TapAfterTheCaretMoved', 'tap', 0.0, ('press', 'Home'), '5', '5'),
    ('ClickAfterTheCaretMoved', 'click', 0.0, ('press', 'Home'), '5', '5'),
    ('TapAfterANumber', 'tap', 1.0, ('type', '47'), '1', '471'),
]
# What a browser may report as its languages, and the decimal separator the
# page then writes 100 nF at 1 kHz with: the first tag Intl takes, else ".".
LANGUAGE_LISTS = [
    ('TheCLocale', ['C'], '1.592'),
    ('NoLanguage', [], '1.592'),
    ('CBeforeRomanian', ['C', 'ro-RO'], '1,592'),
    ('RefusedBeforeGerman', ['bad tag!', 'de-DE'], '1,592'),
    ('NotATagBeforeRomanian', [7, '', 'ro'], '1,592'),
    ('EnglishBeforeRomanian', ['en-GB', 'ro-RO'], '1.592'),
]
# Run before the page's scripts: the languages the address's query asks for
# (?languages=JSON) in place of the browser's, and a WebAssembly that refuses
# to compile where it asks for that (?refuse=WHY).
FROM_THE_ADDRESS = '''
const asked = new URLSearchParams(location.search);
if (asked.has('languages')) {
  const languages = JSON.parse(asked.get('languages'));
  Object.defineProperty(Navigator.prototype, 'languages', {get: () => languages});
  Object.defineProperty(Navigator.prototype, 'language', {get: () => languages[0]});
}
if (asked.has('refuse') && window.WebAssembly) {
  const refuse = () => Promise.reject(new Error(asked.get('refuse')));
  WebAssembly.instantiate = refuse;
  WebAssembly.instantiateStreaming = refuse;
}
'''
FAILED = 'Calculatorul nu a putut porni:'


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser()
        cls.addClassCleanup(cls.browser.quit)

    def setUp(self):
        self.page = self.browser.open()

    def test_the_page_alone(self):
        p = self.page
        self.assertLessEqual(os.path.getsize(PAGE), PAGE_MOST_BYTES)
        with open(PAGE, encoding='utf-8') as page:
            self.assertEqual(re.findall(r'(?:src|href)="[^"#][^"]*"', page.read()), [],
                             'another file named')
        self.assertEqual(p.script('return document.title'), 'Velmorida condensatoarelor')
        self.assertEqual(p.script('return performance.getEntriesByType("resource").length'), 0)
        # A phone brings up its keyboard for figures.
        for box in ('txtC', 'txtFreq'):
            self.assertEqual(p.script('return document.getElementById(arguments[0]).inputMode', box),
                             'decimal', box)
        # Started, it says nothing of needing scripts.
        self.assertFalse(p.shown('needs'))

    def check_window_without_core(self, p):
        # Read through the engine's own WebDriver view when scripts are off.
        for name, value in STARTED_LOOK.items():
            self.assertEqual(p.value(name), value, name)
            self.assertFalse(p.enabled(name), name)
        self.assertEqual(p.text('lblEtichete1'), 'Capacitatea condensatorului:')
        self.assertEqual(p.text('lblUM'), 'Ohm')
        shown = p.script(SHOWN_NOTICES)
        self.assertEqual(shown, [NEEDS])

    def without(self, **start):
        """The page in a browser of its own started without scripts or WebAssembly."""
        browser = self.start_browser(**start)
        self.addCleanup(browser.quit)
        browser.get(ENGINE.home)
        return browser

    def start_browser(self, **start):
        try:
            return Browser(**start)
        except Unsupported as reason:
            self.skipTest('%s: %s' % (ENGINE.name, reason))

    def test_scripts_off(self):
        p = self.without(scripts=False)
        # Scripts off, the test's own still run (as WebDriver's).
        p.wait_for(lambda e: e.script('return document.readyState') == 'complete', 'the load')
        self.assertEqual(p.script('return document.documentElement.dataset.ready || null'), None)
        self.check_window_without_core(p)

    def test_no_webassembly(self):
        p = self.without(webassembly=False)
        self.assertEqual(p.ready(), 'failed')
        self.check_window_without_core(p)

    def test_starts_under_the_c_locale(self):
        # WebKitGTK gives the C library's locale as navigator.languages: ["C"].
        if ENGINE.name != 'webkit':
            self.skipTest('%s: only WebKitGTK takes its languages from LANG' % ENGINE.name)
        p = self.start_browser(language='C')
        self.addCleanup(p.quit)
        p.open().enter('100', 'nF', '1', 'kHz')
        self.assertEqual((p.value('txtR'), p.text('lblUM')), ('1.592', 'kOhm'))

    def test_any_language_list_starts_with_its_separator(self):
        p = self.start_browser(before_page=FROM_THE_ADDRESS)
        self.addCleanup(p.quit)
        for name, languages, read_out in LANGUAGE_LISTS:
            with self.subTest(name):
                p.open('%s?%s' % (ENGINE.home, urlencode({'languages': json.dumps(languages)})))
                p.enter('100', 'nF', '1', 'kHz')
                self.assertEqual(p.value('txtR'), read_out)

    def test_a_core_that_cannot_start_says_what_failed(self):
        p = self.start_browser(before_page=FROM_THE_ADDRESS)
        self.addCleanup(p.quit)
        p.get('%s?%s' % (ENGINE.home, urlencode({'refuse': 'the planted refusal'})))
        self.assertEqual(p.ready(), 'failed')
        shown = p.script(SHOWN_NOTICES)
        self.assertEqual(len(shown), 1, shown)
        self.assertTrue(shown[0].startswith(FAILED + ' '), shown)
        self.assertIn('the planted refusal', shown[0])
        self.assertFalse(p.enabled('txtC'))

    def test_escape_leaves_a_tab_the_user_opened(self):
        p = self.page
        p.press('Escape')
        p.type('5')
        self.assertEqual((p.window_count(), p.value('txtC')), (1, '5'))

    def test_ctrl_r_does_not_reload_wherever_the_focus_is(self):
        # Its default prevented: a headless browser's Ctrl+R never reloads.
        p = self.page
        p.script('addEventListener("keydown", (e) => { window.prevented = e.defaultPrevented; })')
        for name in ('txtC', 'cboC', 'txtR'):
            p.script('window.prevented = null; document.getElementById(arguments[0]).focus()',
                     name)
            p.press('ctrl+r')
            self.assertIs(p.script('return window.prevented'), True, name)

    def test_own_colours_in_light_and_dark(self):
        p = self.page
        self.addCleanup(p.emulate_media)
        for scheme in ('light', 'dark'):
            with self.subTest(scheme):
                unless_unsupported(self, p.emulate_media, ('prefers-color-scheme', scheme))
                p.open()
                for (name, pseudo), colours in OWN_COLOURS.items():
                    drawn = tuple(p.style(name, key, pseudo)
                                  for key in ('backgroundColor', 'color'))
                    self.assertEqual(drawn, colours, '%s%s in %s' % (name, pseudo or '', scheme))

    def test_one_column_large_enough_for_a_finger(self):
        p = self.page
        self.addCleanup(p.real_screen)
        for name, width, height in PHONES:
            with self.subTest(name):
                unless_unsupported(self, p.emulate_screen, width, height)
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
        p = self.page
        self.addCleanup(p.real_screen)
        unless_unsupported(self, p.emulate_screen, 360, 740)
        for name, how, fraction, before, typed, after in TAPS:
            with self.subTest(name):
                p.open().press('Tab')
                p.press('Tab')
                if before:
                    getattr(p, before[0])(before[1])
                p.press('Tab')
                unless_unsupported(self, getattr(p, how), 'txtFreq', fraction)
                p.wait_for(lambda e: e.focus() == 'txtFreq', name)
                p.type(typed)
                self.assertEqual(p.value('txtFreq'), after)


# Each control's place in CSS pixels from the window's corner at the usual
# text size, the layout's at 15 twips a pixel as contrast.py reads it; of a
# label, sized to its caption, its left and top edges.
PLACES = {name: (left, top) if kind == 'Label' else (left, top, width, height)
          for name, kind, left, top, width, height
          in contrast.read_layout(os.path.join(HERE, '..', '..', 'window', 'layout.h'))}
PLACES['frmVelmorida'] = (0, 0, 451, 201)  # the window: 6765 x 3015 twips
# The usual text size at device scales one and two, a least font size and the
# text size doubled: every place grows with the text, nothing overlaps, the
# unit widens keeping its left edge, and the inputs and read-out stay whole.
SIZES = [
    ('UsualSize', 1, {}),
    ('DeviceScaleTwo', 2, {}),
    ('LeastFont20', 1, {'least_font': 20}),
    ('TextDoubled', 1, {'default_font': 32}),
]
LARGE_SCREEN = (1280, 800)
DESIGN_FONT = 13
WHOLE = ('const e = document.getElementById(arguments[0]);'
         'return e.scrollWidth <= e.clientWidth')


class Sizes(unittest.TestCase):
    def check(self, p):
        p.open()
        grown = p.text_pixels('txtC') / DESIGN_FONT
        window = p.rect('frmVelmorida')
        for control, place in PLACES.items():
            rect = p.rect(control)
            measured = (rect['left'] - window['left'], rect['top'] - window['top'],
                        rect['width'], rect['height'])[:len(place)]
            for got, want in zip(measured, place):
                self.assertLessEqual(abs(got - want * grown), 1, '%s: %s' % (control, measured))
        names = COLUMN + list(BESIDE.values())
        rects = {n: p.rect(n) for n in names}
        # A box and its list share a designed pixel of border.
        slack = grown + 0.5
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                ra, rb = rects[a], rects[b]
                across = min(ra['right'], rb['right']) - max(ra['left'], rb['left'])
                down = min(ra['bottom'], rb['bottom']) - max(ra['top'], rb['top'])
                self.assertFalse(across > slack and down > slack, '%s overlaps %s' % (a, b))
        p.enter('0.0047', 'uF', '100000', 'Hz')
        for box, text in (('txtC', '0.0047'), ('txtFreq', '100000')):
            self.assertEqual(p.value(box), text)
            self.assertTrue(p.script(WHOLE, box), '%s cut' % text)
        p.enter('0.47', 'nF', '1', 'kHz')
        self.assertEqual(p.value('txtR'), '338.799')
        self.assertTrue(p.script(WHOLE, 'txtR'), 'the figure cut')
        kohm = p.rect('lblUM')
        self.assertEqual(kohm['left'], rects['lblUM']['left'], 'the unit moved')
        self.assertGreater(kohm['width'], rects['lblUM']['width'], 'kOhm no wider than Ohm')
        p.enter('1', 'uF', '1', 'kHz')
        self.assertEqual(p.value('txtR'), '159.23567')
        self.assertEqual(p.script('return document.getElementById("txtR").scrollLeft'), 0)

    def test_places_grow_with_the_text_and_texts_stay_whole(self):
        for name, scale, fonts in SIZES:
            with self.subTest(name):
                browser = Browser(scale=scale, window_size=LARGE_SCREEN, **fonts)
                try:
                    self.check(browser)
                finally:
                    browser.quit()


# The colour schemes and screens axe-core, the accessibility engine, tries.
SCHEMES = [('prefers-color-scheme', 'light'), ('prefers-color-scheme', 'dark'),
           ('forced-colors', 'active')]
SCREENS = ['desktop', (360, 740)]
# axe.run reports to a callback; the script's own callback ends the wait.
RUN_AXE = '''
const done = arguments[arguments.length - 1];
axe.run(document).then(
    (results) => done(results.violations.map(
        (v) => v.id + ': ' + v.help + ' at ' + v.nodes.map((n) => n.target.join(' ')).join(', '))),
    (error) => done(['axe failed: ' + error]));
'''


def axe_core():
    """axe-core's script from axe/ beside the page, where make test-web
    fetches it (tests/web/fetch_axe.sh), or npm's reason why it could not."""
    folder = os.path.join(os.path.dirname(PAGE), 'axe')
    failed = os.path.join(folder, 'fetch-failed.txt')
    if os.path.isfile(failed):
        with open(failed, encoding='utf-8') as why:
            raise AssertionError('axe-core could not be fetched from npm:\n' + why.read())
    script = os.path.join(folder, 'node_modules', 'axe-core', 'axe.min.js')
    with open(script, encoding='utf-8') as source:
        return source.read()


class Accessibility(unittest.TestCase):
    def test_no_violation_in_either_language_scheme_or_screen(self):
        axe = axe_core()
        for language in ('en-US', 'ro-RO'):
            browser = Browser(language)
            self.addCleanup(browser.quit)
            for screen in SCREENS:
                for scheme in SCHEMES:
                    with self.subTest(language=language, scheme=scheme, screen=screen):
                        if screen == 'desktop':
                            browser.real_screen()
                        else:
                            unless_unsupported(self, browser.emulate_screen, *screen)
                        unless_unsupported(self, browser.emulate_media, scheme)
                        browser.open().script(axe)
                        self.assertEqual(browser.async_script(RUN_AXE), [])


if __name__ == '__main__':
    if PAGE is None or not os.path.isfile(PAGE):
        sys.exit('usage: browser_test.py PAGE.html')
    unittest.main(verbosity=2)
