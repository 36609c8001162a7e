// Drives Debian's Firefox over WebDriver BiDi with puppeteer-core for the
// page's tests (firefox_engine.py): one JSON request a line on stdin,
// {"op": NAME, "args": [...]}, answered by one line, {"value": ...} or
// {"error": "..."}. It maps each op to puppeteer's calls and holds no test's
// logic; it ends Firefox, and its temporary profile, when stdin ends.
//   node firefox.js PUPPETEER_FOLDER
'use strict';
const path = require('path');
const readline = require('readline');

const puppeteer = require(path.join(process.argv[2], 'node_modules', 'puppeteer-core'));

const FIREFOX = '/usr/bin/firefox-esr';
// Lets the driver run scripts in Firefox's own windows: preferences set while
// it runs, its clipboard, its accessibility tree.
const SYSTEM_ACCESS = '--remote-allow-system-access';
// Firefox builds the accessibility tree of a page as its refresh driver ticks
// after a change, and sends it to the parent process in that tick; two
// frames later the parent has it.
const AFTER_TWO_FRAMES =
    'new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))';
// The accessibility tree's first building after the service starts.
const TREE_POLL_MS = 50;
const TREE_WAIT_MS = 10000;

let browser = null;
// The window the ops act on: the first tab, or a popup opened from it.
let current = null;
let opener = null;
let chromeContext = null;

// A function body run with its arguments, as WebDriver's scripts are; with a
// callback as its last argument when asynchronous.
function call(code, args, asynchronous) {
  const body = '(function () {\n' + code + '\n})';
  const list = JSON.stringify(args);
  if (!asynchronous) return body + '.apply(window, ' + list + ')';
  return 'new Promise((done) => ' + body + '.apply(window, ' + list + '.concat([done])))';
}

// An expression evaluated in Firefox's own browser window (not a page).
async function inFirefox(expression) {
  if (chromeContext === null) {
    const tree = await browser.connection.send('browsingContext.getTree', {'moz:scope': 'chrome'});
    chromeContext = tree.result.contexts[0].context;
  }
  const reply = await browser.connection.send('script.evaluate', {
    expression, target: {context: chromeContext}, awaitPromise: true,
    resultOwnership: 'none', serializationOptions: {maxObjectDepth: 0}});
  const result = reply.result;
  if (result.type === 'exception') throw new Error(result.exceptionDetails.text);
  return result.result.type === 'null' ? null : result.result.value;
}

// Preferences while Firefox runs: a value, or null for Firefox's own.
function setPrefs(prefs) {
  const lines = Object.entries(prefs).map(([name, value]) => {
    const key = JSON.stringify(name);
    if (value === null) return 'Services.prefs.clearUserPref(' + key + ');';
    const kind = typeof value === 'boolean' ? 'Bool' : typeof value === 'number' ? 'Int' : 'String';
    return 'Services.prefs.set' + kind + 'Pref(' + key + ', ' + JSON.stringify(value) + ');';
  });
  return inFirefox('(() => {' + lines.join('\n') + ' return true; })()');
}

// The element's computed accessible name or description, from the tree the
// parent process holds for screen readers; null while the tree lacks it.
function accessibleOf(id, part) {
  return inFirefox(`(() => {
    const service = Cc['@mozilla.org/accessibilityService;1']
        .getService(Ci.nsIAccessibilityService);
    const find = (node) => {
      if (!node) return null;
      if (node.id === ${JSON.stringify(id)}) return node;
      for (let child = node.firstChild; child; child = child.nextSibling) {
        const found = find(child);
        if (found) return found;
      }
      return null;
    };
    for (const window of Services.wm.getEnumerator('navigator:browser')) {
      for (const tab of window.gBrowser.browsers) {
        if (!tab.currentURI.equals(Services.io.newURI(${JSON.stringify(current.url())}))) continue;
        const node = find(service.getAccessibleFor(tab));
        if (node) return JSON.stringify(node.${part === 'name' ? 'name' : 'description'} ?? '');
      }
    }
    return 'null';
  })()`);
}

