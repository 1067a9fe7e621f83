// The student's program in a browser: the name, the sections, the reading, the questions and
// their answers, the verdict at once, the results and, at the end, the register or the platform's
// record. Lesson texts are always inserted as text; the reading alone is markup, written by the
// teacher's program and filtered once more here.
(function () {
  'use strict';

  var doc = document;
  var $ = function (id) { return doc.getElementById(id); };
  var lesson = window.DORVALIA_LECCION;
  var visit, scorm = null, name = '', started = new Date(), id = DorvaliaRegistro.newId();
  var question = 0, shownAt = Date.now(), ended = false, saved = false, voice = null;
  var percent = new Intl.NumberFormat('es-ES', { maximumFractionDigits: 1 });

  function show(screen) {
    ['pantalla-error', 'pantalla-nombre', 'pantalla-leccion', 'pantalla-fin'].forEach(function (s) {
      $(s).hidden = s !== screen;
    });
  }

  function fail(text) {
    $('error-texto').textContent = text;
    show('pantalla-error');
  }

  // The reading's markup, keeping only the elements and attributes the teacher's program writes.
  var ELEMENTS = /^(P|BR|SPAN|B|I|U|S|SUB|SUP|UL|OL|LI|TABLE|TBODY|TR|TD|TH|IMG)$/;
  var ATTRIBUTES = /^(style|colspan|rowspan|src|alt|width|height)$/;
  function readingFragment(html) {
    var template = doc.createElement('template');
    template.innerHTML = html;
    (function clean(node) {
      Array.prototype.slice.call(node.children).forEach(function (child) {
        if (!ELEMENTS.test(child.tagName)) { child.remove(); return; }
        Array.prototype.slice.call(child.attributes).forEach(function (a) {
          var bad = !ATTRIBUTES.test(a.name) ||
                    (a.name === 'src' && !/^imagenes\/[\w.-]+$/.test(a.value));
          if (bad) child.removeAttribute(a.name);
        });
        clean(child);
      });
    })(template.content);
    return template.content;
  }

  // A yes/no question or a message, as the student's program asks it; calls back with true for Sí.
  function ask(title, text, yesNo, then) {
    var box = $('aviso');
    $('aviso-titulo').textContent = title;
    $('aviso-texto').textContent = text;
    $('aviso-si').hidden = $('aviso-no').hidden = !yesNo;
    $('aviso-ok').hidden = yesNo;
    var back = doc.activeElement;
    var done = function (answer) {
      box.onclose = null;
      box.close();
      if (back && back.focus) back.focus();
      if (then) then(answer);
    };
    $('aviso-si').onclick = function () { done(true); };
    $('aviso-no').onclick = function () { done(false); };
    $('aviso-ok').onclick = function () { done(true); };
    box.oncancel = function (e) { e.preventDefault(); done(true); };
    box.showModal();
    (yesNo ? $('aviso-si') : $('aviso-ok')).focus();
  }

  function sectionButtons() {
    return Array.prototype.slice.call($('secciones').querySelectorAll('button'));
  }

  function markSections() {
    var pending = visit.unfinishedSections();
    sectionButtons().forEach(function (b, i) {
      var n = i + 1;
      if (n === visit.section) b.setAttribute('aria-current', 'true');
      else b.removeAttribute('aria-current');
      b.classList.toggle('hecha', pending.indexOf(n) < 0);
    });
  }

  function chooseSection(n) {
    var go = function () {
      var data = lesson.secciones[n - 1];
      $('lectura').replaceChildren(readingFragment(data.html));
      $('lectura').scrollTop = 0;
      if (voice) voice.setText(data.texto);
      $('veredicto').textContent = '';
      if (!visit.enterSection(n)) {
        markSections();
        showQuestion(0);
        ask('Dorvalia', 'No se encuentra .Sección ' + n + ' en el archivo ' + lesson.leccion + '_crj.txt',
            false);
        return;
      }
      markSections();
      showQuestion(0);
    };
    if (visit.mayLeaveSection()) { go(); return; }
    ask('Faltan preguntas', 'Le faltan algunas preguntas de la sección ' + visit.section +
        '\n¿Seguir contestando esta sección?', true, function (stay) { if (!stay) go(); });
  }

  function currentQuestions() {
    return visit.section ? visit.questionsOf(visit.section) || [] : [];
  }

  // Question n of the current section (0: none), its answers as radio buttons.
  function showQuestion(n) {
    var questions = currentQuestions();
    question = n;
    shownAt = Date.now();
    $('anterior').disabled = $('siguiente').disabled = questions.length === 0;
    $('numero').textContent = questions.length === 0 ? 'Sin cuestiones' :
      n === 0 ? 'Ninguna cuestión elegida (' + questions.length + ' en total)' :
      'Cuestión ' + n + ' de ' + questions.length;
    $('pregunta').textContent = n ? questions[n - 1].texto : '';
    var options = $('opciones');
    options.replaceChildren();
    $('aceptar').disabled = true;
    $('respuestas').disabled = n === 0;
    if (n === 0) return;
    var answers = questions[n - 1].respuestas.concat(['Ninguna de las anteriores']);
    answers.forEach(function (text, i) {
      var k = i + 1 === answers.length ? 0 : i + 1;
      var label = doc.createElement('label');
      label.className = k === 0 ? 'opcion ninguna' : 'opcion';
      var radio = doc.createElement('input');
      radio.type = 'radio';
      radio.name = 'respuesta';
      radio.value = String(k);
      radio.addEventListener('change', function () { $('aceptar').disabled = false; });
      label.appendChild(radio);
      label.appendChild(doc.createTextNode(' ' + text));
      options.appendChild(label);
    });
  }

  function step(by) {
    var count = currentQuestions().length;
    if (count === 0) return;
    showQuestion((question + by + count + 1) % (count + 1));
  }

  function acceptAnswer() {
    var checked = $('opciones').querySelector('input:checked');
    if (!checked || question === 0) return;
    var result;
    try {
      result = visit.accept(question, Number(checked.value));
    } catch (e) {
      ask('Dorvalia', 'No se puede juzgar esta respuesta: la lección publicada está dañada.', false);
      return;
    }
    var box = $('veredicto');
    box.replaceChildren();
    box.className = 'veredicto ' + result.juicio.toLowerCase();
    var title = doc.createElement('strong');
    title.textContent = result.juicio;
    var text = doc.createElement('p');
    text.textContent = result.comentario;
    box.appendChild(title);
    box.appendChild(text);
    $('ver-resultados').disabled = false;
    markSections();
    if (scorm) scorm.answer(visit.answers[visit.answers.length - 1], shownAt, visit.score(), visit.snapshot());
    shownAt = Date.now();
  }

  function showResults() {
    var c = visit.counts;
    $('r-nombre').textContent = 'Nombre: ' + name;
    $('r-leccion').textContent = 'Lección: ' + lesson.leccion;
    $('r-correctas').textContent = 'Respuestas Correctas: ' + c.correctas;
    $('r-incorrectas').textContent = 'Respuestas Incorrectas: ' + c.incorrectas;
    var chart = $('grafico');
    chart.replaceChildren();
    var axis = doc.createElement('div');
    axis.className = 'eje';
    axis.setAttribute('aria-hidden', 'true');
    var axisTitle = doc.createElement('span');
    axisTitle.className = 'eje-titulo';
    axisTitle.textContent = 'Porcentaje';
    axis.appendChild(axisTitle);
    for (var v = 100; v >= 0; v -= 10) {
      var mark = doc.createElement('span');
      mark.className = 'marca';
      mark.style.bottom = v + '%';
      mark.textContent = String(v);
      axis.appendChild(mark);
    }
    chart.appendChild(axis);
    var plot = doc.createElement('div');
    plot.className = 'barras';
    var said = [];
    visit.bars().forEach(function (bar) {
      var column = doc.createElement('div');
      column.className = 'columna';
      column.setAttribute('aria-hidden', 'true');
      var fill = doc.createElement('div');
      fill.className = 'barra ' + bar.clase;
      fill.style.height = bar.valor + '%';
      var value = doc.createElement('span');
      value.className = 'valor';
      value.textContent = percent.format(bar.valor);
      fill.appendChild(value);
      var label = doc.createElement('span');
      label.className = 'etiqueta';
      label.textContent = bar.nombre;
      column.appendChild(fill);
      column.appendChild(label);
      plot.appendChild(column);
      said.push(bar.nombre + ': ' + percent.format(bar.valor) + ' %');
    });
    chart.appendChild(plot);
    chart.setAttribute('aria-label', 'Resultados en porcentaje. ' + said.join('; '));
    var back = doc.activeElement;
    $('cerrar').onclick = function () { $('resultados').close(); };
    $('resultados').onclose = function () { if (back && back.focus) back.focus(); };
    $('resultados').showModal();
    $('cerrar').focus();
  }

  function endLesson() {
    var pending = visit.unfinishedSections();
    var end = function () {
      ended = true;
      if (voice) voice.stop();
      $('fin-resultados').hidden = visit.accepted() === 0;
      if (scorm) {
        scorm.complete(visit.score(), visit.snapshot());
        scorm.finish(false);
        $('fin-texto').textContent = 'Tus respuestas han quedado en la plataforma.';
      }
      if (!scorm || !scorm.live) {
        $('guardar').hidden = false;
        $('fin-texto').textContent = 'Guarda tu registro y entrégaselo a tu profesor o profesora.';
      }
      show('pantalla-fin');
      $('fin-titulo').focus();
    };
    if (pending.length === 0) { end(); return; }
    ask('Trabajo Incompleto', 'Le falta terminar las secciones: ' + pending.join(', ') +
        ', \n¿Seguir estudiando?', true, function (stay) { if (!stay) end(); });
  }

  function saveRegister() {
    var bytes = DorvaliaRegistro.bytes(name, started, lesson.leccion, visit.answers);
    var file = DorvaliaRegistro.fileName(lesson.leccion, started, id);
    var url = URL.createObjectURL(new Blob([bytes], { type: 'text/csv' }));
    var link = doc.createElement('a');
    link.href = url;
    link.download = file;
    doc.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
    saved = true;
    $('guardado').textContent = 'Registro guardado como ' + file + '.';
  }

  function startLesson() {
    $('titulo').textContent = lesson.leccion;
    doc.title = lesson.leccion + ' · Dorvalia';
    $('alumno').textContent = name ? 'Alumno: ' + name : '';
    var list = $('secciones');
    lesson.secciones.forEach(function (s, i) {
      var item = doc.createElement('li');
      var button = doc.createElement('button');
      button.type = 'button';
      button.textContent = 'Sección ' + (i + 1);
      button.addEventListener('click', function () { chooseSection(i + 1); });
      item.appendChild(button);
      list.appendChild(item);
    });
    $('lectura').textContent = 'Escoge una sección para empezar a leer.';
    showQuestion(0);
    $('anterior').addEventListener('click', function () { step(-1); });
    $('siguiente').addEventListener('click', function () { step(1); });
    $('aceptar').addEventListener('click', acceptAnswer);
    $('ver-resultados').addEventListener('click', showResults);
    $('fin-resultados').addEventListener('click', showResults);
    $('terminar').addEventListener('click', endLesson);
    $('guardar').addEventListener('click', saveRegister);
    $('ver-resultados').disabled = visit.accepted() === 0;
    markSections();
    if (lesson.voz !== false && window.speechSynthesis) {
      voice = new DorvaliaVoz.Voice($('escuchar'), $('lectura'));
      var offer = function () { $('escuchar').hidden = !voice.available(); };
      offer();
      if (speechSynthesis.addEventListener) speechSynthesis.addEventListener('voiceschanged', offer);
    }
    show('pantalla-leccion');
    sectionButtons()[0] && sectionButtons()[0].focus();
  }

  function start() {
    if (!lesson || lesson.formato !== 1 || !Array.isArray(lesson.secciones)) {
      fail('No se puede abrir la lección: falta el archivo leccion.js o no es de esta versión.');
      return;
    }
    var verdicts;
    try {
      verdicts = DorvaliaSello.unseal(lesson.clave);
    } catch (e) {
      fail('No se puede abrir la lección: la clave de respuestas está dañada.');
      return;
    }
    visit = new DorvaliaVisita(lesson, verdicts);
    var api = DorvaliaScorm.find(window);
    if (api) {
      scorm = new DorvaliaScorm.Scorm(api);
      var kept = scorm.start();
      name = kept.nombre;
      if (kept.suspendido) visit.restore(kept.suspendido);
      window.addEventListener('pagehide', function () { if (!ended) scorm.finish(true); });
    }
    window.addEventListener('beforeunload', function (e) {
      if (!scorm && !saved && visit.accepted() > 0) { e.preventDefault(); e.returnValue = ''; }
    });
    if (name) { startLesson(); return; }
    show('pantalla-nombre');
    $('form-nombre').addEventListener('submit', function (e) {
      e.preventDefault();
      name = $('nombre').value.slice(0, 255);
      startLesson();
    });
    $('nombre').focus();
  }

  start();
  // For the benchmark of the first render: the page is ready to be used.
  if (window.performance && performance.mark) performance.mark('dorvalia-lista');
})();
