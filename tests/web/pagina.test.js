// The published page in headless Chromium, opened from the disk as a student opens it: a whole
// visit by keyboard, the results chart, the register it saves read back by the teacher's program,
// a phone's width, lesson text that looks like markup, and axe on every screen.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const b = require('./navegador.js');

const stored = path.join(b.root, 'tests', 'data', 'stored');
let browser, lesson;
test.before(async () => { lesson = b.publish(); browser = await b.launch(); });
test.after(() => browser && browser.close());

async function open(folder, viewport) {
  const base = pathToFileURL(folder).href + '/';
  const page = await b.guardedPage(browser, [base], viewport);
  await page.goto(base + 'index.html');
  return page;
}
const text = (page, selector) => page.$eval(selector, (e) => e.textContent.trim());
const press = async (page, name) => { await b.tabTo(page, name); await page.keyboard.press('Enter'); };

// Question q with «Cuestión siguiente», then answer k (0: none of the above) with the arrow keys.
async function answerByKeyboard(page, q, k) {
  await b.tabTo(page, 'Cuestión siguiente');
  while (!(await text(page, '#numero')).startsWith(`Cuestión ${q} `)) await page.keyboard.press('Enter');
  while (!(await page.evaluate(() => document.activeElement.name === 'respuesta'))) await page.keyboard.press('Tab');
  await page.keyboard.press('Space');
  for (let i = 0; i < 9 && await page.$eval('#opciones input:checked', (r) => r.value) !== String(k); i++)
    await page.keyboard.press('ArrowDown');
  await press(page, 'Aceptar esta respuesta');
}

