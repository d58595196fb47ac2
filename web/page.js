// The page: the parameters window drawn from the module's controls and layout, the map,
// the link, the downloads. Every field's correction, figure and default comes from the
// module (params/ compiled to WebAssembly); builds run in worker.js.
import createLorvex from './lorvex.js';
import { MapView } from './map.js';

const $ = (id) => document.getElementById(id);
const TWIP = 15;  // twips to the pixel
const SMALL_MAP = 250 * 250;  // squares: a map up to this rebuilds as a field changes
const TEXT_SHOWN = 1 << 20;   // squares: larger worlds are downloaded, not shown as text
const DEFAULT_SIZE = { w: 200, h: 150, wrap: true };

const M = await createLorvex();
const call = {
  open: M.cwrap('lw_window_open', null, ['number', 'number']),
  map: M.cwrap('lw_window_map', null, ['number', 'number']),
  state: M.cwrap('lw_window_state', 'string', []),
  type: M.cwrap('lw_window_type', 'number', ['string', 'number', 'string']),
  set: M.cwrap('lw_window_set', 'number', ['string', 'number', 'number']),
  click: M.cwrap('lw_window_click', 'number', ['string', 'number']),
  tab: M.cwrap('lw_window_tab', null, ['number']),
  apply: M.cwrap('lw_window_apply', 'string', ['string', 'string']),
  recommend: M.cwrap('lw_window_recommend', 'string', []),
  setKey: M.cwrap('lw_window_set_key', 'number', ['string']),
  key: M.cwrap('lw_window_key', 'string', []),
  save: M.cwrap('lw_window_save', 'string', ['string']),
  load: M.cwrap('lw_window_load', 'number', ['string']),
  layout: M.cwrap('lw_window_layout', 'string', []),
  figure: M.cwrap('lw_shape_figure', 'string', ['number']),
  palette: M.cwrap('lw_palette', 'string', []),
  formats: M.cwrap('lw_formats', 'string', []),
  maxSide: M.cwrap('lw_max_map_side', 'number', []),
  isKey: M.cwrap('lw_is_key', 'number', ['string']),
};
const MAX_SIDE = call.maxSide();
const layout = JSON.parse(call.layout());
const palette = JSON.parse(call.palette());
let state = null;

// ------------------------------------------------------------------ messages

function showMessage(text) {
  const box = $('message');
  box.textContent = text;
  box.hidden = !text;
}

// ------------------------------------------------------------------ the window

const places = new Map(layout.places.map((p) => [`${p.name}(${p.index})`, p]));
const elements = new Map();  // Name(Index) -> element drawn for a control

function controlOf(name, index) {
  return state.controls.find((c) => c.name === name && c.index === index);
}

// The page (fratabs(k)) a control lies on, and its offset there, following its frames.
function placeOnPage(place) {
  let left = place.left, top = place.top, parent = place.parent, parentIndex = place.parentIndex;
  while (parent && parent !== 'fratabs') {
    const frame = places.get(`${parent}(${parentIndex})`);
    if (!frame) return null;
    left += frame.left; top += frame.top;
    parent = frame.parent; parentIndex = frame.parentIndex;
  }
  return parent === 'fratabs' ? { page: parentIndex, left, top } : null;
}

function framesVisible(place) {
  let parent = place.parent, parentIndex = place.parentIndex;
  while (parent && parent !== 'fratabs') {
    const frame = controlOf(parent, parentIndex);
    if (frame && !frame.visible) return false;
    const up = places.get(`${parent}(${parentIndex})`);
    parent = up ? up.parent : null; parentIndex = up ? up.parentIndex : 0;
  }
  return true;
}

function box(el, at, place) {
  el.classList.add('ctl');
  Object.assign(el.style, { left: `${at.left / TWIP}px`, top: `${at.top / TWIP}px`,
                            width: `${place.width / TWIP}px`, height: `${place.height / TWIP}px` });
  if (place.align === 1) el.classList.add('center');
  if (place.align === 2) el.classList.add('right');
  if (!place.wrap) el.classList.add('nowrap');
  return el;
}

function refreshState() {
  state = JSON.parse(call.state());
}

