// The key's verdicts and feedback arrive sealed, so that the answers are not in plain sight in the
// page's files. Sealed = base64(nonce16 || plaintext XOR keystream), where keystream block i is
// SHA-256("dorvalia web 1" || nonce16 || i as 4 big-endian bytes). This keeps answers out of
// casual sight only: the page itself holds everything needed to open them.
// SHA-256 is our own: WebCrypto is missing on pages opened from file:// or plain http.
(function (root) {
  'use strict';

  var K = new Uint32Array([
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2
  ]);

  function rotr(x, n) { return (x >>> n) | (x << (32 - n)); }

  // SHA-256 of a byte array; returns 32 bytes.
  function sha256(bytes) {
    var length = bytes.length;
    var padded = new Uint8Array(((length + 9 + 63) >> 6) << 6);
    padded.set(bytes);
    padded[length] = 0x80;
    var bits = length * 8;
    var view = new DataView(padded.buffer);
    view.setUint32(padded.length - 8, Math.floor(bits / 0x100000000));
    view.setUint32(padded.length - 4, bits >>> 0);
    var h = new Uint32Array([0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19]);
    var w = new Uint32Array(64);
    for (var offset = 0; offset < padded.length; offset += 64) {
      for (var t = 0; t < 16; t++) w[t] = view.getUint32(offset + t * 4);
      for (t = 16; t < 64; t++) {
        var s0 = rotr(w[t - 15], 7) ^ rotr(w[t - 15], 18) ^ (w[t - 15] >>> 3);
        var s1 = rotr(w[t - 2], 17) ^ rotr(w[t - 2], 19) ^ (w[t - 2] >>> 10);
        w[t] = (w[t - 16] + s0 + w[t - 7] + s1) | 0;
      }
      var a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
      for (t = 0; t < 64; t++) {
        var t1 = (k + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + K[t] + w[t]) | 0;
        var t2 = ((rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c))) | 0;
        k = g; g = f; f = e; e = (d + t1) | 0; d = c; c = b; b = a; a = (t1 + t2) | 0;
      }
      h[0] += a; h[1] += b; h[2] += c; h[3] += d; h[4] += e; h[5] += f; h[6] += g; h[7] += k;
    }
    var out = new Uint8Array(32);
    var outView = new DataView(out.buffer);
    for (var i = 0; i < 8; i++) outView.setUint32(i * 4, h[i]);
    return out;
  }

  function fromBase64(text) {
    var binary = atob(String(text).replace(/\s+/g, ''));
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  var LABEL = [0x64, 0x6f, 0x72, 0x76, 0x61, 0x6c, 0x69, 0x61, 0x20, 0x77, 0x65, 0x62, 0x20, 0x31];

  // The verdicts as [section][question][answer] = [verdict, feedback]; throws on a damaged seal.
  function unseal(sealed) {
    var bytes = fromBase64(sealed);
    if (bytes.length < 16) throw new Error('clave demasiado corta');
    var nonce = bytes.subarray(0, 16);
    var block = new Uint8Array(LABEL.length + 20);
    block.set(LABEL);
    block.set(nonce, LABEL.length);
    var counterAt = LABEL.length + 16;
    var plain = new Uint8Array(bytes.length - 16);
    var stream = null;
    for (var i = 0; i < plain.length; i++) {
      if (i % 32 === 0) {
        new DataView(block.buffer).setUint32(counterAt, i / 32);
        stream = sha256(block);
      }
      plain[i] = bytes[16 + i] ^ stream[i % 32];
    }
    return JSON.parse(new TextDecoder('utf-8', { fatal: true }).decode(plain));
  }

  var api = { sha256: sha256, unseal: unseal };
  root.DorvaliaSello = api;
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
})(typeof window !== 'undefined' ? window : globalThis);
