#!/usr/bin/python3
"""The web edition as an installable app, its site's folder served over HTTP
to the engine under test (Chromium alone reports
installability): installing (no installability error, the
manifest, the icons), the worker's offline start, and a newer folder over it.

    site_test.py [--engine NAME] PAGE.html SITE_DIR SITE_SOURCES [unittest arguments]

SITE_SOURCES holds the worker's template and the script that writes it, with
which a newer folder is made as the build makes one. Offline is a stopped
server: DevTools' emulated offline does not reach a service worker's fetches.
"""
import difflib
import functools
import hashlib
import http.server
import json
import math
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'window'))
import browser_test  # noqa: E402  (reads PAGE.html from argv[1])
from contrast import read_image  # noqa: E402

SITE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
SITE_SOURCES = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
# Published below the root, as most hosts publish: nothing may assume the
# root. A second copy on the same origin must survive the first's update.
APP_PATH = 'apps/velmorida/'
COPY_PATH = 'apps/velmorida-copy/'
ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'resources',
                    'velmorida.xpm')
# The site's security policy exactly, a directive more is a hole: the page's,
# which loads and sends nothing, opened to the folder's manifest, worker and icons.
SITE_POLICY = {'default-src': "'none'", 'script-src': "'unsafe-inline' 'wasm-unsafe-eval'",
               'style-src': "'unsafe-inline'", 'base-uri': "'none'", 'form-action': "'none'",
               'manifest-src': "'self'", 'worker-src': "'self'", 'img-src': "'self'"}
# A maskable icon keeps what lies within this share of its size from its
# centre; launchers cut away the rest.
SAFE_RADIUS_SHARE = 0.4
# The launcher's label holds about this many characters.
SHORT_NAME_MOST = 12
# The promise: a newer folder reaches the user within this many visits.
VISITS_TO_UPDATE = 4
# How long a host lets browsers keep its files (GitHub Pages: ten minutes).
HOST_KEEPS_SECONDS = 600
OPAQUE = 255

# The names of the origin's caches. Read while a worker may delete one: a
# name listed and then opened would make that cache again, empty.
CACHE_NAMES = '''
const done = arguments[arguments.length - 1];
caches.keys().then(done, (error) => done('failed: ' + error));
'''
# Every cache of the origin by name: each address it keeps, with the
# SHA-256 of what it keeps there. Read once no worker deletes one.
CACHES = '''
const done = arguments[arguments.length - 1];
const hex = (bytes) => Array.from(new Uint8Array(bytes), (b) => b.toString(16).padStart(2, '0'));
async function kept(name) {
  const cache = await caches.open(name);
  const files = {};
  for (const request of await cache.keys()) {
    const body = await (await cache.match(request)).arrayBuffer();
    files[request.url] = hex(await crypto.subtle.digest('SHA-256', body)).join('');
  }
  return [name, files];
}
caches.keys().then((names) => Promise.all(names.map(kept)))
  .then((all) => done(Object.fromEntries(all)), (error) => done('failed: ' + error));
'''


class KeptAWhile(http.server.SimpleHTTPRequestHandler):
    """Python's http.server, telling browsers they may keep each file a
    while, and logging nothing; it speaks HTTP/1.0, so no connection
    outlives its answer and a stopped server serves nothing more."""

    def end_headers(self):
        self.send_header('Cache-Control', 'max-age=%d' % HOST_KEEPS_SECONDS)
        super().end_headers()

    def log_message(self, *args):
        pass


def design(scale, size, around='none'):
    """The program's design scaled by a whole factor, centred in a square of
    SIZE on AROUND, as ImageMagick draws it."""
    return read_image(ICON, '-scale', '%d%%' % (100 * scale), '-background', around,
                      '-gravity', 'center', '-extent', '%dx%d' % (size, size), '-flatten')


