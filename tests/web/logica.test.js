// The page's own logic under node: the seal, the register's bytes, the rules of a visit.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');

const web = path.join(__dirname, '..', '..', 'web');
const stored = path.join(__dirname, '..', 'data', 'stored');
const { unseal } = require(path.join(web, 'sello.js'));
const Registro = require(path.join(web, 'registro.js'));
const Visit = require(path.join(web, 'visita.js'));

// An independent sealer, from node's own SHA-256.
function seal(value, nonce) {
  const plain = Buffer.from(JSON.stringify(value), 'utf8');
  for (let i = 0; i < plain.length; i += 32) {
    const counter = Buffer.alloc(4);
    counter.writeUInt32BE(i / 32);
    const block = crypto.createHash('sha256').update(Buffer.concat([Buffer.from('dorvalia web 1'), nonce, counter])).digest();
    for (let j = 0; j < 32 && i + j < plain.length; j++) plain[i + j] ^= block[j];
  }
  return Buffer.concat([nonce, plain]).toString('base64');
}

test('the seal opens to the verdicts, accents and many blocks included; a damaged one throws', () => {
  const verdicts = [[[['Pendiente', 'NINGUNA DE LAS RESPUESTAS'], ['Correcta', '¡Bien! «sí»'],
                      ['Incorrecta', 'x'.repeat(300)]]], null];
  const sealed = seal(verdicts, crypto.randomBytes(16));
  assert.deepStrictEqual(unseal(sealed), verdicts);
  const damaged = Buffer.from(sealed, 'base64');
  damaged[20] ^= 0xff;
  assert.throws(() => unseal(damaged.toString('base64')));
  assert.throws(() => unseal('AAAA'));
});

test('a visit replayed through the page gives the pinned register, byte for byte', () => {
  const visit = JSON.parse(fs.readFileSync(path.join(stored, 'web-visit.json'), 'utf8'));
  const expected = fs.readFileSync(path.join(stored, 'web-visit_reg.csv'));
  // A key that gives each replayed answer its pinned verdict.
  const verdicts = [];
  for (const [s, q, a, v] of visit.respuestas) ((verdicts[s - 1] ??= [])[q - 1] ??= [])[a] = [v, ''];
  const sections = verdicts.map((qs) => ({ cuestiones: qs.map(() => ({ texto: '', respuestas: [] })) }));
  const page = new Visit({ leccion: visit.leccion, secciones: sections }, verdicts);
  let current = 0;
  for (const [s, q, a] of visit.respuestas) {
    if (s !== current) page.enterSection((current = s));
    page.accept(q, a);
  }
  const [dd, mm, yy] = visit.fecha.split('/').map(Number);
  const day = new Date(2000 + yy, mm - 1, dd, 23, 59);
  assert.deepStrictEqual(Buffer.from(Registro.bytes(visit.nombre, day, visit.leccion, page.answers)),
                         expected);
  assert.strictEqual(Registro.fileName(visit.leccion, day, visit.id), visit.archivo);
  assert.match(Registro.newId(), /^[0-9a-f]{8}$/);
});

test('text the register cannot hold in Windows-1252 becomes one "?" a character', () => {
  assert.deepStrictEqual(Array.from(Registro.toAnsi('€‘ŸñÁ😀Ωж')), [0x80, 0x91, 0x9f, 0xf1, 0xc1, 0x3f, 0x3f, 0x3f]);
});

function lessonOf(counts) {
  const verdicts = counts.map((n) => Array.from({ length: n }, () =>
    [['Pendiente', 'NINGUNA DE LAS RESPUESTAS'], ['Correcta', 'bien'], ['Incorrecta', 'mal']]));
  const secciones = counts.map((n, i) => ({ numero: i + 1, cuestiones:
    Array.from({ length: n }, () => ({ texto: '?', respuestas: ['a', 'b'] })) }));
  return new Visit({ leccion: 'L', secciones }, verdicts);
}

test('the student program progress rules, kept across a pause', () => {
  const v = lessonOf([2, 0, 1]);
  v.enterSection(1);
  v.accept(1, 2); // Incorrecta
  v.accept(2, 0);
  v.enterSection(1); // entered again: its questions are unanswered again, the section stays done
  assert.deepStrictEqual([v.mayLeaveSection(), v.unfinishedSections()], [false, [2, 3]]);
  v.enterSection(2); // no questions: it can be left, and stays unfinished
  assert.deepStrictEqual([v.mayLeaveSection(), v.unfinishedSections()], [true, [2, 3]]);
  const again = lessonOf([2, 0, 1]);
  assert.ok(again.restore(v.snapshot()));
  again.enterSection(1);
  again.accept(1, 1); // failed before the pause: no first attempt
  again.enterSection(3);
  again.accept(1, 1);
  assert.deepStrictEqual([again.answers.map((a) => a.primera), again.counts, again.unfinishedSections(), again.score()],
    [[false, true], { correctas: 2, incorrectas: 1, pendientes: 1 }, [2], 33]);
  assert.strictEqual(lessonOf([1]).restore('{"v":2}'), false);
});
