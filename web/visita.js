// One visit of a lesson, by the student program's rules: the current section and question, the
// sections and questions still unanswered, the three counts of accepted answers, and which
// questions already had an "Incorrecta", so that a later "Correcta" is not a first-attempt one.
(function (root) {
  'use strict';

  function key(section, question) { return section + ',' + question; }

  // lesson: the page's data; verdicts: the unsealed key, [section][question][answer].
  function Visit(lesson, verdicts) {
    this.lesson = lesson;
    this.verdicts = verdicts;
    this.pendingSections = {};
    for (var i = 1; i <= lesson.secciones.length; i++) this.pendingSections[i] = true;
    this.section = 0;
    this.pendingQuestions = {};
    this.counts = { correctas: 0, incorrectas: 0, pendientes: 0 };
    this.failed = {};
    this.firstRight = {};
    this.answers = [];
  }

  // The questions of section n (1-based): an array, or null when the key has no such section.
  Visit.prototype.questionsOf = function (n) {
    var s = this.lesson.secciones[n - 1];
    return s ? s.cuestiones : null;
  };

  Visit.prototype.mayLeaveSection = function () {
    return Object.keys(this.pendingQuestions).length === 0;
  };

  // Makes section n current. Every question of it is unanswered again, also when it was the
  // current one. False when the key has no such section: the questions stay as they were.
  Visit.prototype.enterSection = function (n) {
    this.section = n;
    var questions = this.questionsOf(n);
    if (!questions) return false;
    this.pendingQuestions = {};
    for (var q = 1; q <= questions.length; q++) this.pendingQuestions[q] = true;
    return true;
  };

  // Accepts answer k (0: none of the above) to question q of the current section; returns
  // {juicio, comentario}, the verdict and the teacher's feedback.
  Visit.prototype.accept = function (q, k) {
    var s = this.section;
    var entry = ((this.verdicts[s - 1] || [])[q - 1] || [])[k];
    if (!entry) throw new Error('sin juicio para ' + s + ',' + q + ',' + k);
    var verdict = entry[0];
    var before = !!this.failed[key(s, q)];
    var first = false;
    if (verdict === 'Correcta') {
      this.counts.correctas++;
      first = !before;
      if (first) this.firstRight[key(s, q)] = true;
    } else if (verdict === 'Incorrecta') {
      this.counts.incorrectas++;
      this.failed[key(s, q)] = true;
    } else {
      this.counts.pendientes++;
    }
    this.answers.push({ seccion: s, cuestion: q, respuesta: k, juicio: verdict, primera: first });
    delete this.pendingQuestions[q];
    if (Object.keys(this.pendingQuestions).length === 0) delete this.pendingSections[s];
    return { juicio: verdict, comentario: entry[1] };
  };

  Visit.prototype.accepted = function () {
    return this.counts.correctas + this.counts.incorrectas + this.counts.pendientes;
  };

  Visit.prototype.unfinishedSections = function () {
    return Object.keys(this.pendingSections).map(Number).sort(function (a, b) { return a - b; });
  };

  // The lesson's questions right at the first attempt, as a share of all of them, 0 to 100.
  Visit.prototype.score = function () {
    var total = 0;
    this.lesson.secciones.forEach(function (s) { total += s.cuestiones ? s.cuestiones.length : 0; });
    if (total === 0) return 0;
    return Math.round(Object.keys(this.firstRight).length * 100 / total);
  };

  // The chart's bars: Correctas and Incorrectas always, Pendientes only when there are some.
  Visit.prototype.bars = function () {
    var total = this.accepted();
    var share = function (n) { return total ? n / total * 100 : 0; };
    var bars = [{ nombre: 'Correctas', valor: share(this.counts.correctas), clase: 'correctas' },
                { nombre: 'Incorrectas', valor: share(this.counts.incorrectas), clase: 'incorrectas' }];
    if (this.counts.pendientes > 0)
      bars.push({ nombre: 'Pendientes', valor: share(this.counts.pendientes), clase: 'pendientes' });
    return bars;
  };

  // What a learning platform keeps between sessions: the counts, the questions failed and right,
  // the sections done. Bounded by the lesson's size, not by the number of answers.
  Visit.prototype.snapshot = function () {
    var done = [];
    for (var i = 1; i <= this.lesson.secciones.length; i++) if (!this.pendingSections[i]) done.push(i);
    return JSON.stringify({ v: 1, c: [this.counts.correctas, this.counts.incorrectas, this.counts.pendientes],
                            f: Object.keys(this.failed).join(';'), b: Object.keys(this.firstRight).join(';'),
                            h: done });
  };

  // Takes back a snapshot; false (and nothing changed) when it is not one.
  Visit.prototype.restore = function (text) {
    var s;
    try { s = JSON.parse(text); } catch (e) { return false; }
    if (!s || s.v !== 1 || !Array.isArray(s.c) || !Array.isArray(s.h)) return false;
    var split = function (t) {
      var set = {};
      String(t || '').split(';').forEach(function (k) { if (k) set[k] = true; });
      return set;
    };
    this.counts = { correctas: s.c[0] | 0, incorrectas: s.c[1] | 0, pendientes: s.c[2] | 0 };
    this.failed = split(s.f);
    this.firstRight = split(s.b);
    var pending = this.pendingSections;
    s.h.forEach(function (n) { delete pending[n]; });
    return true;
  };

  root.DorvaliaVisita = Visit;
  if (typeof module !== 'undefined' && module.exports) module.exports = Visit;
})(typeof window !== 'undefined' ? window : globalThis);