class Site:
    """Copies of the site's folder under a fresh root, served from a thread
    of its own on a port the system picks, so that runs go side by side."""

    def __init__(self, *paths):
        self.root = tempfile.mkdtemp(prefix='velmorida-site-')
        for path in paths:
            shutil.copytree(SITE, self.folder(path))
        self.server = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(KeptAWhile, directory=self.root))
        self.port = self.server.server_port
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def folder(self, path=APP_PATH):
        return os.path.join(self.root, path)

    def url(self, path=APP_PATH):
        return 'http://127.0.0.1:%d/%s' % (self.port, path)

    def stop(self):
        """The server ended; the port refuses from then on."""
        if self.server is not None:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def publish_newer(self, path=APP_PATH):
        """A newer page (a meta element says so) and manifest, and the worker made again."""
        index = pathlib.Path(self.folder(path), 'index.html')
        newer = '<meta name="edition" content="newer">\n</head>'
        index.write_text(index.read_text(encoding='utf-8').replace('</head>', newer, 1), 'utf-8')
        with open(os.path.join(self.folder(path), 'manifest.webmanifest'), 'a') as manifest:
            manifest.write('\n')
        subprocess.run(['cmake', '-DSITE=' + self.folder(path),
                        '-DTEMPLATE=' + os.path.join(SITE_SOURCES, 'sw.js.in'),
                        '-DWORKER=' + os.path.join(self.folder(path), 'sw.js'),
                        '-P', os.path.join(SITE_SOURCES, 'make_worker.cmake')], check=True)

    def to_keep(self, folder, path=APP_PATH):
        """What the worker should keep of a folder: each file's address,
        the page's being the folder's, and the SHA-256 of its content."""
        files = {}
        for name in set(os.listdir(folder)) - {'sw.js'}:
            with open(os.path.join(folder, name), 'rb') as file:
                address = self.url(path) + ('' if name == 'index.html' else name)
                files[address] = hashlib.sha256(file.read()).hexdigest()
        return files

    def remove(self):
        self.stop()
        shutil.rmtree(self.root, ignore_errors=True)


