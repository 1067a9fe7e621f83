// «Escuchar»: the browser's own speech, with a Spanish voice only; each word is lit where the
// browser reports word boundaries. Without a Spanish voice the button stays hidden.
(function (root) {
  'use strict';

  function spanishVoice() {
    var synth = root.speechSynthesis;
    if (!synth || !synth.getVoices) return null;
    var voices = synth.getVoices() || [];
    for (var i = 0; i < voices.length; i++) if (/^es\b/i.test(voices[i].lang || '')) return voices[i];
    return null;
  }

  // The reading's text nodes and where each starts counting only non-blank characters: the
  // spoken text and the shown reading differ in their blanks alone.
  function textMap(element) {
    var nodes = [], walker = element.ownerDocument.createTreeWalker(element, 4), count = 0, node;
    while ((node = walker.nextNode())) {
      nodes.push({ node: node, start: count });
      count += node.data.replace(/\s+/g, '').length;
    }
    return nodes;
  }

  // The range of the word that begins at spoken[charIndex] inside the shown reading, or null.
  function wordRange(element, map, spoken, charIndex, charLength) {
    var before = spoken.slice(0, charIndex).replace(/\s+/g, '').length;
    var word = spoken.slice(charIndex, charIndex + (charLength || 1000)).split(/\s/)[0].length;
    for (var i = map.length - 1; i >= 0; i--) {
      if (map[i].start > before) continue;
      var data = map[i].node.data, seen = map[i].start, at = 0;
      while (at < data.length && (seen < before || /\s/.test(data[at]))) {
        if (!/\s/.test(data[at])) seen++;
        at++;
      }
      if (at >= data.length) return null;
      var range = element.ownerDocument.createRange();
      range.setStart(map[i].node, at);
      range.setEnd(map[i].node, Math.min(data.length, at + Math.max(1, word)));
      return range;
    }
    return null;
  }

  function Voice(button, reading) {
    this.button = button;
    this.reading = reading;
    this.speaking = false;
    var self = this;
    button.addEventListener('click', function () { self.toggle(); });
  }

  Voice.prototype.available = function () { return !!spanishVoice(); };

  Voice.prototype.setText = function (text) {
    this.stop();
    this.text = text || '';
  };

  Voice.prototype.light = function (range) {
    if (root.CSS && CSS.highlights && root.Highlight) {
      if (range) CSS.highlights.set('dorvalia-palabra', new Highlight(range));
      else CSS.highlights.delete('dorvalia-palabra');
    }
  };

  Voice.prototype.toggle = function () {
    if (this.speaking) { this.stop(); return; }
    var voice = spanishVoice();
    if (!voice || !this.text) return;
    var self = this, map = textMap(this.reading), text = this.text;
    var u = new SpeechSynthesisUtterance(text);
    u.voice = voice;
    u.lang = voice.lang;
    u.onboundary = function (e) {
      if (e.name && e.name !== 'word') return;
      self.light(wordRange(self.reading, map, text, e.charIndex, e.charLength));
    };
    u.onend = u.onerror = function () { self.stopped(); };
    this.speaking = true;
    this.button.textContent = 'Parar';
    root.speechSynthesis.speak(u);
  };

  Voice.prototype.stopped = function () {
    this.speaking = false;
    this.button.textContent = 'Escuchar';
    this.light(null);
  };

  Voice.prototype.stop = function () {
    if (this.speaking && root.speechSynthesis) root.speechSynthesis.cancel();
    this.stopped();
  };

  var api = { Voice: Voice, spanishVoice: spanishVoice, textMap: textMap, wordRange: wordRange };
  root.DorvaliaVoz = api;
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
})(typeof window !== 'undefined' ? window : globalThis);
