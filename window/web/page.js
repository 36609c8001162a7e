// The calculator's page: takes over the window the HTML already shows (its
// controls disabled until the core is ready), maps the browser's events
// (edits, unit choices, pastes, drops, taps, keys) to the core's interface
// and draws what comes back. Every rule (the correction,
// the caret, what a paste keeps, what a key means, what is spoken) is the
// core's; this script only carries events in and texts out.
'use strict';

let core = null;
let live = null;  // the polite live region

function bindCore() {
  const call = (name, args) => {
    const wrapped = cwrap(name, 'string', args);
    return (...values) => JSON.parse(wrapped(...values));
  };
  return {
    start: call('vm_start', ['string']),
    render: call('vm_render', []),
    edit: call('vm_edit', ['string', 'string']),
    chooseUnit: call('vm_choose_unit', ['string', 'number']),
    insert: call('vm_insert', ['string', 'string', 'number', 'number']),
    selectsOnPointerFocus: cwrap('vm_selects_on_pointer_focus', 'number', ['string']),
    key: call('vm_key', [...Array(7).fill('number'), 'string']),
  };
}

// The decimal separator of the first of the browser's languages that Intl
// takes. The list is the browser's to report, and some report tags that Intl
// refuses ("C" under a POSIX locale) or none at all: those are passed over,
// and with no language left the separator is ".".
function browserSeparator() {
  const languages = [...(navigator.languages || []), navigator.language];
  for (const tag of languages) {
    if (typeof tag !== 'string' || tag === '') continue;
    let format;
    try {
      format = new Intl.NumberFormat(tag);
    } catch (refused) {
      continue;
    }
    const decimal = format.formatToParts(1.5).find((part) => part.type === 'decimal');
    return decimal ? decimal.value : '.';
  }
  return '.';
}

// Where the core puts a box's caret.
function placeCaret(element, caret) {
  if (caret === 'selectAll') {
    element.select();
  } else if (caret === 'atEnd') {
    element.setSelectionRange(element.value.length, element.value.length);
  } else if (caret === 'atStart') {
    element.setSelectionRange(0, 0);
  }
}

// Each control as the core's view has it. A box is only given a text it does
// not show already (setting it moves the caret to the end), with the caret
// where the view puts it; a list only an item it has not chosen already.
function render(view) {
  for (const shown of view) {
    const element = document.getElementById(shown.id);
    if (element instanceof HTMLSelectElement) {
      if (element.selectedIndex !== shown.item) element.selectedIndex = shown.item;
    } else if (element instanceof HTMLInputElement) {
      if (element.value !== shown.text) {
        element.value = shown.text;
        placeCaret(element, shown.caret);
      }
    } else if (element.textContent !== shown.text) {
      element.textContent = shown.text;
    }
    element.hidden = !shown.visible;
  }
}

// The polite live region says each new text once, and a text asked for again
// once more. A screen reader hears a text added to the region as the browser
// last drew it empty: emptied and filled in one task, the region's
// accessible text is as it was (Chromium then tells nothing), so each text
// waits for a drawn frame with the region empty, and is itself drawn before
// the region is emptied for the next. Orca takes a text equal to the last one
// a region was given for a repeated event and drops it: a text given twice in
// a row ends in a no-break space the second time, which is not spoken.
const NO_BREAK_SPACE = '\u00a0';
const toBeSaid = [];
let lastSaid = '';
let telling = false;

// A task queued from an animation frame's callback runs once that frame is drawn.
function afterNextFrame(step) {
  requestAnimationFrame(() => setTimeout(step));
}

// One change of the region a frame: emptied if it holds a text, else given the next.
function tellNext() {
  if (live.textContent) {
    live.textContent = '';
  } else {
    live.textContent = toBeSaid.shift();
  }
  telling = toBeSaid.length > 0;
  if (telling) afterNextFrame(tellNext);
}

function announce(text) {
  if (!text) return;
  lastSaid = text === lastSaid ? text + NO_BREAK_SPACE : text;
  toBeSaid.push(lastSaid);
  if (!telling) {
    telling = true;
    afterNextFrame(tellNext);
  }
}

// The box's new text goes to the core as typed; the box then shows what
// the core holds, with the caret where the core's rule puts it (a text the
// page inserted leaves the caret after the insertion).
function onBoxEdited(element, typed, caretAfterTyping) {
  const answer = core.edit(element.id, typed);
  render(answer.view);
  announce(answer.said);
  if (answer.caret === 'kept' && caretAfterTyping !== undefined) {
    element.setSelectionRange(caretAfterTyping, caretAfterTyping);
  } else {
    placeCaret(element, answer.caret);
  }
}

