// The map on a canvas: one pixel a square in an offscreen picture drawn scaled, wheel zoom
// round the pointer, drag pan (round the seam of a wrapping world), city marks that grow
// with the zoom and hide when squares are small, and the readout of the square under the
// pointer.
const SIZE_CLASSES = ['Large', 'Medium', 'Small', 'Tiny island'];
const MARKS_FROM = 3;  // pixels a square: below this the city marks are hidden

export class MapView {
  constructor(canvas, palette, readout) {
    this.canvas = canvas;
    this.ctx = canvas.getContext('2d');
    this.readout = readout;
    this.colours = new Map(palette.map((p) => [p.code.charCodeAt(0), p.colour]));
    this.names = new Map(palette.map((p) => [p.code.charCodeAt(0), p.name]));
    this.world = null;
    this.scale = 1;
    this.ox = 0;
    this.oy = 0;
    this.marks = true;
    this.cityAt = new Map();
    this.resize();
    window.addEventListener('resize', () => { this.resize(); this.draw(); });
    canvas.addEventListener('wheel', (e) => this.zoom(e), { passive: false });
    canvas.addEventListener('pointerdown', (e) => this.dragStart(e));
    canvas.addEventListener('pointermove', (e) => this.pointerMove(e));
    canvas.addEventListener('pointerup', (e) => this.dragEnd(e));
    canvas.addEventListener('pointerleave', () => { this.readout.innerHTML = '&nbsp;'; });
  }

  resize() {
    const width = Math.max(320, Math.min(this.canvas.parentElement.clientWidth || 640, 1400));
    this.canvas.width = width;
    this.canvas.height = Math.round(width * 0.7);
  }

  show(world) {
    const keep = this.world && this.world.w === world.w && this.world.h === world.h;
    this.world = world;
    const picture = new ImageData(world.w, world.h);
    const px = picture.data;
    for (let i = 0; i < world.terrain.length; ++i) {
      const c = this.colours.get(world.terrain[i]) || [255, 0, 255];
      px[4 * i] = c[0]; px[4 * i + 1] = c[1]; px[4 * i + 2] = c[2]; px[4 * i + 3] = 255;
    }
    this.picture = document.createElement('canvas');
    this.picture.width = world.w;
    this.picture.height = world.h;
    this.picture.getContext('2d').putImageData(picture, 0, 0);
    this.cityAt = new Map(world.cities.map((c, i) => [c[1] * world.w + c[0], i]));
    if (!keep) this.fit();
    this.draw();
  }

  fit() {
    const { w, h } = this.world;
    this.scale = Math.min(this.canvas.width / w, this.canvas.height / h);
    this.ox = (this.canvas.width - w * this.scale) / 2;
    this.oy = (this.canvas.height - h * this.scale) / 2;
  }

  setCityMarks(on) {
    this.marks = on;
    this.draw();
  }

  // The x offsets at which the world's picture is drawn: once, or side by side across the
  // canvas for a wrapping world.
  copies() {
    const span = this.world.w * this.scale;
    if (!this.world.wrap) return [this.ox];
    let first = this.ox - Math.ceil(this.ox / span) * span;
    const out = [];
    for (let x = first; x < this.canvas.width; x += span) out.push(x);
    return out;
  }

  draw() {
    const ctx = this.ctx;
    ctx.fillStyle = '#0c2454';
    ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    if (!this.world) return;
    ctx.imageSmoothingEnabled = false;
    const s = this.scale;
    const { w, h } = this.world;
    for (const x of this.copies()) ctx.drawImage(this.picture, x, this.oy, w * s, h * s);
    if (!this.marks || s < MARKS_FROM) return;
    ctx.strokeStyle = 'rgb(40, 20, 20)';
    ctx.fillStyle = 'rgb(255, 236, 120)';
    ctx.lineWidth = Math.max(1, s / 8);
    const r = Math.max(1.5, s * 0.35);
    for (const x0 of this.copies())
      for (const [cx, cy] of this.world.cities) {
        const x = x0 + (cx + 0.5) * s, y = this.oy + (cy + 0.5) * s;
        if (x < -s || y < -s || x > this.canvas.width + s || y > this.canvas.height + s) continue;
        ctx.beginPath();
        ctx.arc(x, y, r, 0, 2 * Math.PI);
        ctx.fill();
        ctx.stroke();
      }
  }

  canvasPoint(e) {
    const rect = this.canvas.getBoundingClientRect();
    return [(e.clientX - rect.left) * this.canvas.width / rect.width,
            (e.clientY - rect.top) * this.canvas.height / rect.height];
  }

  zoom(e) {
    if (!this.world) return;
    e.preventDefault();
    const [px, py] = this.canvasPoint(e);
    const factor = Math.exp(-e.deltaY * 0.0015);
    const next = Math.min(64, Math.max(0.05, this.scale * factor));
    // The square under the pointer stays under it.
    this.ox = px - (px - this.ox) * next / this.scale;
    this.oy = py - (py - this.oy) * next / this.scale;
    this.scale = next;
    this.wrapOffset();
    this.draw();
  }

  wrapOffset() {
    if (!this.world || !this.world.wrap) return;
    const span = this.world.w * this.scale;
    this.ox = ((this.ox % span) + span) % span;
  }

  dragStart(e) {
    this.drag = { x: e.clientX, y: e.clientY, ox: this.ox, oy: this.oy };
    this.canvas.setPointerCapture(e.pointerId);
    this.canvas.classList.add('dragging');
  }

  dragEnd(e) {
    this.drag = null;
    if (this.canvas.hasPointerCapture(e.pointerId)) this.canvas.releasePointerCapture(e.pointerId);
    this.canvas.classList.remove('dragging');
  }

  pointerMove(e) {
    if (this.drag) {
      const rect = this.canvas.getBoundingClientRect();
      const k = this.canvas.width / rect.width;
      this.ox = this.drag.ox + (e.clientX - this.drag.x) * k;
      this.oy = this.drag.oy + (e.clientY - this.drag.y) * k;
      this.wrapOffset();
      this.draw();
    }
    this.read(e);
  }

  // The square under the pointer, (x, y) from the top-left, and its city.
  squareAt(px, py) {
    const { w, h, wrap } = this.world;
    let x = Math.floor((px - this.ox) / this.scale);
    const y = Math.floor((py - this.oy) / this.scale);
    if (wrap) x = ((x % w) + w) % w;
    return x >= 0 && y >= 0 && x < w && y < h ? [x, y] : null;
  }

  read(e) {
    if (!this.world) return;
    const at = this.squareAt(...this.canvasPoint(e));
    if (!at) { this.readout.innerHTML = '&nbsp;'; return; }
    const [x, y] = at;
    const i = y * this.world.w + x;
    const code = this.world.terrain[i];
    let text = `(${x}, ${y}) ${String.fromCharCode(code)} ${this.names.get(code) || ''}`;
    const mass = this.world.massOfSquare ? this.world.massOfSquare[i] : -1;
    const row = mass >= 0 ? this.world.massTable[mass] : undefined;
    if (row) text += ` - mass ${mass + 1} (${SIZE_CLASSES[row[0]] ?? row[0]}, ${row[1]} squares)`;
    const city = this.cityAt.get(i);
    if (city !== undefined) {
      const [, , production, specialty, owner] = this.world.cities[city];
      text += ` - city ${city + 1}: production ${production}, specialty ${specialty}, owner ${owner}`;
    }
    this.readout.textContent = text;
  }
}
