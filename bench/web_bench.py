#!/usr/bin/python3
"""The browser edition's start in each browser engine the page's tests drive
(Chromium, Firefox, WebKitGTK), against a static copy of its own started
document, alternately in one run of that engine: how soon the window paints,
and how soon it takes the user's keys.

    bench/web_bench.py [--engine chromium|firefox|webkit|all] PAGE.html [ALTERNATIONS]
                            (all engines; 63, rounded up to a multiple of 3, unless given)

The static copy is the page's document as it stands once the page has
started in that engine (the same markup and stylesheet, the controls
enabled), with its scripts taken out and a comment where they were, of the
bytes that makes the copy as long as the page: a page with no work to do but
the same painting. The page, the copy and a second copy of the copy, whose
paint against the copy's is the noise of the run, are written into a
temporary folder with a probe script right after their charset declaration
(which must stay within the first 1024 bytes), before anything of the page's
own: every engine measures the same files the same way, WebKitWebDriver
having no way to run a script before a page's own. They are opened from
disk one after the other, in an order where each follows each, itself
included, as often: an engine's putting away of the page before (in
WebKitGTK, about 10 ms after the calculator) weighs alike on all three.

Times are from the start of navigation, and each is the median of the
ratios of the pairs, against the copy's paint. On a busy shared machine of two
cores the second copy's pairs spread from about 0.75 to 1.2 x the copy
(quartiles), so that the median of 21 pairs moves by about 9 % from run to
run (a standard error), and that of 63 by about 5 %.
- paint: the page's first contentful paint (the Paint Timing API, which all
  three engines have), the frame that shows the window;
- takes keys: the moment the page is ready for the user's keys, the core
  started, the controls enabled and the focus in the first box, when the
  page says so (its data-ready attribute becomes "true", observed at once);
  a key typed from then on reaches the core. The copy takes keys as it
  paints.
Then, in the calculator, 200 texts typed into the capacitance box, each timed
from its input event to the figure in the read-out; where the engine's clock
is too coarse for one keystroke, only their mean is given.
"""
import argparse
import math
import os
import re
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import engines  # noqa: E402

KEYSTROKES = 200
# A keystroke's goal, and the coarsest clock step that still times one.
KEYSTROKE_GOAL_MS = 1
FINEST_USEFUL_STEP_MS = 0.5

# Run in every page before the page's own scripts.
PROBE = '''<script>
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
    const first = performance.now();
    for (let i = 0; i < %d; ++i) {
      const start = performance.now();
      type(box, String(1 + i %% 999));
      bench.keystrokes.push(performance.now() - start);
    }
    bench.typing = performance.now() - first;
    // The clock's step, which engines coarsen against timing attacks.
    let now = performance.now(), next;
    while ((next = performance.now()) === now);
    bench.step = next - now;
  });
}).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
window.bench = bench;
</script>''' % KEYSTROKES
# The order of the loads of the page (0), the copy (1) and the second copy
# (2): each follows each, itself included, once in nine loads (a de Bruijn
# sequence), so that what an engine does to put away the page before weighs
# alike on all three (in WebKitGTK a load after the calculator's took about
# 10 ms more, and the calculator had never followed itself).
ORDER = (0, 0, 1, 0, 2, 1, 1, 2, 2)
TIMES_EACH = ORDER.count(0)
CHARSET = re.compile(r'<meta charset=[^>]*>', re.IGNORECASE)

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
    browser.open('file://' + page)
    document = browser.script(STARTED_DOCUMENT)
    filler = os.path.getsize(page) - len(document.replace('PADDING', '').encode())
    if filler < 0:
        sys.exit('the started document is longer than the page')
    return document.replace('PADDING', 'x' * filler)


def with_probe(document):
    """The document with the probe first after its charset, the page's own after."""
    charset = CHARSET.search(document)
    if not charset:
        sys.exit('the page declares no charset, after which the probe goes')
    return document[:charset.end()] + PROBE + document[charset.end():]


def write(path, document):
    with open(path, 'w', encoding='utf-8', newline='') as out:
        out.write(with_probe(document))
    return path