class Installing(unittest.TestCase):
    """What the browser reads to install the app; the tests only read, so
    they share one server and browser."""

    @classmethod
    def setUpClass(cls):
        if browser_test.ENGINE.name != 'chromium':
            raise unittest.SkipTest('%s: the manifest and installability as the browser reads '
                                    'them are Chromium\'s DevTools alone'
                                    % browser_test.ENGINE.name)
        cls.site = Site(APP_PATH)
        cls.addClassCleanup(cls.site.remove)
        cls.browser = browser_test.Browser(online=True)
        cls.addClassCleanup(cls.browser.quit)
        cls.browser.open(cls.site.url())
        found = cls.browser.cdp('Page.getAppManifest', {})
        cls.manifest_url, cls.manifest_errors = found['url'], found['errors']
        cls.manifest = json.loads(found['data']) if found.get('data') else {}

    def test_installable_by_a_manifest_in_romanian_relative_to_its_folder(self):
        errors = self.browser.cdp('Page.getInstallabilityErrors', {})
        self.assertEqual(errors['installabilityErrors'], [])
        self.assertEqual(self.manifest_url, self.site.url() + 'manifest.webmanifest')
        self.assertEqual(self.manifest_errors, [])
        m = self.manifest
        expected = {'name': 'Velmorida condensatoarelor', 'lang': 'ro', 'display': 'standalone'}
        self.assertEqual({key: m.get(key) for key in expected}, expected)
        self.assertTrue(m['name'].startswith(m['short_name']))
        self.assertLessEqual(len(m['short_name']), SHORT_NAME_MOST)
        for key in ('start_url', 'scope'):
            self.assertEqual(urllib.parse.urljoin(self.manifest_url, m[key]), self.site.url(), key)
        # The colours of the window as the page test expects it to draw them.
        window, _ = browser_test.OWN_COLOURS[('frmVelmorida', None)]
        for key in ('theme_color', 'background_color'):
            self.assertEqual(m[key].lower(), '#%02x%02x%02x' % tuple(
                int(part) for part in re.findall(r'\d+', window)), key)

    def test_icons_are_the_programs_at_their_sizes(self):
        icons = {icon['src']: icon for icon in self.manifest['icons']}
        kinds = {(icon['sizes'], icon.get('purpose', 'any')) for icon in icons.values()}
        self.assertLessEqual({('192x192', 'any'), ('512x512', 'any')}, kinds)
        self.assertIn('maskable', {purpose for _, purpose in kinds})
        touch = self.browser.script(
            'return document.querySelector("link[rel=apple-touch-icon]").getAttribute("href")')
        side = len(read_image(ICON))
        around = self.manifest['background_color']
        backdrop = tuple(bytes.fromhex(around[1:])) + (OPAQUE,)
        checked = [(src, icon.get('purpose', 'any')) for src, icon in icons.items()]
        for src, purpose in checked + [(touch, 'touch')]:
            with self.subTest(src):
                # The icon as the site serves it at its address.
                with urllib.request.urlopen(urllib.parse.urljoin(self.manifest_url, src)) as got:
                    icon = read_image('png:-', data=got.read())
                size = len(icon)
                self.assertEqual(len(icon[0]), size, 'not square')
                if src in icons:
                    self.assertEqual(icons[src]['sizes'], '%dx%d' % (size, size))
                if purpose == 'any':
                    # The design filling the icon, transparent around it.
                    self.assertTrue(icon == design(size // side, size), 'not the design filling it')
                    continue
                # A launcher may cut it to any shape and iOS draws
                # transparency black: the design on the window's colour to
                # its edges, and a maskable one has nothing but that
                # backdrop outside the safe circle.
                self.assertTrue(any(icon == design(scale, size, around)
                                    for scale in range(size // side, 0, -1)),
                                'not the design on the window\'s colour')
                if purpose == 'maskable':
                    centre, radius = size / 2, SAFE_RADIUS_SHARE * size
                    cut = {(x, y) for y in range(size) for x in range(size)
                           if math.hypot(x + 0.5 - centre, y + 0.5 - centre) > radius}
                    self.assertEqual({(x, y) for x, y in cut if icon[y][x] != backdrop}, set())

    def test_page_is_the_one_file_page_with_only_what_installing_needs(self):
        with open(browser_test.PAGE, encoding='utf-8') as page:
            single = page.read()
        with open(os.path.join(self.site.folder(), 'index.html'), encoding='utf-8') as page:
            index = page.read()
        policy = re.search(r'<meta http-equiv="Content-Security-Policy"\s+content="([^"]*)"', index)
        directives = (d.strip().partition(' ') for d in policy.group(1).split(';'))
        self.assertEqual({name: value for name, _, value in directives}, SITE_POLICY)
        # Every line of the one-file page is there, in its order, but for
        # its policy; what is added is what the other tests try.
        ours, theirs = single.splitlines(), index.splitlines()
        changed = [ours[i1:i2] for tag, i1, i2, _, _ in
                   difflib.SequenceMatcher(None, ours, theirs, autojunk=False).get_opcodes()
                   if tag in ('replace', 'delete')]
        self.assertEqual(changed, [[line for line in ours if 'default-src' in line]])


class Update(unittest.TestCase):
    """A newer folder published over the first of two copies: the browser's
    HTTP cache must not hide it, nor the update touch the other copy's cache."""

    maxDiff = None  # a cache's addresses and digests, in full

    def setUp(self):
        self.site = Site(APP_PATH, COPY_PATH)
        self.addCleanup(self.site.remove)
        self.browser = browser_test.Browser(online=True)
        self.addCleanup(self.browser.quit)

    def caches(self, script=CACHES):
        kept = self.browser.async_script(script)
        if isinstance(kept, str):
            raise AssertionError(kept)
        return kept

    def cache_names(self):
        return set(self.caches(CACHE_NAMES))

    def newer(self):
        return self.browser.script('return document.querySelector("meta[name=edition]") !== null')

    def test_newer_folder_shows_within_four_visits_and_offline(self):
        b = self.browser
        # A file in the copy's folder that is not the site's: it must not be kept.
        notes = os.path.join(self.site.folder(COPY_PATH), 'notes.txt')
        with open(notes, 'w', encoding='ascii') as file:
            file.write('not part of the site\n')
        for path in (APP_PATH, COPY_PATH):
            b.open(self.site.url(path))
            b.wait_for(lambda e: e.script('return navigator.serviceWorker.controller !== null'),
                       'no service worker controls the page')
        b.get(self.site.url(COPY_PATH) + 'notes.txt')
        b.wait_for(lambda e: len(self.cache_names()) == 2, 'each copy keeps a cache')
        before = self.caches()
        self.site.publish_newer(APP_PATH)
        for _ in range(VISITS_TO_UPDATE):
            b.open(self.site.url())
            if self.newer():
                break
        self.assertTrue(self.newer(), 'not shown in %d visits' % VISITS_TO_UPDATE)
        # The newer worker's cache replaces the older one; the other copy's stays.
        def replaced(_):
            names = self.cache_names()
            return len(names) == 2 and len(names & set(before)) == 1
        b.wait_for(replaced, 'the older cache was not replaced by a newer one, or the copy lost '
                   'its own')
        newer = self.caches()
        (copy,) = set(newer) & set(before)
        (older,) = set(before) - set(newer)
        (name,) = set(newer) - set(before)
        self.assertEqual(before[older], self.site.to_keep(SITE))
        self.assertEqual(newer[name], self.site.to_keep(self.site.folder()))
        # Offline: the page under the folder's address is also in the HTTP
        # cache, its index.html only in the worker's; each starts its core.
        self.site.stop()
        for address in (self.site.url(), self.site.url() + 'index.html'):
            b.open(address)
            self.assertTrue(self.newer(), 'offline, the older page came back at ' + address)
        b.open(self.site.url(COPY_PATH))
        self.assertFalse(self.newer())
        self.assertEqual(self.caches()[copy], self.site.to_keep(SITE, COPY_PATH))


if __name__ == '__main__':
    unittest.main()
