#!/usr/bin/python3
"""The browser edition in headless Chromium, against a static page of the
same size with the same controls and no WebAssembly, alternately in one
browser: time from the start of navigation to the window's first paint and
to the first keystroke's figure on screen, and a keystroke from its input
event to the figure shown.

    bench/web_bench.py PAGE.html [RUNS]      (RUNS defaults to 15)

Both pages are measured by the same script, which Chromium runs in each
page before the page's own: once the page says it is ready, it types "1"
into the frequency box and "5" into the capacitance box (the value and an input event, as a keystroke
leaves them) and notes the time of the next frame after the read-out
changed.
"""
import os
import statistics
import sys
import tempfile

ARGUMENTS = sys.argv[1:]  # browser_test takes the first one as it is imported
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import browser_test  # noqa: E402

KEYSTROKES = 200
# Where the time goes: from the start of navigation to the first frame
# drawn of the page, and to the page ready to type into (for the calculator, its core
# instantiated and started).
PHASES = ('paint', 'ready')

PROBE = '''
// The first frame the browser draws of the page.
let firstFrame;
requestAnimationFrame(() => { firstFrame = performance.now(); });
new MutationObserver((changes, observer) => {
  if (document.documentElement.dataset.ready !== 'true') return;
  observer.disconnect();
  const ready = performance.now();
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
  const changed = readOut.value !== before;
  requestAnimationFrame(() => {
    const firstFigure = performance.now();
    const paint = firstFrame;
    const keystrokes = [];
    for (let i = 0; i < %d; ++i) {
      const start = performance.now();
      type(box, String(1 + i %% 999));
      keystrokes.push(performance.now() - start);
    }
    window.benchResult = {firstFigure, changed, keystrokes, ready, paint};
  });
}).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
''' % KEYSTROKES

# The baseline: the same controls at the same places, filled in by a few
# lines of script with no WebAssembly and no rule of the calculator's.
BASELINE = '''<!doctype html>
<html lang="ro"><head><meta charset="utf-8"><title>Velmorida condensatoarelor</title>
<style>body{margin:0;font:13px Verdana,Veranda,sans-serif}
.w{position:relative;width:451px;height:201px;background:#e0e0e0}
.w *{position:absolute;box-sizing:border-box}</style></head><body><main>
<div class="w"><label for="txtC" style="left:24px;top:40px">Capacitatea condensatorului:</label>
<input id="txtC" style="left:56px;top:68px;width:57px;height:24px" value="0">
<select id="cboC" style="left:112px;top:68px;width:73px;height:24px"><option>pF<option>nF<option>uF</select>
<label for="txtFreq" style="left:56px;top:128px">Frecventa de lucru:</label>
<input id="txtFreq" style="left:56px;top:148px;width:57px;height:24px" value="0">
<select id="cboFreq" style="left:112px;top:148px;width:73px;height:24px"><option>Hz<option>kHz<option>MHz</select>
<label for="txtR" style="left:232px;top:88px">Velmorida condensatorului:</label>
<input id="txtR" readonly style="left:267px;top:112px;width:73px;height:25px" value="0">
<label id="lblUM" style="left:355px;top:116px">Ohm</label></div></main>
<script>
const c = document.getElementById('txtC'), f = document.getElementById('txtFreq');
const r = document.getElementById('txtR');
const show = () => { r.value = String(1 / (6.28 * c.value * f.value)); };
c.addEventListener('input', show);
f.addEventListener('input', show);
c.focus(); c.select();
document.documentElement.dataset.ready = 'true';
</script>
<!--%s--></body></html>
'''


def baseline_of_size(size):
    empty = len((BASELINE % '').encode())
    return BASELINE % ('x' * max(0, size - empty))


def measure(browser, path):
    browser.driver.get('file://' + path)
    browser.wait_for(lambda d: d.execute_script('return window.benchResult !== undefined'))
    return browser.script('return window.benchResult')


def main():
    if not ARGUMENTS:
        sys.exit('usage: web_bench.py PAGE.html [RUNS]')
    page = os.path.abspath(ARGUMENTS[0])
    runs = int(ARGUMENTS[1]) if len(ARGUMENTS) > 1 else 15
    with tempfile.TemporaryDirectory() as folder:
        baseline = os.path.join(folder, 'baseline.html')
        with open(baseline, 'w', encoding='utf-8') as out:
            out.write(baseline_of_size(os.path.getsize(page)))
        browser_test.PAGE = page
        browser = browser_test.Browser()
        try:
            browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                           {'source': PROBE})
            measure(browser, page)  # the first load of each warms the browser's caches
            measure(browser, baseline)
            first, base_first, ratios, keystrokes, phases = [], [], [], [], {}
            for _ in range(runs):
                calc = measure(browser, page)
                base = measure(browser, baseline)
                if not calc['changed'] or not base['changed']:
                    sys.exit('a keystroke did not change the read-out')
                first.append(calc['firstFigure'])
                base_first.append(base['firstFigure'])
                ratios.append(calc['firstFigure'] / base['firstFigure'])
                keystrokes.extend(calc['keystrokes'])
                for name, result in (('calculator', calc), ('static page', base)):
                    for phase in PHASES:
                        phases.setdefault((name, phase), []).append(result[phase])
        finally:
            browser.quit()
    print('page: %s, %d bytes, %d runs each' % (page, os.path.getsize(page), runs))
    print('navigation to the first keystroke\'s figure on screen, medians:')
    print('  calculator %.1f ms, static page %.1f ms, ratio %.2f x (median of paired ratios;'
          ' goal at most 1.2 x)' % (statistics.median(first), statistics.median(base_first),
                                     statistics.median(ratios)))
    for (name, phase), times in sorted(phases.items()):
        print('  %s: %s at %.1f ms (median)' % (name, phase, statistics.median(times)))
    paints = [c / b for c, b in zip(phases[('calculator', 'paint')],
                                    phases[('static page', 'paint')])]
    print('  first frame of the page: ratio %.2f x (median of paired ratios)'
          % statistics.median(paints))
    print('keystroke, input event to the figure shown: median %.3f ms, 95th percentile %.3f ms'
          ' over %d keystrokes (goal: median under 1 ms)' % (
              statistics.median(keystrokes),
              statistics.quantiles(keystrokes, n=20)[-1], len(keystrokes)))


if __name__ == '__main__':
    main()
