// The calculator's page: builds the window's elements from the shared layout
// and colour rule, renders the calculator's state, and passes the user's
// edits, unit choices and keys to the shared handlers. Every rule (the
// correction, the caret, pastes, the keypad's separator, what is spoken)
// is the core's; this script only carries events in and texts out.
'use strict';

// The numbers the core's interface reads fields and visibility by.
const FIELD = { txtC: 0, cboC: 1, txtFreq: 2, cboFreq: 3, txtR: 4, lblUM: 5 };
const SHOWN = { txtR: 0, lblUM: 1, lblEtichete0: 2 };
const CARET = { untouched: 0, selectAll: 1, atEnd: 2 };
const ESCAPE_CODE = 27;
const BOXES = [{ name: 'txtC', field: FIELD.txtC }, { name: 'txtFreq', field: FIELD.txtFreq }];
const LISTS = [{ name: 'cboC', field: FIELD.cboC }, { name: 'cboFreq', field: FIELD.cboFreq }];

let core = null;
let page = null;  // the window's elements by name, and the layout

function bindCore() {
  return {
    start: cwrap('vm_start', null, ['string']),
    layout: cwrap('vm_layout', 'string', []),
    stylesheet: cwrap('vm_stylesheet', 'string', []),
    edit: cwrap('vm_edit', 'number', ['number', 'string']),
    chooseUnit: cwrap('vm_choose_unit', null, ['number', 'string']),
    key: cwrap('vm_key', 'number', ['number']),
    field: cwrap('vm_field', 'string', ['number']),
    shown: cwrap('vm_shown', 'number', ['number']),
    said: cwrap('vm_said', 'string', []),
    spokenResult: cwrap('vm_spoken_result', 'string', []),
    pasted: cwrap('vm_pasted', 'string', ['string']),
    keypadDecimal: cwrap('vm_keypad_decimal', 'string', []),
  };
}

// The decimal separator of the browser's first language.
function browserSeparator() {
  const languages = navigator.languages && navigator.languages.length
    ? navigator.languages : [navigator.language];
  const decimal = new Intl.NumberFormat(languages).formatToParts(1.5)
    .find((part) => part.type === 'decimal');
  return decimal ? decimal.value : '.';
}

function place(element, at) {
  element.style.left = at.left + 'px';
  element.style.top = at.top + 'px';
  if (at.width !== undefined) element.style.width = at.width + 'px';
  if (at.height !== undefined) element.style.height = at.height + 'px';
}

function makeControl(control) {
  const element = document.createElement(control.element);
  element.id = control.name;
  element.style.fontSize = control.fontPixels + 'px';
  element.style.fontWeight = control.fontWeight;
  if (control.element === 'label') {
    // A label sizes itself to its caption, keeping its left edge.
    place(element, { left: control.left, top: control.top });
    element.textContent = control.caption;
    if (control.for) element.htmlFor = control.for;
    return element;
  }
  place(element, control);
  if (control.accessibleName) element.setAttribute('aria-label', control.accessibleName);
  if (control.element === 'select') {
    for (const unit of control.units) element.add(new Option(unit, unit));
    element.selectedIndex = -1;  // nothing is chosen until start-up
    return element;
  }
  element.type = 'text';
  element.autocomplete = 'off';
  element.spellcheck = false;
  if (control.readOnly) {
    element.readOnly = true;
  } else {
    element.inputMode = 'decimal';
  }
  return element;
}

function buildWindow(layout) {
  const style = document.createElement('style');
  style.textContent = core.stylesheet();
  document.head.appendChild(style);
  document.title = layout.title.trim();
  document.getElementById('title').textContent = document.title;

  const window_ = document.getElementById('frmVelmorida');
  place(window_, { width: layout.width, height: layout.height });
  const frame = document.createElement('div');
  frame.className = 'frame';
  frame.id = 'fraVelmorida';
  place(frame, layout.frame);
  window_.appendChild(frame);

  const elements = {};
  for (const control of layout.controls) {
    elements[control.name] = makeControl(control);
    frame.appendChild(elements[control.name]);
  }
  // The controls that take the focus follow one another in the tab order.
  layout.controls.filter((control) => control.tab >= 0)
    .sort((a, b) => a.tab - b.tab)
    .forEach((control) => frame.appendChild(elements[control.name]));
  return { layout, window: window_, elements, live: document.getElementById('announcement') };
}

