// The build worker: one builder of the module (clsBuild, as a host has it) and its last
// world. The page stops a build by ending this worker.
import createLorvex from './lorvex.js';

let M = null;
let call = null;
let formats = null;
let builtId = null;  // the request the held world was built for

// Messages that come while the module loads wait for it, in their order.
const loaded = createLorvex().then((module) => {
  M = module;
  call = {
    build: M.cwrap('lw_build', 'number', ['number', 'number', 'number', 'string', 'string', 'number', 'number']),
  messages: M.cwrap('lw_build_messages', 'string', []),
  width: M.cwrap('lw_world_width', 'number', []),
  height: M.cwrap('lw_world_height', 'number', []),
  terrain: M.cwrap('lw_world_terrain', 'number', []),
  masses: M.cwrap('lw_world_masses', 'number', []),
  hasMasses: M.cwrap('lw_world_has_masses', 'number', []),
  tables: M.cwrap('lw_world_tables', 'string', []),
  exportTo: M.cwrap('lw_export', 'string', ['string', 'string', 'number']),
  companion: M.cwrap('lw_companion', 'string', ['string', 'string']),
  formats: M.cwrap('lw_formats', 'string', []),
  };
  M.lwProgress = (value, max, status) => postMessage({ type: 'progress', value, max, status });
  formats = new Map(JSON.parse(call.formats()).map(([name, extension]) => [name, extension]));
});

function build(req) {
  const ok = call.build(req.w, req.h, req.wrap ? 1 : 0, req.seed, req.lines, req.yes ? 1 : 0,
                        req.progress ? 1 : 0) === 1;
  builtId = ok ? req.id : null;
  return ok;
}

// Writes the held world in one format into the module's file system and reads it back,
// with its companion file (the Tiled map's tileset picture).
function exportFiles(format) {
  const extension = formats.get(format);
  const dir = '/out';
  try { M.FS.mkdir(dir); } catch { /* already there */ }
  const path = `${dir}/world${extension}`;
  const why = call.exportTo(format, path, 4);
  if (why) return { files: [], error: why };
  const files = [{ name: `world${extension}`, bytes: M.FS.readFile(path) }];
  M.FS.unlink(path);
  const companion = call.companion(format, path);
  if (companion) {
    files.push({ name: companion.slice(dir.length + 1), bytes: M.FS.readFile(companion) });
    M.FS.unlink(companion);
  }
  return { files, error: '' };
}

onmessage = (e) => loaded.then(() => handle(e));

function handle(e) {
  const { type, request: req } = e.data;
  if (type === 'build') {
    const start = performance.now();
    const ok = build(req);
    const ms = performance.now() - start;
    if (!ok) {
      postMessage({ type: 'built', request: req, ok, messages: JSON.parse(call.messages()) });
      return;
    }
    const w = call.width(), h = call.height();
    const terrain = M.HEAPU8.slice(call.terrain(), call.terrain() + w * h);
    const masses = call.hasMasses() ? new Int32Array(M.HEAP32.buffer, call.masses(), w * h).slice() : null;
    const tables = JSON.parse(call.tables());
    let text = null;
    if (req.text) {
      const got = exportFiles('text');
      if (got.files.length) text = new TextDecoder().decode(got.files[0].bytes);
    }
    const land = terrain.reduce((n, c) => n + (c !== 83 && c !== 84 && c !== 66 && c !== 65 ? 1 : 0), 0);
    const summary = `${w} x ${h}, land ${land} squares, ${tables.masses.length} masses, ${tables.cities.length} cities`;
    const world = { w, h, wrap: req.wrap, terrain, massOfSquare: masses, massTable: tables.masses,
                    cities: tables.cities };
    const transfer = [terrain.buffer];
    if (masses) transfer.push(masses.buffer);
    postMessage({ type: 'built', request: req, ok, ms, world, text, summary,
                  messages: JSON.parse(call.messages()) }, transfer);
  } else if (type === 'export') {
    // A worker started after a stop holds no world: the same request builds the same world.
    if (builtId !== req.id && !build({ ...req, progress: false, yes: true })) {
      postMessage({ type: 'files', files: [], error: 'The world could not be built again for the download.' });
      return;
    }
    const got = exportFiles(e.data.format);
    postMessage({ type: 'files', files: got.files, error: got.error }, got.files.map((f) => f.bytes.buffer));
  }
}