const OPS = {
  async launch(options) {
    browser = await puppeteer.launch({
      browser: 'firefox', executablePath: FIREFOX, headless: true, defaultViewport: null,
      args: [SYSTEM_ACCESS],
      // A headless Firefox's window takes its size from these.
      env: {...process.env, MOZ_HEADLESS_WIDTH: String(options.width),
            MOZ_HEADLESS_HEIGHT: String(options.height)},
      extraPrefsFirefox: options.prefs,
      // The test's own stdin ends Firefox; a signal to this process does too.
      handleSIGINT: true, handleSIGTERM: true, handleSIGHUP: true});
    [current] = await browser.pages();
    if (options.offline) await inFirefox('Services.io.offline = true');
    for (const source of options.preload) await current.evaluateOnNewDocument(source);
    return null;
  },
  async goto(url) {
    await current.goto(url, {waitUntil: 'load'});
    return null;
  },
  script: (code, args) => current.evaluate(call(code, args, false)),
  async_script: (code, args) => current.evaluate(call(code, args, true)),
  async keys(held, key) {
    for (const name of held) await current.keyboard.down(name);
    await current.keyboard.press(key);
    for (const name of held.slice().reverse()) await current.keyboard.up(name);
    return null;
  },
  type: (text) => current.keyboard.type(text).then(() => null),
  clipboard: (text) => inFirefox(
      'Cc["@mozilla.org/widget/clipboardhelper;1"].getService(Ci.nsIClipboardHelper)' +
      '.copyString(' + JSON.stringify(text) + '); true'),
  click: (x, y) => current.mouse.click(x, y).then(() => null),
  tap: (x, y) => current.touchscreen.tap(x, y).then(() => null),
  async open_popup() {
    const created = new Promise((resolve) => browser.once('targetcreated', resolve));
    await current.evaluate('window.open(location.href, "_blank", "popup"); null');
    const popup = await (await created).page();
    opener = current;
    current = popup;
    return null;
  },
  async close_popup() {
    if (opener === null) return null;
    if (!current.isClosed()) {
      // The window is gone once Firefox says so, not when the command returns.
      const popup = current.target();
      const gone = new Promise((resolve) => browser.on('targetdestroyed', (target) => {
        if (target === popup) resolve();
      }));
      await current.close();
      await gone;
    }
    current = opener;
    opener = null;
    return null;
  },
  window_count: async () => (await browser.pages()).length,
  async accessible(id, part) {
    const deadline = Date.now() + TREE_WAIT_MS;
    for (;;) {
      await current.evaluate(AFTER_TWO_FRAMES);
      const found = JSON.parse(await accessibleOf(id, part));
      if (found !== null) return found;
      if (Date.now() > deadline) throw new Error('no accessible of #' + id + ' in Firefox\'s tree');
      await new Promise((resolve) => setTimeout(resolve, TREE_POLL_MS));
    }
  },
  prefs: (prefs) => setPrefs(prefs).then(() => null),
  viewport: (viewport) => current.setViewport(viewport).then(() => null),
  async quit() {
    await closeBrowser();
    return null;
  },
};

async function closeBrowser() {
  if (browser === null) return;
  const closing = browser;
  browser = null;
  await closing.close();
}

// One request at a time, answered in order.
async function serve() {
  const lines = readline.createInterface({input: process.stdin, terminal: false});
  for await (const line of lines) {
    if (!line.trim()) continue;
    let answer;
    try {
      const {op, args} = JSON.parse(line);
      if (!Object.hasOwn(OPS, op)) throw new Error('no op ' + op);
      const value = await OPS[op](...(args || []));
      answer = {value: value === undefined ? null : value};
    } catch (error) {
      answer = {error: String(error && error.message || error)};
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
  }
}

serve().finally(closeBrowser).finally(() => process.exit(0));