// A box is only given a text it does not show already: setting it moves the
// caret to the end.
function showText(element, text) {
  if (element.value !== text) element.value = text;
}

function render() {
  const e = page.elements;
  for (const box of BOXES) showText(e[box.name], core.field(box.field));
  for (const list of LISTS) e[list.name].value = core.field(list.field);
  if (e.txtR.value !== core.field(FIELD.txtR)) {
    e.txtR.value = core.field(FIELD.txtR);
    e.txtR.setSelectionRange(0, 0);  // a figure longer than the box shows its start
  }
  e.lblUM.textContent = core.field(FIELD.lblUM);
  e.txtR.hidden = !core.shown(SHOWN.txtR);
  e.lblUM.hidden = !core.shown(SHOWN.lblUM);
  e.lblEtichete0.hidden = !core.shown(SHOWN.lblEtichete0);
}

// The polite live region says each new text once.
function announce(text) {
  if (!text) return;
  page.live.textContent = '';
  page.live.textContent = text;
}

// The box's new text goes to the core as typed; the box then shows what
// the core holds, with the caret where the core's rule puts it (a text the
// page inserted leaves the caret after the insertion).
function onBoxEdited(index, element, typed, caretAfterTyping) {
  const caret = core.edit(index, typed);
  render();
  announce(core.said());
  if (caret === CARET.selectAll) {
    element.select();
  } else if (caret === CARET.atEnd) {
    element.setSelectionRange(element.value.length, element.value.length);
  } else if (caretAfterTyping !== undefined) {
    element.setSelectionRange(caretAfterTyping, caretAfterTyping);
  }
}

// Typed by the page over the box's selection, then handled as any edit.
// The text goes to the core whole: a text box would drop its line breaks.
function insertIntoBox(index, element, text) {
  const start = element.selectionStart;
  const shown = element.value;
  const typed = shown.slice(0, start) + text + shown.slice(element.selectionEnd);
  onBoxEdited(index, element, typed, start + text.length);
}

function watchBox(index, element) {
  element.addEventListener('input', () => onBoxEdited(index, element, element.value));
  // Pastes and drops lose the line breaks at their ends, by the core's rule;
  // the text is taken before the browser drops every line break of it.
  element.addEventListener('paste', (event) => {
    event.preventDefault();
    insertIntoBox(index, element, core.pasted(event.clipboardData.getData('text/plain')));
  });
  element.addEventListener('drop', (event) => {
    event.preventDefault();
    element.focus();
    insertIntoBox(index, element, core.pasted(event.dataTransfer.getData('text/plain')));
  });
  // The keypad's decimal key types the separator of the browser's language,
  // whatever the keyboard layout prints on it (with Num Lock off it is Delete).
  element.addEventListener('keydown', (event) => {
    if (event.code !== 'NumpadDecimal' || event.key.length !== 1) return;
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    insertIntoBox(index, element, core.keypadDecimal());
  });
}

function watchList(index, element) {
  // A closed list changes on the arrow keys as well as by the mouse.
  element.addEventListener('change', () => {
    core.chooseUnit(index, element.value);
    render();
    announce(core.said());
  });
}

function isSpeakResultKey(event) {
  return event.ctrlKey && !event.altKey && !event.shiftKey && !event.metaKey &&
    event.key.toLowerCase() === 'r';
}

// Escape closes the window where the browser lets a page close it (a window
// a script opened); elsewhere it does nothing, and the calculator stays.
function watchKeys() {
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      window.close();
      if (window.closed) core.key(ESCAPE_CODE);
      return;
    }
    if (isSpeakResultKey(event)) {
      event.preventDefault();
      announce(core.spokenResult());
    }
  });
}

// On a screen narrower than the window (a phone) the whole window scales to
// the width and keeps its layout.
function fitToScreen() {
  const scale = Math.min(1, document.documentElement.clientWidth / page.layout.width);
  page.window.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
}

function startPage() {
  core = bindCore();
  page = buildWindow(JSON.parse(core.layout()));
  BOXES.forEach((box, index) => watchBox(index, page.elements[box.name]));
  LISTS.forEach((list, index) => watchList(index, page.elements[list.name]));
  watchKeys();
  core.start(browserSeparator());
  render();
  fitToScreen();
  window.addEventListener('resize', fitToScreen);
  // As after any reset: the first digit typed replaces the "0".
  page.elements.txtC.focus();
  page.elements.txtC.select();
  document.documentElement.dataset.ready = 'true';
}
