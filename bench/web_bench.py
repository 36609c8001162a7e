#!/usr/bin/python3
"""The browser edition's start in headless Chromium, against a static copy of
its own started document, alternately in one browser: how soon the window
paints, and how soon it takes the user's keys.

    bench/web_bench.py PAGE.html [ALTERNATIONS]      (61 unless given)

The static copy is the page's document as it stands once the page has
started (the same markup and stylesheet, the controls enabled), with its
scripts taken out and a comment where they were, of the bytes that makes
the copy as long as the page: a page with no work to do but the same
painting. Both are opened from disk, one after the other, with a second
copy of the copy, whose paint against the copy's is the noise of the run;
each of the three comes first in turn.

Times are from the start of navigation, and each is the median of the
ratios of the pairs, against the copy's paint. On a busy shared machine of two
cores the second copy's pairs spread from about 0.75 to 1.2 x the copy
(quartiles), so that the median of 21 pairs moves by about 9 % from run to
run (a standard error), and that of 61 by about 5 %.
- paint: the page's first contentful paint (the Paint Timing API), the frame
  that shows the window;
- takes keys: the moment the page is ready for the user's keys, the core
  started, the controls enabled and the focus in the first box, when the
  page says so (its data-ready attribute becomes "true", observed at once);
  a key typed from then on reaches the core. The copy takes keys as it
  paints.
Then, in the calculator, 200 texts typed into the capacitance box, each timed
from its input event to the figure in the read-out.
"""
import os
import statistics
import sys
import tempfile

ARGUMENTS = sys.argv[1:]  # browser_test takes the first one as it is imported
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import browser_test  # noqa: E402

KEYSTROKES = 200

# Run by Chromium in every page before the page's own scripts.
PROBE = '''
const bench = {};
new PerformanceObserver((entries) => {
  for (const entry of entries.getEntries()) {
    if (entry.name === 'first-contentful-paint') bench.paint = entry.startTime;
  }
}).observe({type: 'paint', buffered: true});
new MutationObserver((changes, observer) => {
  if (document.documentElement.dataset.ready !== 'true') return;
  observer.disconnect();
  bench.keys = performance.now();
  // The keystrokes wait for a task of their own, after the start's.
  setTimeout(() => {
    const box = document.getElementById('txtC');
    const readOut = document.getElementById('txtR');
    const type = (into, text) => {
      into.value = text;
      into.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertText'}));
    };
    // A frequency first: with one box at 0 the figure stays 0.
    type(document.getElementById('txtFreq'), '1');
    const before = readOut.value;
    type(box, '5');
    bench.computes = readOut.value !== before;
    bench.keystrokes = [];
    for (let i = 0; i < %d; ++i) {
      const start = performance.now();
      type(box, String(1 + i %% 999));
      bench.keystrokes.push(performance.now() - start);
    }
  });
}).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
window.bench = bench;
''' % KEYSTROKES

# The page's document once started, its scripts replaced by one comment and
# its attributes of the start taken out; the comment is filled afterwards.
STARTED_DOCUMENT = '''
const copy = document.documentElement.cloneNode(true);
delete copy.dataset.ready;
const scripts = copy.querySelectorAll('script');
scripts.forEach((script) => script.remove());
copy.querySelector('body').append(document.createComment('PADDING'));
return '<!doctype html>\\n' + copy.outerHTML;
'''


def static_copy(browser, page):
    """The started document of the page, as long as the page."""
    browser.open()
    document = browser.script(STARTED_DOCUMENT)
    size = os.path.getsize(page)
    filler = size - len(document.replace('PADDING', '').encode())
    if filler < 0:
        sys.exit('the started document is longer than the page')
    return document.replace('PADDING', 'x' * filler)


def measure(browser, path, calculator):
    """The probe's figures of one load, once it has them all."""
    browser.driver.get('file://' + path)
    done = ('return window.bench.paint !== undefined && window.bench.keystrokes !== undefined'
            if calculator else 'return window.bench.paint !== undefined')
    browser.wait_for(lambda d: d.execute_script(done))
    return browser.script('return window.bench')


def ratios(numerators, denominators):
    """The median of the pairs' ratios, and their quartiles: how much the
    machine moved them."""
    each = [n / d for n, d in zip(numerators, denominators)]
    low, _, high = statistics.quantiles(each, n=4)
    return '%.2f x the copy\'s paint (pairs\' quartiles %.2f to %.2f)' % (
        statistics.median(each), low, high)


def main():
    if not ARGUMENTS:
        sys.exit('usage: web_bench.py PAGE.html [ALTERNATIONS]')
    page = os.path.abspath(ARGUMENTS[0])
    alternations = int(ARGUMENTS[1]) if len(ARGUMENTS) > 1 else 61
    browser_test.PAGE = page
    browser = browser_test.Browser()
    try:
        with tempfile.TemporaryDirectory() as folder:
            copy, control = (os.path.join(folder, name) for name in ('copy.html', 'control.html'))
            document = static_copy(browser, page)
            for path in (copy, control):
                with open(path, 'w', encoding='utf-8') as out:
                    out.write(document)
            browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                           {'source': PROBE})
            pages = [(page, True), (copy, False), (control, False)]
            for path, calculator in pages:  # the first load of each warms the caches
                measure(browser, path, calculator)
            runs = {path: [] for path, _ in pages}
            for i in range(alternations):
                turn = i % len(pages)  # each page first in turn
                for path, calculator in pages[turn:] + pages[:turn]:
                    runs[path].append(measure(browser, path, calculator))
                if not runs[page][-1]['computes']:
                    sys.exit('a keystroke did not change the read-out')
    finally:
        browser.quit()
    calc = runs[page]
    paints = [r['paint'] for r in calc]
    keys = [r['keys'] for r in calc]
    base_paints = [r['paint'] for r in runs[copy]]
    control_paints = [r['paint'] for r in runs[control]]
    keystrokes = [t for r in calc for t in r['keystrokes']]
    print('page: %s, %d bytes; %d alternations with its static copy and a second copy' % (
        page, os.path.getsize(page), alternations))
    print('from the start of navigation, medians:')
    print('  static copy paints at %.1f ms' % statistics.median(base_paints))
    print('  second copy paints at %.1f ms, %s: the noise of this run'
          % (statistics.median(control_paints), ratios(control_paints, base_paints)))
    print('  calculator paints at %.1f ms, %s; goal: at most 1.1 x'
          % (statistics.median(paints), ratios(paints, base_paints)))
    print('  calculator takes keys at %.1f ms, %s; goal: at most 1.2 x'
          % (statistics.median(keys), ratios(keys, base_paints)))
    print('keystroke, input event to the figure shown: median %.3f ms, 95th percentile %.3f ms'
          ' over %d keystrokes (goal: median under 1 ms)' % (
              statistics.median(keystrokes),
              statistics.quantiles(keystrokes, n=20)[-1], len(keystrokes)))


if __name__ == '__main__':
    main()
