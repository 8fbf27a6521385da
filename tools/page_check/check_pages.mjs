// Opens every analysis page in a folder in headless Chromium (Debian's, driven by
// playwright-core) and checks what a person would see: no console error or page error, a
// uPlot chart for every plot the page's data holds, and every series drawn on its canvas in
// its own colour.
//
//   node tools/page_check/check_pages.mjs FOLDER [--screenshot PAGE.html OUT.png]
//
// Prints one line per page and "N passed, N failed"; exits 1 when a page fails.
import { chromium } from 'playwright-core';
import { mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const args = process.argv.slice(2);
const folder = args[0];
if (!folder) {
  console.error('usage: check_pages.mjs FOLDER [--screenshot PAGE.html OUT.png]');
  process.exit(2);
}
const shotAt = args.indexOf('--screenshot');
const screenshot = shotAt >= 0 ? { page: args[shotAt + 1], out: args[shotAt + 2] } : null;
const pages = readdirSync(folder).filter((name) => name.endsWith('.html')).sort();
if (pages.length === 0) {
  console.error(`check_pages: no .html pages in ${folder}`);
  process.exit(1);
}

// In the page: for each plot, each series' finite values and the canvas pixels close to its
// colour.
function inspect() {
  const hex = (c) => [1, 3, 5].map((i) => parseInt(c.slice(i, i + 2), 16));
  const data = JSON.parse(document.getElementById('vantrel-data').textContent);
  return (window.vantrelPlots || []).map((plot, p) => {
    const canvas = plot.root.querySelector('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const series = data.plots[p].series.map((s, k) => {
      const [r, g, b] = hex(s.colour);
      let drawn = 0;
      for (let i = 0; i < pixels.length; i += 4) {
        if (pixels[i + 3] > 200 && Math.abs(pixels[i] - r) + Math.abs(pixels[i + 1] - g) + Math.abs(pixels[i + 2] - b) < 60) {
          drawn++;
        }
      }
      const values = plot.data[k + 1].filter((v) => v != null && Number.isFinite(v)).length;
      return { label: s.label, values, drawn };
    });
    return { title: data.plots[p].title, series, width: canvas.width, height: canvas.height };
  }).concat(data.plots.length === (window.vantrelPlots || []).length ? [] : [{ missing: data.plots.length }]);
}

const profile = mkdtempSync(path.join(tmpdir(), 'vantrel-chromium-'));
let passed = 0;
let failed = 0;
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium', headless: true, args: chromiumFlags,
  viewport: { width: 1280, height: 900 },
});
try {
  for (const name of pages) {
    const page = await context.newPage();
    const problems = [];
    page.on('console', (message) => { if (message.type() === 'error') problems.push(`console error: ${message.text()}`); });
    page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    const started = Date.now();
    await page.goto(pathToFileURL(path.resolve(folder, name)).href, { waitUntil: 'load' });
    const loadMs = Date.now() - started;
    const plots = await page.evaluate(inspect);
    for (const plot of plots) {
      if (plot.missing !== undefined) { problems.push(`${plot.missing} plots in the data, fewer drawn`); continue; }
      if (plot.width === 0 || plot.height === 0) problems.push(`${plot.title}: an empty canvas`);
      for (const s of plot.series) {
        if (s.values === 0) problems.push(`${plot.title}: "${s.label}" has no values`);
        else if (s.drawn === 0) problems.push(`${plot.title}: "${s.label}" is not drawn`);
      }
    }
    if (plots.length === 0) problems.push('no plot');
    const summary = plots.filter((p) => p.series).map((p) => `${p.title} (${p.series.map((s) => `${s.label}: ${s.drawn} px`).join(', ')})`).join('; ');
    if (problems.length === 0) {
      passed++;
      console.log(`PASS ${name}: loaded in ${loadMs} ms; ${summary}`);
    } else {
      failed++;
      for (const problem of problems) console.log(`FAIL ${name}: ${problem}`);
    }
    if (screenshot && screenshot.page === name) await page.screenshot({ path: screenshot.out, fullPage: true });
    await page.close();
  }
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