// Draws the page of the selected tab from scratch.
function drawPage() {
  const page = $('page');
  page.replaceChildren();
  elements.clear();
  const shown = state.controls.find((c) => c.name === 'fratabs' && c.visible);
  const pageNumber = shown ? shown.index : 1;
  for (const text of layout.texts) {
    const place = { ...text, name: '', index: 0 };
    const at = placeOnPage(place);
    if (!at || at.page !== pageNumber) continue;
    const el = box(document.createElement('div'), at, place);
    el.textContent = text.text;
    if (text.bold) el.classList.add('bold');
    el.dataset.frame = `${text.parent}(${text.parentIndex})`;
    page.append(el);
  }
  for (const c of state.controls) {
    const key = `${c.name}(${c.index})`;
    const place = places.get(key);
    if (!place) continue;
    const at = placeOnPage(place);
    if (!at || at.page !== pageNumber) continue;
    let el;
    if (c.kind === 'number') {
      el = document.createElement('input');
      el.maxLength = c.maxLength > 0 ? c.maxLength : 524288;
      el.spellcheck = false;
      el.addEventListener('blur', () => fieldLeft(c.name, c.index, el.value));
      el.addEventListener('keydown', (e) => { if (e.key === 'Enter') el.blur(); });
    } else if (c.kind === 'check') {
      el = document.createElement('label');
      const input = document.createElement('input');
      input.type = 'checkbox';
      input.addEventListener('change', () => changed(() => call.set(c.name, c.index, input.checked ? 1 : 0)));
      const caption = document.createElement('span');
      el.append(input, caption);
    } else if (c.kind === 'select') {
      el = document.createElement('select');
      c.items.forEach((item, i) => el.add(new Option(item, String(i))));
      el.addEventListener('change', () => changed(() => call.set(c.name, c.index, Number(el.value))));
    } else if (c.kind === 'label') {
      el = document.createElement('div');
    } else if (c.kind === 'button') {
      el = document.createElement('button');
      el.addEventListener('click', () => changed(() => call.click(c.name, c.index)));
    } else if (c.kind === 'image') {
      el = document.createElement('canvas');
      el.width = place.width / TWIP; el.height = place.height / TWIP;
      el.title = 'Select only this shape';
      const box = controlOf('chkShape', c.index);
      drawFigure(el, JSON.parse(call.figure(box ? Number(box.tag ?? c.index) : c.index)));
      el.addEventListener('click', () => changed(() => call.click(c.name, c.index)));
    } else {
      continue;
    }
    box(el, at, place);
    el.dataset.key = key;
    if (c.key) el.dataset.field = c.key;
    if (c.bold) el.classList.add('bold');
    page.append(el);
    elements.set(key, { el, place, control: c });
  }
  updatePage();
}

// A shape's figure inside an edge, as large as fits, squares kept square.
function drawFigure(canvas, figure) {
  const ctx = canvas.getContext('2d');
  ctx.strokeStyle = 'rgb(160, 160, 160)';
  ctx.strokeRect(0.5, 0.5, canvas.width - 1, canvas.height - 1);
  if (!figure.width || !figure.height) return;
  const cell = Math.min((canvas.width - 4) / figure.width, (canvas.height - 4) / figure.height);
  const x0 = 2 + (canvas.width - 4 - cell * figure.width) / 2;
  const y0 = 2 + (canvas.height - 4 - cell * figure.height) / 2;
  ctx.fillStyle = 'rgb(0, 120, 0)';
  figure.rows.forEach((row, y) => {
    for (let x = 0; x < row.length; ++x)
      if (row[x] === 'C') ctx.fillRect(x0 + x * cell, y0 + y * cell, Math.ceil(cell), Math.ceil(cell));
  });
}

// Brings every drawn control up to the module's state (values, captions, enabled, locked,
// shown), keeping the focus where it is.
function updatePage() {
  const byKey = new Map(state.controls.map((c) => [`${c.name}(${c.index})`, c]));
  for (const [key, { el, place }] of elements) {
    const c = byKey.get(key);
    el.hidden = !c.visible || !framesVisible(place);
    if (c.kind === 'number') {
      if (el.value !== c.text) el.value = c.text;
      el.disabled = !c.enabled;
      el.readOnly = c.locked;
      el.tabIndex = c.locked ? -1 : 0;
      el.classList.toggle('locked', c.locked);
    } else if (c.kind === 'check') {
      const input = el.firstChild;
      input.checked = c.value === 1;
      input.indeterminate = c.value === 2;
      input.disabled = !c.enabled;
      el.lastChild.textContent = c.caption;
      el.classList.toggle('disabled', !c.enabled);
    } else if (c.kind === 'select') {
      el.value = String(c.listIndex);
      el.disabled = !c.enabled;
    } else if (c.kind === 'label') {
      el.textContent = c.caption;
      el.style.opacity = c.enabled ? '' : '0.5';
    } else if (c.kind === 'button') {
      el.textContent = c.caption;
      el.disabled = !c.enabled;
    }
  }
  for (const el of $('page').querySelectorAll('[data-frame]')) {
    const [, name, index] = /^(.*)\((\d+)\)$/.exec(el.dataset.frame);
    const frame = name === 'fratabs' ? null : byKey.get(`${name}(${index})`);
    el.hidden = frame ? !frame.visible : false;
  }
  $('land-figure').textContent = state.landFigure;
  for (const b of $('tabs').children) b.classList.toggle('selected', byKey.get(`fratabs(${b.dataset.tab})`).visible);
}

