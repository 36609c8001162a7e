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
// What reaches a page from Firefox's window (the focus, a list's choice)
// reaches it asynchronously: looked at this often, for at most this long.
const POLL_MS = 20;
const WAIT_MS = 30000;

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

// Polls an async condition every pollMs until it is true, or fails with why.
async function until(condition, pollMs, waitMs, why) {
  const deadline = Date.now() + waitMs;
  while (!await condition()) {
    if (Date.now() > deadline) throw new Error(why);
    await new Promise((resolve) => setTimeout(resolve, pollMs));
  }
}

// The <browser> element of Firefox's window that shows the page: the one
// whose WebDriver id is the page's (a popup and its opener show one address).
function browserOf(page) {
  return 'ChromeUtils.importESModule("chrome://remote/content/shared/NavigableManager.sys.mjs")' +
      '.NavigableManager.getBrowserById(' + JSON.stringify(page.mainFrame()._id) + ')';
}

// The page's window and tab given the focus, as a user's click on them does:
// Firefox starts with its own address bar focused, and a page's document
// that does not have the focus moves it on Tab without the events a focused
// one gets (Tab then leaves a box's text unselected). It has the focus once
// the page's document says so.
async function focusPage(page) {
  await inFirefox(`(() => {
    const tab = ${browserOf(page)};
    tab.ownerDocument.defaultView.focus();
    tab.focus();
    return true;
  })()`);
  await until(() => page.evaluate('document.hasFocus()'), POLL_MS, WAIT_MS,
              'the page\'s window never had the focus');
}

// The item of the list the pointer opened, taken as a user's click on it
// takes it: Firefox draws the open list in its own window, whose keys and
// pointer the page's input does not reach, and hands the choice to the page.
// It is taken once the page's list shows it.
async function chooseItem(id, index) {
  const take = () => inFirefox(`(() => {
    const list = ${browserOf(current)}.ownerDocument.getElementById('ContentSelectDropdownPopup');
    if (!list || list.state !== 'open') return 'closed';
    const item = list.querySelector('menuitem[value="${Number(index)}"]');
    if (!item) return 'missing';
    list.activateItem(item);
    return 'taken';
  })()`);
  let taken;
  await until(async () => (taken = await take()) !== 'closed', POLL_MS, WAIT_MS,
              'Firefox never opened the list #' + id);
  if (taken === 'missing') throw new Error('the list #' + id + ' has no item ' + index);
  const shown = () => current.evaluate((list) => document.getElementById(list).selectedIndex, id);
  await until(async () => await shown() === index, POLL_MS, WAIT_MS,
              'the list #' + id + ' never showed its item ' + index);
}

// Firefox makes a popup with an empty document, which the address then
// replaces: scripts in between find a document without its root, or the
// realm they ran in gone. The popup is the page's once its own address has
// loaded in it, as goto leaves a page.
async function loadedIn(popup, url) {
  let last = 'not yet';
  const loaded = () => popup.evaluate(
      (address) => location.href === address && document.readyState === 'complete', url)
      .catch((error) => {
        last = String(error && error.message || error);
        return false;
      });
  try {
    await until(loaded, POLL_MS, WAIT_MS, 'timed out');
  } catch (timedOut) {
    throw new Error('the popup never loaded ' + url + ': ' + last);
  }
}

// Whether Firefox has closed the page's window (puppeteer learns it later).
async function closed(page) {
  const tree = await browser.connection.send('browsingContext.getTree', {maxDepth: 0});
  return !tree.result.contexts.some((context) => context.context === page.mainFrame()._id);
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
    const node = find(service.getAccessibleFor(${browserOf(current)}));
    return node ? JSON.stringify(node.${part === 'name' ? 'name' : 'description'} ?? '') : 'null';
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
    await focusPage(current);
    return null;
  },
  script: (code, args) => current.evaluate(call(code, args, false)),
  async_script: (code, args) => current.evaluate(call(code, args, true)),
  async keys(held, key) {
    try {
      for (const name of held) await current.keyboard.down(name);
      await current.keyboard.press(key);
      for (const name of held.slice().reverse()) await current.keyboard.up(name);
    } catch (error) {
      // A key that closes the window (Escape in a popup) leaves the rest of
      // its presses and releases no window to go to.
      if (!await closed(current)) throw error;
    }
    return null;
  },
  type: (text) => current.keyboard.type(text).then(() => null),
  clipboard: (text) => inFirefox(
      'Cc["@mozilla.org/widget/clipboardhelper;1"].getService(Ci.nsIClipboardHelper)' +
      '.copyString(' + JSON.stringify(text) + '); true'),
  click: (x, y) => current.mouse.click(x, y).then(() => null),
  choose: (id, index) => chooseItem(id, index).then(() => null),
  tap: (x, y) => current.touchscreen.tap(x, y).then(() => null),
  async open_popup() {
    const created = new Promise((resolve) => browser.once('targetcreated', resolve));
    await current.evaluate('window.open(location.href, "_blank", "popup"); null');
    const popup = await (await created).page();
    await loadedIn(popup, current.url());
    opener = current;
    current = popup;
    await focusPage(popup);
    return null;
  },
  async close_popup() {
    if (opener === null) return null;
    const popup = current;
    // Puppeteer has the window closed once Firefox has told it, which may
    // be after Firefox closed it (Escape in the popup does).
    const told = new Promise((resolve) => {
      if (popup.isClosed()) resolve();
      else popup.once('close', resolve);
    });
    if (!await closed(popup)) await popup.close();
    await told;
    current = opener;
    opener = null;
    // Firefox gives the focus back to another window, not always the opener.
    await focusPage(current);
    return null;
  },
  window_count: async () => (await browser.pages()).length,
  async accessible(id, part) {
    let found = null;
    await until(async () => {
      await current.evaluate(AFTER_TWO_FRAMES);
      found = JSON.parse(await accessibleOf(id, part));
      return found !== null;
    }, TREE_POLL_MS, TREE_WAIT_MS, 'no accessible of #' + id + ' in Firefox\'s tree');
    return found;
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