test('a whole visit by keyboard, its results, and the register read back by the teacher', async () => {
  const visit = JSON.parse(fs.readFileSync(path.join(stored, 'web-visit.json'), 'utf8'));
  const page = await open(lesson.folder);
  const downloads = b.tempDir('dorvalia-descargas-');
  await (await page.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  const axe = await b.axeViolations(page);
  await page.keyboard.type(visit.nombre);
  await page.keyboard.press('Enter');
  const feedback = { '1,1,2': 'Relee la primera frase de la sección: el número es mucho mayor.', '1,1,0': 'NINGUNA DE LAS RESPUESTAS' };
  for (const [s, q, a, verdict] of visit.respuestas) {
    if (await page.$eval(`#secciones li:nth-child(${s}) button`, (e) => !e.hasAttribute('aria-current'))) {
      await press(page, 'Sección ' + s);
      if (s === 2) { // question 3 of section 1 is left unanswered
        assert.strictEqual(await text(page, '#aviso-texto'), 'Le faltan algunas preguntas de la sección 1\n¿Seguir contestando esta sección?');
        axe.push(...await b.axeViolations(page));
        await press(page, 'No');
      }
    }
    await answerByKeyboard(page, q, a);
    assert.strictEqual(await text(page, '#veredicto strong'), verdict, `${s},${q},${a}`);
    if (feedback[[s, q, a]]) assert.strictEqual(await text(page, '#veredicto p'), feedback[[s, q, a]]);
  }
  axe.push(...await b.axeViolations(page));
  await press(page, 'Ver resultados');
  assert.deepStrictEqual(await page.$$eval('#resultados .dato', (d) => d.map((e) => e.textContent)),
    ['Nombre: ' + visit.nombre, 'Lección: El_volcan', 'Respuestas Correctas: 3', 'Respuestas Incorrectas: 1']);
  assert.deepStrictEqual(await page.$$eval('#grafico .columna', (cs) => cs.map((c) => [c.textContent,
    Math.round(c.querySelector('.barra').offsetHeight / c.offsetHeight * 100)])),
  [['50Correctas', 50], ['16,7Incorrectas', 17], ['33,3Pendientes', 33]]);
  axe.push(...await b.axeViolations(page));
  await press(page, 'Cerrar');
  await press(page, 'Terminar esta lección');
  assert.strictEqual(await text(page, '#aviso-texto'), 'Le falta terminar las secciones: 1, 2, 3, 4, 5, \n¿Seguir estudiando?');
  await press(page, 'No');
  axe.push(...await b.axeViolations(page));
  await press(page, 'Guardar mi registro');
  let saved = [];
  for (let i = 0; i < 100 && !saved.length; i++) {
    await new Promise((r) => setTimeout(r, 100));
    saved = fs.readdirSync(downloads).filter((f) => f.endsWith('_reg.csv'));
  }
  // The pinned bytes, on the day the visit began.
  const bytes = fs.readFileSync(path.join(downloads, saved[0])).toString('latin1');
  const day = bytes.match(/^[^\r]*,(\d\d)\/(\d\d)\/(\d\d),El_volcan\r\n/);
  assert.match(saved[0], new RegExp(`^El_volcan${day[1]}${day[2]}${day[3]}_web-[0-9a-f]{8}_reg\\.csv$`));
  assert.strictEqual(bytes, fs.readFileSync(path.join(stored, 'web-visit_reg.csv'), 'latin1')
    .replace(visit.fecha, `${day[1]}/${day[2]}/${day[3]}`));
  assert.deepStrictEqual([page.escaped, page.errors, axe], [[], [], []]);

  // Dropped into the class folder twice, once in a subfolder: one visit for the teacher.
  const classFolder = b.tempDir('dorvalia-clase-'), tables = b.tempDir('dorvalia-tablas-');
  fs.mkdirSync(path.join(classFolder, 'otra'));
  fs.copyFileSync(path.join(b.root, 'samples', 'El_volcan_CRJ.TXT'), path.join(classFolder, 'El_volcan_CRJ.TXT'));
  for (const to of [saved[0], 'otra/' + saved[0]]) fs.copyFileSync(path.join(downloads, saved[0]), path.join(classFolder, to));
  b.run(['resumen', classFolder, '--subcarpetas', '--csv', tables]);
  const students = fs.readFileSync(path.join(tables, 'alumnos.csv'), 'utf8');
  assert.strictEqual(students.split('Peña').length - 1, 1, students);
});

test('from a 360-pixel phone to 200 % zoom nothing runs off the side', async () => {
  for (const width of [360, 600]) {
    const page = await open(lesson.folder, { width, height: 700 });
    await page.type('#nombre', 'Ana');
    await page.keyboard.press('Enter');
    for (const selector of ['#secciones li:nth-child(3) button', '#siguiente', '#opciones input', '#aceptar'])
      await page.click(selector);
    const widths = [await page.evaluate(() => document.documentElement.scrollWidth)];
    await page.click('#ver-resultados');
    widths.push(await page.$eval('#resultados', (d) => d.getBoundingClientRect().right));
    assert.ok(widths.every((w) => w <= width), `${width}: ${widths}`);
    assert.deepStrictEqual(page.escaped, []);
  }
});

test('lesson text that looks like markup shows as written and never runs', async () => {
  const attack = '<script>window.atacado=1</script><img src="x" onerror="window.atacado=2">';
  const published = b.publish((key) => key.replace('.c¿Cuánto tiempo', '.c' + attack + '¿Cuánto tiempo')
    .replace('.b¡Bien! El texto', '.b<b>' + attack + '</b> El texto'));
  const page = await open(published.folder);
  await page.type('#nombre', '<i>Ana</i>');
  await page.keyboard.press('Enter');
  for (const selector of ['#secciones button', '#siguiente', '#opciones input', '#aceptar']) await page.click(selector);
  assert.ok((await text(page, '#pregunta')).startsWith(attack + '¿Cuánto tiempo'));
  assert.ok((await text(page, '#veredicto p')).startsWith('<b>' + attack + '</b>'));
  assert.strictEqual(await text(page, '#alumno'), 'Alumno: <i>Ana</i>');
  assert.deepStrictEqual(await page.evaluate(() => [typeof window.atacado, document.querySelectorAll('main script, img[src="x"]').length]),
    ['undefined', 0]);
  assert.deepStrictEqual(page.escaped, []);
});

test('each spoken word of a section lights the same word in the reading', async () => {
  const page = await open(lesson.folder);
  await page.keyboard.press('Enter');
  for (let s = 1; s <= 5; s++) {
    await page.click(`#secciones li:nth-child(${s}) button`);
    if (await page.$eval('#aviso', (d) => d.open)) await page.click('#aviso-no');
    assert.deepStrictEqual(await page.evaluate((s) => {
      const spoken = DORVALIA_LECCION.secciones[s - 1].texto, reading = document.getElementById('lectura');
      const map = DorvaliaVoz.textMap(reading);
      return [...spoken.matchAll(/\S+/g)].map((m) => [m[0], String(DorvaliaVoz.wordRange(reading, map, spoken, m.index, m[0].length))])
        .filter(([word, lit]) => word !== lit);
    }, s), [], 'sección ' + s);
  }
});
