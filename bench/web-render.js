// The published lesson page in headless Chromium: its size without pictures and the time to its
// first render, opened from the disk. Prints figures; asserts nothing.
// Usage: node bench/web-render.js CARPETA_PUBLICADA [VECES]   (after scripts/test-web's npm ci)
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require(path.join(__dirname, '..', 'tests', 'web', 'node_modules', 'puppeteer-core'));

const folder = path.resolve(process.argv[2] || '');
const runs = Number(process.argv[3] || 15);
if (!fs.existsSync(path.join(folder, 'index.html'))) {
  console.error('Uso: node bench/web-render.js CARPETA_PUBLICADA [VECES]');
  process.exit(2);
}

let bytes = 0;
for (const f of fs.readdirSync(folder, { withFileTypes: true }))
  if (f.isFile()) bytes += fs.statSync(path.join(folder, f.name)).size;
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

(async () => {
  const args = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args });
  const figures = { dcl: [], fcp: [], ready: [] };
  for (let i = 0; i < runs; i++) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1200, height: 900 });
    await page.goto(pathToFileURL(path.join(folder, 'index.html')).href, { waitUntil: 'load' });
    await page.waitForFunction(() => performance.getEntriesByName('dorvalia-lista').length &&
                                     performance.getEntriesByName('first-contentful-paint').length);
    const t = await page.evaluate(() => ({
      dcl: performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd,
      fcp: performance.getEntriesByName('first-contentful-paint')[0].startTime,
      ready: performance.getEntriesByName('dorvalia-lista')[0].startTime }));
    for (const k in figures) figures[k].push(t[k]);
    await page.close();
  }
  await browser.close();
  console.log(`página sin imágenes: ${(bytes / 1024).toFixed(1)} KB (${bytes} bytes)`);
  console.log(`primer pintado (mediana de ${runs}, la primera vez incluida): ${median(figures.fcp).toFixed(1)} ms`);
  console.log(`lista para usar: ${median(figures.ready).toFixed(1)} ms; DOMContentLoaded: ${median(figures.dcl).toFixed(1)} ms`);
  console.log(`primera apertura: pintado ${figures.fcp[0].toFixed(1)} ms, lista ${figures.ready[0].toFixed(1)} ms`);
})();
