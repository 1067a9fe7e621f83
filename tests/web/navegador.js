// What the browser tests share: Debian's Chromium driven by puppeteer-core, the sample lesson
// published by the teacher's program, a guard on every request, keyboard moves and axe-core.
'use strict';
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const root = path.join(__dirname, '..', '..');
const docente = process.env.DORVALIA_DOCENTE || path.join(root, 'build-test', 'dorvalia-docente');
const tempDir = (prefix) => fs.mkdtempSync(path.join(os.tmpdir(), prefix));
const run = (args) => execFileSync(docente, args, { encoding: 'utf8', env: { ...process.env, LC_ALL: 'es_ES.UTF-8' } });

// Publishes the sample lesson for the web; changeKey may rewrite its key's text first.
function publish(changeKey) {
  const source = tempDir('dorvalia-fuente-'), out = tempDir('dorvalia-web-');
  for (const f of ['El_volcan_lec.rtf', 'El_volcan_CRJ.TXT'])
    fs.copyFileSync(path.join(root, 'samples', f), path.join(source, f));
  const key = path.join(source, 'El_volcan_CRJ.TXT');
  if (changeKey) fs.writeFileSync(key, Buffer.from(changeKey(fs.readFileSync(key, 'latin1')), 'latin1'));
  run(['web', path.join(source, 'El_volcan_lec.rtf'), out]);
  return { folder: path.join(out, 'El_volcan'), zip: path.join(out, 'El_volcan_scorm.zip') };
}

const launch = () => puppeteer.launch({ executablePath: process.env.DORVALIA_CHROMIUM || '/usr/bin/chromium',
  headless: true, args: process.getuid() === 0 ? ['--no-sandbox'] : [] });

// A page whose requests must stay under the allowed prefixes (data: and blob: are the page's
// own): any other is refused and listed in page.escaped; the page's errors in page.errors.
async function guardedPage(browser, allowed, viewport) {
  const page = await browser.newPage();
  Object.assign(page, { escaped: [], errors: [] });
  await page.setRequestInterception(true);
  page.on('request', (r) => {
    if (/^(data|blob):/.test(r.url()) || allowed.some((p) => r.url().startsWith(p))) r.continue();
    else { page.escaped.push(r.url()); r.abort(); }
  });
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.setViewport(viewport || { width: 1200, height: 900 });
  return page;
}

// Presses Tab until the focused element's text or label is `text` (none when it already is).
async function tabTo(page, text) {
  for (let i = 0; i < 80; i++) {
    if (i > 0) await page.keyboard.press('Tab');
    if (await page.evaluate(() => ((document.activeElement.closest('label') || document.activeElement)
      .textContent || '').trim()) === text) return;
  }
  assert.fail('no se llega con el tabulador a «' + text + '»');
}

// The serious and critical violations axe finds on the page as it is now.
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
async function axeViolations(frame) {
  if (!(await frame.evaluate(() => !!window.axe))) await frame.evaluate(axeSource);
  const { violations } = await frame.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
  return violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', '));
}

module.exports = { root, tempDir, run, publish, launch, guardedPage, tabTo, axeViolations };