function drawTabs() {
  const tabs = $('tabs');
  tabs.replaceChildren();
  state.tabs.forEach((caption, i) => {
    const b = document.createElement('button');
    b.textContent = caption;
    b.dataset.tab = String(i + 1);
    b.setAttribute('role', 'tab');
    b.addEventListener('click', () => { call.tab(i + 1); refreshState(); drawPage(); });
    tabs.append(b);
  });
}

// The buttons of the window's button row that the page offers; Build is the page's own.
function drawButtons() {
  const row = $('buttons');
  row.replaceChildren();
  const add = (label, id, action) => {
    const b = document.createElement('button');
    b.textContent = label;
    b.id = id;
    b.addEventListener('click', action);
    row.append(b);
  };
  const caption = (name) => controlOf(name, 0).caption;
  add(caption('cmdLoad'), 'load-settings', () => $('settings-file').click());
  add(caption('cmdSave'), 'save-settings', saveSettings);
  add(caption('cmdSetEqualAll'), 'set-equal-all', () => changed(() => call.click('cmdSetEqualAll', 0)));
  add(caption('cmdDefaults'), 'recommend', recommend);
  const file = document.createElement('input');
  file.type = 'file';
  file.id = 'settings-file';
  file.accept = '.kst';
  file.hidden = true;
  file.addEventListener('change', () => loadSettings(file));
  row.append(file);
}

function fieldLeft(name, index, text) {
  const c = controlOf(name, index);
  if (!c || !c.enabled || c.locked) return;
  changed(() => call.type(name, index, text));
}

// After a change of the window: redraw, rewrite the link, and rebuild a small map.
function changed(action) {
  action();
  const before = JSON.stringify(state.changed);
  refreshState();
  updatePage();
  updateLink();
  if (JSON.stringify(state.changed) !== before) maybeRebuild();
}

// ------------------------------------------------------------------ size, seed, key

function mapSize() {
  const w = Number($('map-width').value), h = Number($('map-height').value);
  const ok = (n) => Number.isInteger(n) && n >= 1 && n <= MAX_SIDE;
  return ok(w) && ok(h) ? { w, h, wrap: $('map-wrap').checked } : null;
}

function randomSeed() {
  const words = crypto.getRandomValues(new Uint32Array(2));
  return ((BigInt(words[0]) << 32n) | BigInt(words[1])).toString();
}

// The key in the seed field ("SEED" or "SEED-DRAWS"), or null.
function currentKey() {
  const key = $('seed').value.trim();
  return call.isKey(key) ? key : null;
}

// The key the window's generator was last set to. It is set only when Recommend needs it:
// a typed key may ask for a great many draws to be skipped, which the worker does for a
// build (where Stop can end it), not the page's own thread at every change.
let windowKey = null;

function setKey(key) {
  $('seed').value = key;
}

// ------------------------------------------------------------------ the link

function linkFragment() {
  const size = mapSize() || DEFAULT_SIZE;
  const parts = [`w=${size.w}`, `h=${size.h}`, `wrap=${size.wrap ? 1 : 0}`,
                 `seed=${encodeURIComponent($('seed').value.trim())}`];
  for (const [key, value] of state.changed) parts.push(`${encodeURIComponent(key)}=${encodeURIComponent(value)}`);
  return '#' + parts.join('&');
}

function updateLink() {
  const fragment = linkFragment();
  $('link').href = fragment;
  if (location.hash !== fragment) history.replaceState(null, '', fragment);
}

