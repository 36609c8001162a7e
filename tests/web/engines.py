"""The browser engines the page's tests drive, each behind one interface
(Engine): how an engine starts, loads, runs scripts, types, pastes, drops,
points, emulates a screen, reads the page and what it says. What the tests
check, and what is common to every engine, is not here but in Engine's own
methods and in the tests; what an engine cannot do raises Unsupported, whose
message is the reason the test prints or skips with.
"""
import contextlib
import os
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.common.exceptions import NoSuchWindowException, WebDriverException
from selenium.webdriver.chrome.service import Service as ChromiumService
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select
from selenium.webdriver.webkitgtk.service import Service as WebKitService

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
    webassembly=True, before_page=''): the browser's language (its
    Accept-Language and navigator.languages), the device's pixels per CSS
    pixel, a least font size and a default one in CSS pixels (None: the
    engine's own), the window's outer size, whether the network is reachable
    (offline, nothing loads but files), whether scripts run, whether pages
    find WebAssembly (when not, it is deleted by a script before the page's
    own), and a script of the test's run in every document before the page's.
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

    def text_pixels(self, name):
        """An element's text size in CSS pixels as the engine draws it: its
        computed font size, which Chromium and WebKitGTK give with their least
        font size applied."""
        return float(self.style(name, 'fontSize').removesuffix('px'))

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
    return {'chromium': Chromium, 'webkit': WebKit}[name]


# The table's key names as Selenium sends them.
SELENIUM_KEYS = {'Home': Keys.HOME, 'End': Keys.END, 'Left': Keys.LEFT, 'Right': Keys.RIGHT,
                 'BackSpace': Keys.BACKSPACE, 'Delete': Keys.DELETE, 'Tab': Keys.TAB,
                 'Down': Keys.DOWN, 'Escape': Keys.ESCAPE, 'KP_Decimal': Keys.DECIMAL,
                 'ctrl': Keys.CONTROL, 'shift': Keys.SHIFT, 'alt': Keys.ALT}
# The text goes to the browser's clipboard exactly, line breaks and all.
COPY = """
const done = arguments[arguments.length - 1];
navigator.clipboard.writeText(arguments[0]).then(() => done(), (error) => done(String(error)));
"""
NO_WEBASSEMBLY = 'delete window.WebAssembly;'


def scripts_before_page(webassembly, before_page):
    """The scripts an engine runs in every document before the page's own."""
    return [source for source in ('' if webassembly else NO_WEBASSEMBLY, before_page) if source]


class Selenium(Engine):
    """What the engines Selenium drives (through their WebDriver) do alike."""

    driver = None

    def get(self, url):
        self.driver.get(url)

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def async_script(self, code, *args):
        return self.driver.execute_async_script(code, *args)

    def press(self, keys):
        # A key that ends the window (Escape in a popup) leaves the rest of
        # the chain, the releases, without a window.
        with contextlib.suppress(NoSuchWindowException):
            self.press_keys(keys)

    def press_keys(self, keys):
        *held, key = keys.split('+')
        chain = webdriver.ActionChains(self.driver)
        for modifier in held:
            chain.key_down(SELENIUM_KEYS[modifier])
        chain.send_keys(SELENIUM_KEYS.get(key, key))
        for modifier in reversed(held):
            chain.key_up(SELENIUM_KEYS[modifier])
        chain.perform()

    def type(self, text):
        webdriver.ActionChains(self.driver).send_keys(text).perform()

    def paste(self, text):
        error = self.async_script(COPY, text)
        if error is not None:
            raise AssertionError('the clipboard: ' + error)
        self.press('ctrl+v')

    def point(self, kind, x, y):
        actions = ActionBuilder(self.driver, mouse=PointerInput(kind, kind))
        actions.pointer_action.move_to_location(round(x), round(y)).click()
        actions.perform()

    def click_at(self, x, y):
        self.point('mouse', x, y)

    def choose(self, list_id, index):
        Select(self.driver.find_element(By.ID, list_id)).select_by_index(index)

    def open_popup(self):
        self.opener = self.driver.current_window_handle
        self.script('window.open(location.href, "_blank", "popup")')
        self.wait_for(lambda e: len(e.driver.window_handles) == 2, 'the popup window')
        self.driver.switch_to.window(next(h for h in self.driver.window_handles
                                          if h != self.opener))

    def close_popup(self):
        if len(self.driver.window_handles) > 1:
            self.driver.close()
        self.driver.switch_to.window(self.opener)

    def window_count(self):
        return len(self.driver.window_handles)

    def quit(self):
        self.driver.quit()


class Chromium(Selenium):
    """Debian's headless Chromium through chromedriver and DevTools (CDP), in a
    profile chromedriver makes and removes, so that runs go side by side."""

    name = 'chromium'
    FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync']

    def __init__(self, language='en-US', scale=1, least_font=None, default_font=None,
                 window_size=WINDOW_SIZE, online=False, scripts=True, webassembly=True,
                 before_page=''):
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for flag in self.FLAGS:
            options.add_argument(flag)
        options.add_argument('--lang=' + language)
        options.add_argument('--accept-lang=' + language)
        options.add_argument('--force-device-scale-factor=%g' % scale)
        options.add_argument('--window-size=%d,%d' % window_size)
        prefs = {'intl.accept_languages': language}
        if least_font:
            prefs['webkit.webprefs.minimum_font_size'] = least_font
        if default_font:
            prefs['webkit.webprefs.default_font_size'] = default_font
        options.add_experimental_option('prefs', prefs)
        self.driver = webdriver.Chrome(service=ChromiumService('/usr/bin/chromedriver'),
                                       options=options)
        self.driver.set_script_timeout(WAIT_SECONDS)
        self.cdp('Browser.grantPermissions', {
            'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})
        if not online:
            self.cdp('Network.enable', {})
            self.cdp('Network.emulateNetworkConditions', {
                'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
        if not scripts:
            self.cdp('Emulation.setScriptExecutionDisabled', {'value': True})
        for source in scripts_before_page(webassembly, before_page):
            self.cdp('Page.addScriptToEvaluateOnNewDocument', {'source': source})

    def cdp(self, command, arguments):
        return self.driver.execute_cdp_cmd(command, arguments)

    def tap_at(self, x, y):
        for kind, points in (('touchStart', [{'x': x, 'y': y}]), ('touchEnd', [])):
            self.cdp('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points})

    def accessible(self, element_id, part):
        element = self.cdp('Runtime.evaluate',
                           {'expression': 'document.getElementById("%s")' % element_id})
        node = self.cdp('DOM.describeNode', {'objectId': element['result']['objectId']})
        tree = self.cdp('Accessibility.getPartialAXTree', {
            'backendNodeId': node['node']['backendNodeId'], 'fetchRelatives': False})
        return tree['nodes'][0].get(part, {}).get('value', '')

    def emulate_media(self, *features):
        self.cdp('Emulation.setEmulatedMedia', {
            'features': [{'name': name, 'value': value} for name, value in features]})

    def emulate_screen(self, width, height):
        self.cdp('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': True})

    def real_screen(self):
        self.cdp('Emulation.clearDeviceMetricsOverride', {})


# WebKitGTK's own browser, which WebKitWebDriver starts in automation mode.
MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
# The C library's locale each language starts WebKitGTK under: its languages
# come from the environment, not from an option. Under a locale the C
# library lacks, WebKitGTK reports "en-US".
LOCALES = {'en-US': 'en_US.UTF-8', 'ro-RO': 'ro_RO.UTF-8', 'C': 'C.UTF-8'}
# The C library's own locale, which needs no compiling.
BUILT_IN_LOCALE = 'C.UTF-8'
# Where the locales WebKitGTK starts under are compiled, once for every test
# of this user, so that they need not be set up on the machine.
LOCALE_FOLDER = os.path.join(tempfile.gettempdir(), 'velmorida-locales-%d' % os.getuid())
LOCALE_SOURCES = '/usr/share/i18n/locales'
# MiniBrowser's window is no narrower than its toolbar (its buttons and
# address bar) lets GTK make it.
WEBKIT_LEAST_WIDTH = 447
# The light and the dark scheme, which MiniBrowser takes as it starts.
SCHEMES_AT_START = (('prefers-color-scheme', 'light'), ('prefers-color-scheme', 'dark'))
# Why a test's script to run before the page's own is refused.
NO_SCRIPT_BEFORE_A_PAGE = 'WebKitWebDriver runs no script before a page\'s own'
# Xvfb's screen, larger than any window the tests ask for.
SCREEN = '1600x1200x24'


def start_xvfb():
    """Xvfb on the first free display, which the server itself picks and
    reports once it listens (as x_server.sh starts it); the process and the
    display's name."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-nolisten', 'tcp', '-noreset',
                               '-r', '-screen', '0', SCREEN], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as reported:
        number = reported.readline().strip()
    if not number:
        server.wait()
        raise AssertionError('Xvfb did not start (exit %s)' % server.returncode)
    return server, ':' + number


def compiled_locales():
    """A folder of the locales in LOCALES, compiled from Debian's locales
    package with localedef, for the C library's LOCPATH. Tests side by side
    may compile at once: each in a folder of its own, the first one renamed
    into place."""
    wanted = [name for name in LOCALES.values() if name != BUILT_IN_LOCALE]
    if all(os.path.isdir(os.path.join(LOCALE_FOLDER, name)) for name in wanted):
        return LOCALE_FOLDER
    work = tempfile.mkdtemp(prefix='velmorida-locales-')
    try:
        for name in wanted:
            source = name.split('.')[0]
            if not os.path.isfile(os.path.join(LOCALE_SOURCES, source)):
                raise AssertionError('no %s in %s: the locales package brings it'
                                     % (source, LOCALE_SOURCES))
            # Warnings of a locale's own sources make localedef's status 1;
            # what counts is the compiled locale.
            subprocess.run(['localedef', '-c', '-i', source, '-f', 'UTF-8',
                            os.path.join(work, name)], stdout=subprocess.DEVNULL, check=False)
            if not os.path.isdir(os.path.join(work, name)):
                raise AssertionError('localedef did not compile ' + name)
        os.rename(work, LOCALE_FOLDER)
    except OSError:
        pass  # another test's folder is in place
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return LOCALE_FOLDER


class WebKit(Selenium):
    """WebKitGTK's MiniBrowser through WebKitWebDriver, on an Xvfb display of
    its own so that runs go side by side. WebKitGTK has no emulation of
    screens or media but for the dark scheme, which the browser is started
    again in."""

    name = 'webkit'

    def __init__(self, language='en-US', scale=1, least_font=None, default_font=None,
                 window_size=WINDOW_SIZE, online=False, scripts=True, webassembly=True,
                 before_page='', dark=False):
        if before_page:
            raise Unsupported(NO_SCRIPT_BEFORE_A_PAGE)
        if not webassembly:
            raise Unsupported(NO_SCRIPT_BEFORE_A_PAGE + ', and JavaScriptCore here takes no '
                              'option that removes WebAssembly')
        self.started_with = dict(language=language, scale=scale, least_font=least_font,
                                 default_font=default_font, window_size=window_size,
                                 online=online, scripts=scripts)
        self.folder = tempfile.mkdtemp(prefix='velmorida-webkit-')
        self.xvfb, self.display = start_xvfb()
        self.service = None
        self.driver = None
        self.dark = dark
        try:
            self.start(self.display, dark, **self.started_with)
        except BaseException:
            self.quit()
            raise

    def start(self, display, dark, language, scale, least_font, default_font, window_size,
              online, scripts):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        # The page's own window.open, for the scenario's popup, and its
        # clipboard, for a paste.
        for argument in ('--automation', '--javascript-can-open-windows-automatically=true',
                         '--javascript-can-access-clipboard=true', '--enable-javascript=%s'
                         % ('true' if scripts else 'false'), '--config=' + self.settings(
                             least_font, default_font)):
            options.add_argument(argument)
        if dark:
            options.add_argument('--dark-mode')
        env = dict(os.environ, DISPLAY=display, LANG=LOCALES[language], LANGUAGE='',
                   LC_ALL='', LOCPATH=compiled_locales(), GDK_SCALE='%d' % scale,
                   GDK_BACKEND='x11', HOME=self.folder, XDG_CACHE_HOME=self.folder,
                   XDG_DATA_HOME=self.folder, MESA_SHADER_CACHE_DISABLE='true')
        env.pop('WAYLAND_DISPLAY', None)
        if not online:
            # Nothing answers there; file:// addresses load as ever, and
            # the driver's own connection to the browser is local.
            env.update(http_proxy='http://127.0.0.1:9', https_proxy='http://127.0.0.1:9',
                       no_proxy='127.0.0.1,localhost')
        self.service = WebKitService('/usr/bin/WebKitWebDriver', env=env)
        self.service.start()
        self.driver = webdriver.Remote(command_executor=self.service.service_url,
                                       options=options)
        self.driver.set_script_timeout(WAIT_SECONDS)
        self.size_window(*window_size)

    def size_window(self, width, height):
        """The window at that size, once its page has the new viewport.
        WebKitWebDriver answers as soon as GTK has the window's new size; the
        page is given it later, so that a page read at once on a busy machine
        was seen with the viewport it had before."""
        before = self.driver.get_window_rect()
        viewport = self.viewport()
        self.driver.set_window_rect(width=width, height=height)
        # The window's frame keeps its size: a new window size, a new viewport.
        if (width, height) != (before['width'], before['height']):
            self.wait_for(lambda e: e.viewport() != viewport,
                          'the page\'s viewport at the window\'s %dx%d' % (width, height))

    def viewport(self):
        return self.script('return [innerWidth, innerHeight]')

    def settings(self, least_font, default_font):
        """MiniBrowser's settings file: the font sizes, which it takes from no option."""
        path = os.path.join(self.folder, 'minibrowser.ini')
        with open(path, 'w', encoding='ascii') as ini:
            ini.write('[websettings]\n')
            if least_font:
                ini.write('minimum-font-size=%d\n' % least_font)
            if default_font:
                ini.write('default-font-size=%d\n' % default_font)
        return path

    def choose(self, list_id, index):
        # Selecting an option by WebKitWebDriver leaves the focus where it
        # was; a user's pointer on the list gives it the focus first.
        self.script('document.getElementById(arguments[0]).focus()', list_id)
        super().choose(list_id, index)

    def tap_at(self, x, y):
        try:
            self.point('touch', x, y)
        except WebDriverException as error:
            raise Unsupported('WebKitWebDriver takes no touch: ' + error.msg) from None

    def accessible(self, element_id, part):
        if part != 'name':
            raise Unsupported('WebDriver reads an accessible name, never a description')
        return self.driver.find_element(By.ID, element_id).accessible_name

    def emulate_media(self, *features):
        if set(features) - set(SCHEMES_AT_START):
            raise Unsupported('WebKitWebDriver emulates no media features; MiniBrowser takes '
                              'the dark scheme, and only as it starts')
        # The browser started again in the scheme asked for, on the same display.
        dark = SCHEMES_AT_START[1] in features
        if dark != self.dark:
            self.stop_browser()
            self.dark = dark
            self.start(self.display, dark, **self.started_with)

    def emulate_screen(self, width, height):
        # No phone, nor touch: a window whose viewport is the screen's size.
        if width < WEBKIT_LEAST_WIDTH:
            raise Unsupported('MiniBrowser\'s window is no narrower than %d px, its toolbar\'s '
                              'least width, and WebKitWebDriver emulates no screen'
                              % WEBKIT_LEAST_WIDTH)
        self.size_window(width, height)
        inner_width, inner_height = self.viewport()
        self.size_window(2 * width - inner_width, 2 * height - inner_height)
        viewport = self.viewport()
        if viewport != [width, height]:
            raise AssertionError('MiniBrowser\'s viewport is %s, not %s' % (viewport,
                                                                           [width, height]))

    def real_screen(self):
        self.size_window(*self.started_with['window_size'])

    def stop_browser(self):
        try:
            if self.driver is not None:
                self.driver.quit()
        finally:
            self.driver = None
            if self.service is not None:
                self.service.stop()
            self.service = None

    def quit(self):
        try:
            self.stop_browser()
        finally:
            self.xvfb.terminate()
            self.xvfb.wait()
            shutil.rmtree(self.folder, ignore_errors=True)