// A paste, a drop or the keypad's separator, over the box's selection: the
// core says how much of it the box takes, if anything; the page types that
// and hands the box's new text on as any edit. The text goes to the core
// whole, taken before the browser drops every line break of it.
function insertIntoBox(element, text) {
  const start = element.selectionStart;
  const end = element.selectionEnd;
  const answer = core.insert(element.id, text, start, end);
  if (answer.insert === undefined) return;
  const shown = element.value;
  const typed = shown.slice(0, start) + answer.insert + shown.slice(end);
  onBoxEdited(element, typed, start + answer.insert.length);
}

// A box that a tap or a click gives the focus, holding only its "0", has it
// selected, as Tab and start-up leave it: the first digit replaces it. The
// page focuses and selects it itself: the browser's own press would put the
// caret where the pointer is, even after the click (a release over the
// selection the box had when it last lost the focus collapses it).
function watchPointerFocus(element) {
  element.addEventListener('mousedown', (event) => {
    if (document.activeElement === element || !core.selectsOnPointerFocus(element.id)) return;
    event.preventDefault();
    element.focus();
    element.select();
  });
}

function watchBox(element) {
  watchPointerFocus(element);
  element.addEventListener('input', () => onBoxEdited(element, element.value));
  element.addEventListener('paste', (event) => {
    event.preventDefault();
    insertIntoBox(element, event.clipboardData.getData('text/plain'));
  });
  // A drop lands at the caret, never over a selection.
  element.addEventListener('drop', (event) => {
    event.preventDefault();
    element.focus();
    element.setSelectionRange(element.selectionEnd, element.selectionEnd);
    insertIntoBox(element, event.dataTransfer.getData('text/plain'));
  });
}

function watchList(element) {
  // A closed list changes on the arrow keys as well as by the mouse.
  element.addEventListener('change', () => {
    const answer = core.chooseUnit(element.id, element.selectedIndex);
    render(answer.view);
    announce(answer.said);
  });
}

// A key as the core knows it: its modifiers, its own character (the
// browser's key text, when it is one character), Escape, and the keypad's
// decimal key while it types (with Num Lock off it is Delete).
function onKey(event) {
  const character = [...event.key].length === 1 ? event.key.codePointAt(0) : 0;
  const keypadDecimal = event.code === 'NumpadDecimal' && character !== 0;
  const answer = core.key(event.ctrlKey, event.shiftKey, event.altKey, event.metaKey, character,
                          event.key === 'Escape', keypadDecimal, event.target.id || '');
  if (answer.consumed) event.preventDefault();
  if (answer.action === 'speak') announce(answer.text);
  if (answer.action === 'insert') insertIntoBox(event.target, answer.text);
}

// The core could not start: the page says so, the controls stay disabled,
// and a test sees it at once. The first failure is the one told; once the
// core has started, the page's own errors are not taken for one. A browser
// without WebAssembly gets the line that says what the calculator needs
// (scripts off get it from the markup's noscript); any other failure is told
// as what it is, in a line of its own.
function pageFailed(why) {
  const page = document.documentElement.dataset;
  if (page.ready) return;
  page.ready = 'failed';
  page.failure = why;
  document.getElementById('failure').textContent = why;
  document.getElementById('failed').hidden = false;
}

function pageNeedsWebAssembly() {
  pageFailed('no WebAssembly');
  document.getElementById('failed').hidden = true;
  document.getElementById('needs').hidden = false;
}

// A control the window held disabled until the core started. Chromium keeps
// in its accessibility tree the options of a list as they were while the
// list was disabled, none of them selected, and a screen reader would name
// the list without its unit: the options put back into the list are taken
// afresh, and the list keeps its choice.
function enable(control) {
  control.disabled = false;
  if (control instanceof HTMLSelectElement) {
    const chosen = control.selectedIndex;
    control.replaceChildren(...control.options);
    control.selectedIndex = chosen;
  }
}

function startPage() {
  core = bindCore();
  live = document.getElementById('announcement');
  const started = core.start(browserSeparator());
  const frame = document.getElementById('fraVelmorida');
  frame.querySelectorAll('input:not([readonly])').forEach(watchBox);
  frame.querySelectorAll('select').forEach(watchList);
  document.addEventListener('keydown', onKey);
  render(started.view);
  frame.querySelectorAll('input, select').forEach(enable);
  const first = document.getElementById(started.focus);
  first.focus();
  placeCaret(first, started.caret);
  document.documentElement.dataset.ready = 'true';
}