// Opens the window as a link says; anything it cannot take is named in the message and
// left at its default.
function openLink(fragment) {
  const problems = [];
  const pairs = fragment.replace(/^#/, '').split('&').filter((p) => p.length > 0);
  const size = { ...DEFAULT_SIZE };
  let seed = null;
  const fields = [];
  const decode = (s) => { try { return decodeURIComponent(s.replace(/\+/g, ' ')); } catch { return null; } };
  for (const pair of pairs) {
    const eq = pair.indexOf('=');
    const name = decode(eq < 0 ? pair : pair.slice(0, eq));
    const value = decode(eq < 0 ? '' : pair.slice(eq + 1));
    if (name === null || value === null) { problems.push(`"${pair}" is not a field = value pair`); continue; }
    if (name === 'w' || name === 'h') {
      const n = /^\d+$/.test(value) ? Number(value) : NaN;
      if (n >= 1 && n <= MAX_SIDE) size[name] = n;
      else problems.push(`${name === 'w' ? 'width' : 'height'} "${value}" is not a whole number from 1 to ${MAX_SIDE}`);
    } else if (name === 'wrap') {
      if (value === '0' || value === '1') size.wrap = value === '1';
      else problems.push(`wrap "${value}" is not 0 or 1`);
    } else if (name === 'seed') {
      if (call.isKey(value)) seed = value;
      else if (value !== '') problems.push(`seed "${value}" is not a key: a seed from 0 to 18446744073709551615, or SEED-DRAWS`);
    } else {
      fields.push([name, value]);
    }
  }
  call.open(size.w, size.h);
  for (const [name, value] of fields) {
    const why = call.apply(name, value);
    if (why) problems.push(why);
  }
  $('map-width').value = size.w;
  $('map-height').value = size.h;
  $('map-wrap').checked = size.wrap;
  setKey(seed ?? randomSeed());
  call.map(size.w, size.h);
  showMessage(problems.length ? `This link could not be followed in full; the defaults stand for:\n${problems.join('\n')}` : '');
}

// ------------------------------------------------------------------ settings, Recommend

function download(name, bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

function saveSettings() {
  const path = '/tmp/lorvex.kst';
  const why = call.save(path);
  if (why) { showMessage(why); return; }
  download('lorvex.kst', M.FS.readFile(path), 'text/plain');
}

async function loadSettings(input) {
  const file = input.files[0];
  input.value = '';
  if (!file) return;
  const path = '/tmp/loaded.kst';
  M.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
  changed(() => { if (!call.load(path)) showMessage(`Cannot read ${file.name}`); });
}

function recommend() {
  const size = mapSize();
  if (!size) { showMessage(`The map is 1 to ${MAX_SIDE} squares each way.`); return; }
  if (currentKey() === null) setKey(randomSeed());
  if (currentKey() !== windowKey) call.setKey(currentKey());
  call.map(size.w, size.h);
  // Recommend draws from the window's generator: the key then names the draws it took.
  changed(() => {
    showMessage(call.recommend());
    windowKey = call.key();
    $('seed').value = windowKey;
  });
}

// ------------------------------------------------------------------ builds

let worker = null;
let request = 0;
let building = false;
let lastBuild = null;  // what the world on show was built from
let answeredYes = null;  // the map size for which the window's question was answered Yes
const view = new MapView($('map'), palette, $('readout'));

function startWorker() {
  worker = new Worker('worker.js', { type: 'module' });
  worker.onmessage = (e) => onWorkerMessage(e.data);
}

function setBuilding(on) {
  building = on;
  $('stop').disabled = !on;
  document.body.classList.toggle('building', on);
  if (!on) $('progress').value = 0;
}

// The build request of the page as it stands: size, seed and the changed fields as the
// lines the command line's --set options give.
function buildRequest(seed) {
  const size = mapSize();
  if (!size) return null;
  return { id: ++request, w: size.w, h: size.h, wrap: size.wrap, seed,
           lines: state.changed.map(([k, v]) => `${k} = ${v}`).join('\n'),
           text: size.w * size.h <= TEXT_SHOWN };
}

function build(seed, yes = false) {
  const size = mapSize();
  if (!size) { showMessage(`The map is 1 to ${MAX_SIDE} squares each way.`); return; }
  if (building) stop(false);
  setKey(seed);
  call.map(size.w, size.h);
  refreshState();
  updatePage();
  updateLink();
  const req = buildRequest(seed);
  if (yes) answeredYes = `${size.w}x${size.h}`;
  req.yes = answeredYes === `${size.w}x${size.h}`;
  req.progress = size.w * size.h > SMALL_MAP;
  setBuilding(true);
  $('status').textContent = 'Building...';
  worker.postMessage({ type: 'build', request: req });
}

function maybeRebuild() {
  const size = mapSize();
  const key = currentKey();
  if (size && key !== null && size.w * size.h <= SMALL_MAP) build(key);
}

function stop(say = true) {
  worker.terminate();
  startWorker();
  setBuilding(false);
  if (say) $('status').textContent = 'Stopped';
  document.body.dataset.state = 'stopped';
}

function onWorkerMessage(m) {
  if (m.type === 'progress') {
    document.body.dataset.progress = String(Number(document.body.dataset.progress || 0) + 1);
    $('progress').max = Math.max(1, m.max);
    $('progress').value = m.value;
    $('status').textContent = m.status;
  } else if (m.type === 'built') {
    if (m.request.id !== request) return;
    setBuilding(false);
    if (!m.ok) {
      document.body.dataset.state = 'refused';
      const question = m.messages.length > 0;
      showMessage((m.messages.join('\n').replace(/\r\n/g, '\n') || 'The window did not build a world.') +
                  (question && !m.request.yes ? '\n(Build anyway with the button below.)' : ''));
      if (question && !m.request.yes) offerBuildAnyway(m.request.seed);
      $('status').textContent = 'Not built';
      return;
    }
    lastBuild = m.request;
    $('status').textContent = `Built in ${m.ms.toFixed(0)} ms: ${m.summary}`;
    view.show(m.world);
    $('world-text').textContent = m.text ?? `The world is too large to show as text here: download it.`;
    document.body.dataset.state = 'built';
    document.body.dataset.builds = String(Number(document.body.dataset.builds || 0) + 1);
  } else if (m.type === 'files') {
    for (const f of m.files) download(f.name, f.bytes, 'application/octet-stream');
    if (m.error) showMessage(m.error);
  }
}

function offerBuildAnyway(seed) {
  const b = document.createElement('button');
  b.textContent = 'Build anyway';
  b.id = 'build-anyway';
  b.addEventListener('click', () => { showMessage(''); build(seed, true); });
  $('message').append(document.createElement('br'), b);
}

function drawDownloads() {
  const span = $('downloads');
  span.replaceChildren('Download: ');
  for (const [name, , title] of JSON.parse(call.formats())) {
    const b = document.createElement('button');
    b.textContent = title;
    b.dataset.format = name;
    b.id = `download-${name}`;
    b.addEventListener('click', () => {
      if (!lastBuild) { showMessage('Build a world first.'); return; }
      worker.postMessage({ type: 'export', format: name, request: lastBuild });
    });
    span.append(b);
  }
}

function drawLegend() {
  const legend = $('legend');
  const seen = new Set();
  for (const p of palette) {
    const key = `${p.name.replace(/ \(.*\)$/, '')}|${p.colour}`;
    if (seen.has(key)) continue;
    seen.add(key);
    const item = document.createElement('span');
    const swatch = document.createElement('span');
    swatch.className = 'swatch';
    swatch.style.background = `rgb(${p.colour.join(',')})`;
    item.append(swatch, p.name.replace(/ \(.*\)$/, ''));
    legend.append(item);
  }
}

// ------------------------------------------------------------------ start

startWorker();
openLink(location.hash);
refreshState();
drawTabs();
drawPage();
drawButtons();
drawDownloads();
drawLegend();
updateLink();

$('build').addEventListener('click', () => build(randomSeed()));
$('build-seed').addEventListener('click', () => {
  const key = currentKey();
  if (key === null) showMessage('The seed is a whole number from 0 to 18446744073709551615, or a key SEED-DRAWS.');
  else build(key);
});
$('stop').addEventListener('click', () => stop());
for (const id of ['map-width', 'map-height', 'map-wrap']) {
  $(id).addEventListener('change', () => {
    const size = mapSize();
    if (!size) { showMessage(`The map is 1 to ${MAX_SIDE} squares each way.`); return; }
    showMessage('');
    call.map(size.w, size.h);
    refreshState();
    updatePage();
    updateLink();
    maybeRebuild();
  });
}
$('seed').addEventListener('change', updateLink);
$('show-map').addEventListener('click', () => showView(false));
$('show-text').addEventListener('click', () => showView(true));
$('show-cities').addEventListener('change', () => view.setCityMarks($('show-cities').checked));
window.addEventListener('hashchange', () => {
  if (location.hash === linkFragment()) return;
  openLink(location.hash);
  refreshState();
  drawPage();
  updateLink();
  build($('seed').value);
});

function showView(text) {
  $('map-view').hidden = text;
  $('world-text').hidden = !text;
  $('show-map').classList.toggle('selected', !text);
  $('show-text').classList.toggle('selected', text);
}

build($('seed').value);