def measure(browser, path, calculator):
    """The probe's figures of one load, once it has them all."""
    browser.get('file://' + path)
    done = ('return window.bench.paint !== undefined && window.bench.step !== undefined'
            if calculator else 'return window.bench.paint !== undefined')
    browser.wait_for(lambda e: e.script(done), 'the probe\'s figures of ' + path)
    return browser.script('return window.bench')


def alternate(browser, page, cycles):
    """Each page's loads, for the page and its two copies, in one run of the engine."""
    with tempfile.TemporaryDirectory() as folder:
        copy = static_copy(browser, page)
        with open(page, encoding='utf-8', newline='') as source:
            calculator = write(os.path.join(folder, 'velmorida.html'), source.read())
        pages = [(calculator, True), (write(os.path.join(folder, 'copy.html'), copy), False),
                 (write(os.path.join(folder, 'control.html'), copy), False)]
        browser.open('file://' + calculator)  # the copy with the probe still starts
        for path, is_calculator in pages:  # the first load of each warms the caches
            measure(browser, path, is_calculator)
        runs = [[] for _ in pages]
        for index in ORDER * cycles:
            path, is_calculator = pages[index]
            runs[index].append(measure(browser, path, is_calculator))
            if is_calculator and not runs[index][-1]['computes']:
                sys.exit('a keystroke did not change the read-out')
        return runs


def ratios(numerators, denominators):
    """The median of the pairs' ratios, and their quartiles: how much the
    machine moved them."""
    each = [n / d for n, d in zip(numerators, denominators)]
    low, _, high = statistics.quantiles(each, n=4)
    return '%.2f x the copy\'s paint (pairs\' quartiles %.2f to %.2f)' % (
        statistics.median(each), low, high)


def report(name, calc, copy, control):
    paints = [r['paint'] for r in calc]
    keys = [r['keys'] for r in calc]
    base_paints = [r['paint'] for r in copy]
    control_paints = [r['paint'] for r in control]
    print('%s, from the start of navigation, medians:' % name)
    print('  static copy paints at %.1f ms' % statistics.median(base_paints))
    print('  second copy paints at %.1f ms, %s: the noise of this run'
          % (statistics.median(control_paints), ratios(control_paints, base_paints)))
    print('  calculator paints at %.1f ms, %s; goal: at most 1.1 x'
          % (statistics.median(paints), ratios(paints, base_paints)))
    print('  calculator takes keys at %.1f ms, %s; goal: at most 1.2 x'
          % (statistics.median(keys), ratios(keys, base_paints)))
    print('  ' + keystroke_figures(calc))


def keystroke_figures(calc):
    """Each keystroke's time where the engine's clock resolves it, their mean in any case."""
    step = min(r['step'] for r in calc)
    mean = statistics.mean(r['typing'] for r in calc) / KEYSTROKES
    figures = 'keystroke, input event to the figure shown: mean %.3f ms' % mean
    if step <= FINEST_USEFUL_STEP_MS:
        keystrokes = [t for r in calc for t in r['keystrokes']]
        figures += ', median %.3f ms, 95th percentile %.3f ms' % (
            statistics.median(keystrokes), statistics.quantiles(keystrokes, n=20)[-1])
    return figures + ' over %d keystrokes, the clock\'s step %.3f ms (goal: under %d ms)' % (
        KEYSTROKES * len(calc), step, KEYSTROKE_GOAL_MS)


def main():
    parser = argparse.ArgumentParser(description='The page\'s start against its static copy.')
    parser.add_argument('--engine', choices=engines.ENGINE_NAMES + ('all',), default='all')
    parser.add_argument('page')
    parser.add_argument('alternations', nargs='?', type=int, default=63)
    arguments = parser.parse_args()
    page = os.path.abspath(arguments.page)
    names = engines.ENGINE_NAMES if arguments.engine == 'all' else (arguments.engine,)
    cycles = math.ceil(arguments.alternations / TIMES_EACH)
    print('page: %s, %d bytes; %d alternations with its static copy and a second copy' % (
        page, os.path.getsize(page), cycles * TIMES_EACH))
    for name in names:
        browser = engines.engine_named(name)()
        try:
            runs = alternate(browser, page, cycles)
        finally:
            browser.quit()
        report(name, *runs)


if __name__ == '__main__':
    main()
