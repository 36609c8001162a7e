"""Debian's Firefox ESR as an Engine of the page's tests, driven over WebDriver
BiDi by firefox.js (puppeteer-core), one Node process and one fresh profile per
Firefox object. It maps the interface's calls to that process's ops; what
the tests check is in the tests.
"""
import json
import os
import subprocess

from engines import (KEY_NAMES, MODIFIERS, WINDOW_SIZE, Engine, Unsupported,
                     scripts_before_page)

HERE = os.path.dirname(os.path.abspath(__file__))
DRIVER = os.path.join(HERE, 'firefox.js')
# Where make's npm step fetches puppeteer-core (tests/web/fetch_npm.sh), or
# writes npm's reason why it could not.
PUPPETEER_FOLDER = os.path.join(HERE, '..', '..', 'build-web', 'puppeteer')

# The table's keys and modifiers by puppeteer's names.
KEYS = dict(zip(KEY_NAMES, ('Home', 'End', 'ArrowLeft', 'ArrowRight', 'Backspace', 'Delete',
                            'Tab', 'ArrowDown', 'Escape', 'NumpadDecimal')))
HELD = dict(zip(MODIFIERS, ('Control', 'Shift', 'Alt')))

# A profile that talks to no one: no first-run or default-browser pages, no
# updates, telemetry, studies or background fetches (puppeteer's own
# preferences switch most of these off; these are the rest).
QUIET_PREFS = {
    'browser.shell.checkDefaultBrowser': False,
    'browser.startup.homepage_override.mstone': 'ignore',
    'browser.aboutwelcome.enabled': False,
    'datareporting.policy.dataSubmissionEnabled': False,
    'datareporting.healthreport.uploadEnabled': False,
    'toolkit.telemetry.enabled': False,
    'app.update.auto': False,
    'app.update.enabled': False,
    'app.normandy.enabled': False,
    'extensions.update.enabled': False,
    'browser.safebrowsing.update.enabled': False,
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    # Offline stays offline: Firefox would otherwise follow the link's state.
    'network.manage-offline-status': False,
}
# Media features by the preferences that make Firefox match them, and the
# preferences' values for each value of the feature.
MEDIA_PREFS = {
    'prefers-color-scheme': ('layout.css.prefers-color-scheme.content-override',
                             {'dark': 0, 'light': 1}),
    # Firefox's "use my colours, never the page's" is its forced-colours mode.
    'forced-colors': ('browser.display.document_color_use', {'active': 2, 'none': 0}),
    'prefers-reduced-motion': ('ui.prefersReducedMotion', {'reduce': 1, 'no-preference': 0}),
}
# The key Firefox pastes with, held with Control.
PASTE_KEY = 'v'


def driver_folder():
    """puppeteer-core's folder, or npm's reason why it is not there."""
    failed = os.path.join(PUPPETEER_FOLDER, 'fetch-failed.txt')
    if os.path.isfile(failed):
        with open(failed, encoding='utf-8') as why:
            raise AssertionError('puppeteer-core could not be fetched from npm:\n' + why.read())
    if not os.path.isdir(os.path.join(PUPPETEER_FOLDER, 'node_modules', 'puppeteer-core')):
        raise AssertionError('puppeteer-core is not in %s: make deps-npm fetches it'
                             % os.path.abspath(PUPPETEER_FOLDER))
    return os.path.abspath(PUPPETEER_FOLDER)


def launch_prefs(language, scale, least_font, default_font, scripts):
    """The profile's preferences for the options Firefox takes at its start."""
    prefs = dict(QUIET_PREFS)
    # navigator.languages follows the requested locale as well as the header.
    prefs['intl.accept_languages'] = language
    prefs['intl.locale.requested'] = language
    prefs['layout.css.devPixelsPerPx'] = '%g' % scale
    if least_font is not None:
        prefs['font.minimum-size.x-western'] = least_font
    if default_font is not None:
        prefs['font.size.variable.x-western'] = default_font
    prefs['javascript.enabled'] = scripts
    return prefs


class Firefox(Engine):
    name = 'firefox'

    def __init__(self, language='en-US', scale=1, least_font=None, default_font=None,
                 window_size=WINDOW_SIZE, online=False, scripts=True, webassembly=True,
                 before_page=''):
        self.scale = scale
        self.least_font = least_font
        # The Node process ends Firefox when its stdin ends, which it does
        # when this process ends in any way.
        self.process = subprocess.Popen(['node', DRIVER, driver_folder()], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, encoding='utf-8')
        try:
            self.op('launch', {
                'prefs': launch_prefs(language, scale, least_font, default_font, scripts),
                'width': window_size[0], 'height': window_size[1], 'offline': not online,
                'preload': scripts_before_page(webassembly, before_page)})
        except BaseException:
            self.quit()
            raise

    def op(self, name, *args):
        """One op of firefox.js and its answer; its error as an AssertionError."""
        self.process.stdin.write(json.dumps({'op': name, 'args': args}) + '\n')
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise AssertionError('firefox.js ended (exit status %s) during %s'
                                 % (self.process.wait(), name))
        answer = json.loads(line)
        if 'error' in answer:
            raise AssertionError('Firefox, %s: %s' % (name, answer['error']))
        return answer['value']

    def get(self, url):
        self.op('goto', url)

    def script(self, code, *args):
        return self.op('script', code, list(args))

    def async_script(self, code, *args):
        return self.op('async_script', code, list(args))

    def press(self, keys):
        *held, key = keys.split('+')
        self.op('keys', [HELD[name] for name in held], KEYS.get(key, key))

    def type(self, text):
        self.op('type', text)

    def paste(self, text):
        self.op('clipboard', text)
        self.op('keys', [HELD['ctrl']], PASTE_KEY)

    def click_at(self, x, y):
        self.op('click', x, y)

    def tap_at(self, x, y):
        self.op('tap', x, y)

    def choose(self, list_id, index):
        # Firefox draws an open list in its own window, out of the page's
        # reach: the pointer opens it there, and firefox.js takes the item.
        self.click(list_id)
        self.op('choose', list_id, index)

    def text_pixels(self, name):
        # Firefox's computed font size leaves out its least font size
        # (font.minimum-size), which it applies as it draws: the larger is drawn.
        return max(super().text_pixels(name), self.least_font or 0)

    def open_popup(self):
        self.op('open_popup')

    def close_popup(self):
        self.op('close_popup')

    def window_count(self):
        return self.op('window_count')

    def accessible(self, element_id, part):
        return self.op('accessible', element_id, part)

    def emulate_media(self, *features):
        prefs = {pref: None for pref, _ in MEDIA_PREFS.values()}
        for feature, value in features:
            if feature not in MEDIA_PREFS or value not in MEDIA_PREFS[feature][1]:
                raise Unsupported('Firefox emulates no %s: %s' % (feature, value))
            pref, values = MEDIA_PREFS[feature]
            prefs[pref] = values[value]
        self.op('prefs', prefs)

    def emulate_screen(self, width, height):
        self.op('viewport', {'width': width, 'height': height, 'deviceScaleFactor': self.scale,
                             'isMobile': True, 'hasTouch': True})

    def real_screen(self):
        self.op('viewport', None)

    def quit(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            self.process.wait()
        self.process.stdout.close()
