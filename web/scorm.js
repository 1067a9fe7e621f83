// The SCORM 1.2 runtime of a learning platform (Moodle's SCORM activity), when the page runs in
// one. Every call is guarded: a platform that answers with errors, or throws, never stops the
// lesson; the page goes on and only the platform's record is the poorer for it.
(function (root) {
  'use strict';

  // The usual search: this window and its parents, then the opener and its parents.
  function findIn(win) {
    for (var depth = 0; win && depth < 10; depth++) {
      try {
        if (win.API && typeof win.API.LMSInitialize === 'function') return win.API;
      } catch (e) { /* another origin: keep climbing */ }
      var parent;
      try { parent = win.parent; } catch (e) { parent = null; }
      if (!parent || parent === win) break;
      win = parent;
    }
    return null;
  }

  function findApi(win) {
    var api = findIn(win);
    if (!api) {
      try { if (win.opener) api = findIn(win.opener); } catch (e) { api = null; }
    }
    return api;
  }

  function ok(result) { return result === true || result === 'true'; }

  function two(n) { return (n < 10 ? '0' : '') + n; }

  // CMITimespan: HHHH:MM:SS.SS.
  function timespan(ms) {
    var cs = Math.max(0, Math.round(ms / 10));
    var h = Math.floor(cs / 360000), m = Math.floor(cs / 6000) % 60, s = Math.floor(cs / 100) % 60;
    var hh = String(h);
    while (hh.length < 4) hh = '0' + hh;
    return hh.slice(-4) + ':' + two(m) + ':' + two(s) + '.' + two(cs % 100);
  }

  // CMITime: HH:MM:SS.
  function clock(date) {
    return two(date.getHours()) + ':' + two(date.getMinutes()) + ':' + two(date.getSeconds());
  }

  var RESULT = { Correcta: 'correct', Incorrecta: 'wrong', Pendiente: 'neutral' };

  function Scorm(api) {
    this.api = api;
    this.started = Date.now();
    this.live = false;
    this.errors = 0;
    this.interactions = 0;
  }

  Scorm.prototype.call = function (name, a, b) {
    try {
      var r = b === undefined ? this.api[name](a) : this.api[name](a, b);
      if (/^LMSGet/.test(name) === false && !ok(r)) this.errors++;
      return r;
    } catch (e) {
      this.errors++;
      return '';
    }
  };

  // A value the platform could not give (its last error is not "0") reads as empty.
  Scorm.prototype.get = function (element) {
    var v = this.call('LMSGetValue', element);
    var error = String(this.call('LMSGetLastError'));
    return v === undefined || v === null || (error !== '0' && error !== '') ? '' : String(v);
  };

  Scorm.prototype.set = function (element, value) {
    return ok(this.call('LMSSetValue', element, String(value)));
  };

  // Starts the session; returns what the platform keeps of the student and of a visit left
  // half-way: {nombre, suspendido}.
  Scorm.prototype.start = function () {
    this.live = ok(this.call('LMSInitialize', ''));
    var status = this.get('cmi.core.lesson_status');
    if (status !== 'completed' && status !== 'passed') this.set('cmi.core.lesson_status', 'incomplete');
    var count = parseInt(this.get('cmi.interactions._count'), 10);
    this.interactions = isNaN(count) ? 0 : count;
    var resumed = this.get('cmi.core.entry') === 'resume' || this.get('cmi.suspend_data') !== '';
    return { nombre: this.get('cmi.core.student_name'),
             suspendido: resumed ? this.get('cmi.suspend_data') : '' };
  };

  // One accepted answer: an interaction, the score so far, what a later session resumes from.
  Scorm.prototype.answer = function (a, shownAt, score, snapshot) {
    var n = 'cmi.interactions.' + this.interactions++ + '.';
    this.set(n + 'id', 's' + a.seccion + '_c' + a.cuestion);
    this.set(n + 'type', 'choice');
    this.set(n + 'student_response', a.respuesta);
    this.set(n + 'result', RESULT[a.juicio] || 'neutral');
    this.set(n + 'time', clock(new Date()));
    this.set(n + 'latency', timespan(Date.now() - shownAt));
    this.progress(score, snapshot);
  };

  Scorm.prototype.progress = function (score, snapshot) {
    this.set('cmi.core.score.min', 0);
    this.set('cmi.core.score.max', 100);
    this.set('cmi.core.score.raw', score);
    if (snapshot && snapshot.length <= 4096) this.set('cmi.suspend_data', snapshot);
    this.set('cmi.core.session_time', timespan(Date.now() - this.started));
    this.call('LMSCommit', '');
  };

  // The lesson ended: completed, nothing left to resume.
  Scorm.prototype.complete = function (score, snapshot) {
    this.set('cmi.core.lesson_status', 'completed');
    this.set('cmi.core.exit', '');
    this.progress(score, snapshot);
  };

  // The page goes away: a visit not ended is kept for the next session.
  Scorm.prototype.finish = function (suspended) {
    if (this.finished) return;
    this.finished = true;
    if (suspended) this.set('cmi.core.exit', 'suspend');
    this.set('cmi.core.session_time', timespan(Date.now() - this.started));
    this.call('LMSCommit', '');
    this.call('LMSFinish', '');
  };

  var exported = { find: findApi, Scorm: Scorm, timespan: timespan };
  root.DorvaliaScorm = exported;
  if (typeof module !== 'undefined' && module.exports) module.exports = exported;
})(typeof window !== 'undefined' ? window : globalThis);
