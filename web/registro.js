// The register a visit saves when no learning platform is there: the very bytes the student's
// program writes for the same visit into a new register (Windows-1252, each line ended by CR LF),
// so that the teacher's program reads it with the lab's registers.
(function (root) {
  'use strict';

  // Windows-1252's bytes 0x80..0x9F that are not the Latin-1 controls.
  var HIGH = {
    0x20ac: 0x80, 0x201a: 0x82, 0x0192: 0x83, 0x201e: 0x84, 0x2026: 0x85, 0x2020: 0x86,
    0x2021: 0x87, 0x02c6: 0x88, 0x2030: 0x89, 0x0160: 0x8a, 0x2039: 0x8b, 0x0152: 0x8c,
    0x017d: 0x8e, 0x2018: 0x91, 0x2019: 0x92, 0x201c: 0x93, 0x201d: 0x94, 0x2022: 0x95,
    0x2013: 0x96, 0x2014: 0x97, 0x02dc: 0x98, 0x2122: 0x99, 0x0161: 0x9a, 0x203a: 0x9b,
    0x0153: 0x9c, 0x017e: 0x9e, 0x0178: 0x9f
  };
  var UNASSIGNED = { 0x81: 1, 0x8d: 1, 0x8f: 1, 0x90: 1, 0x9d: 1 };

  // Characters Windows-1252 cannot hold become '?', as in the student's program.
  function toAnsi(text) {
    var out = [];
    for (var i = 0; i < text.length; i++) {
      var c = text.codePointAt(i);
      if (c > 0xffff) i++;
      if (c < 0x80 || (c >= 0xa0 && c <= 0xff) || UNASSIGNED[c]) out.push(c);
      else if (HIGH[c] !== undefined) out.push(HIGH[c]);
      else out.push(0x3f);
    }
    return new Uint8Array(out);
  }

  // A field holding a comma, a double quote or a line break is quoted, its quotes doubled.
  function field(text) {
    if (!/[,"\r\n]/.test(text)) return text;
    return '"' + text.replace(/"/g, '""') + '"';
  }

  // A typed name: a leading = + - @ gets an apostrophe, so a spreadsheet takes no formula.
  function typedField(text) {
    if (/^[=+\-@]/.test(text)) return field("'" + text);
    return field(text);
  }

  function two(n) { return (n < 10 ? '0' : '') + n; }

  // The Spanish short date, dd/mm/yy.
  function shortDate(date) {
    return two(date.getDate()) + '/' + two(date.getMonth() + 1) + '/' + two(date.getFullYear() % 100);
  }

  // e.g. El_volcan081226_web-3f9a0c1e_reg.csv: never the name of the lab's register of the day.
  function fileName(lesson, date, id) {
    return lesson + shortDate(date).replace(/\//g, '') + '_web-' + id + '_reg.csv';
  }

  // answers: [{seccion, cuestion, respuesta, juicio, primera}] in the order accepted.
  function lines(name, date, lesson, answers) {
    var out = [typedField(name) + ',' + field(shortDate(date)) + ',' + typedField(lesson),
               'Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento'];
    answers.forEach(function (a) {
      var line = typedField(name) + ',' + a.seccion + ',' + a.cuestion + ',' + a.respuesta + ',' +
                 a.juicio;
      if (a.primera && a.juicio === 'Correcta') line += ',si';
      out.push(line);
    });
    return out;
  }

  function bytes(name, date, lesson, answers) {
    return toAnsi(lines(name, date, lesson, answers).map(function (l) { return l + '\r\n'; }).join(''));
  }

  // Eight lowercase hex digits, chosen once per visit.
  function newId() {
    var values = new Uint8Array(4);
    if (root.crypto && root.crypto.getRandomValues) root.crypto.getRandomValues(values);
    else for (var i = 0; i < 4; i++) values[i] = Math.floor(Math.random() * 256);
    return Array.prototype.map.call(values, function (v) { return (v < 16 ? '0' : '') + v.toString(16); }).join('');
  }

  var api = { toAnsi: toAnsi, shortDate: shortDate, fileName: fileName, lines: lines,
              bytes: bytes, newId: newId };
  root.DorvaliaRegistro = api;
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
})(typeof window !== 'undefined' ? window : globalThis);
