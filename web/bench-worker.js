// Times lw_build, the call the page's worker makes for a build, over worlds of seeds 1 .. N.
import createLorvex from './lorvex.js';

// The message may come while the module loads: it waits for it.
const loaded = createLorvex();
onmessage = async (e) => {
  const M = await loaded;
  const build = M.cwrap('lw_build', 'number', ['number', 'number', 'number', 'string', 'string', 'number', 'number']);
  const { count, w, h } = e.data;
  const times = [];
  for (let seed = 1; seed <= count; ++seed) {
    const start = performance.now();
    if (build(w, h, 1, String(seed), '', 1, 0) !== 1) throw new Error(`seed ${seed} was not built`);
    times.push(performance.now() - start);
  }
  const first = times[0];
  const sorted = times.slice(1).sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)] ?? first;
  postMessage({ worlds: count, w, h, first_ms: first, median_ms: median,
                mean_ms: times.reduce((a, b) => a + b, 0) / count, userAgent: navigator.userAgent });
};
