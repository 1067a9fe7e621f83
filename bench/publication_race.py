#!/usr/bin/env python3
"""Publications into one class folder killed at random moments, and two at once.

    bench/publication_race.py DORVALIA_DOCENTE [KILLS] [ROUNDS]

Publishes two versions of the sample lesson into a fresh class folder with the teacher's program
given. KILLS publications are killed (SIGKILL) after a random time between half and a little more
than a whole publication (its writing comes last); after each, the reading and the key that stand
are compared (the key deciphered with the program's secret, read from the sources) and `revisar`
is asked whether it notices a mismatch. Then ROUNDS rounds of two publications of the two versions at once. Prints the counts.
"""
import hashlib, hmac, os, random, re, shutil, signal, struct, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def secret():
    source = open(os.path.join(HERE, "lesson", "PublishedKey.cpp")).read()
    return bytes.fromhex(re.search(r'fromHex\("([0-9a-f]{64})"\)', source).group(1))


def plain_key(sealed):
    """The plain key's bytes of a published key of version 1, 2 or 3 (no tag check)."""
    mac = lambda k, m: hmac.new(k, m, hashlib.sha256).digest()
    enc = mac(secret(), b"dorvalia clave cifrado 1")
    end = sealed.index(b"\n")
    version = int(sealed[15:end])
    nonce = sealed[end + 1:end + 17]
    length = struct.unpack(">Q", sealed[end + 17:end + 25])[0]
    body = bytearray(sealed[end + 25:end + 25 + length])
    for block in range((length + 31) // 32):
        stream = mac(enc, nonce + struct.pack(">Q", block))
        for i, b in enumerate(stream[:len(body) - 32 * block]):
            body[32 * block + i] ^= b
    if version == 1:
        return bytes(body)
    at = 1 + (32 if version == 3 else 0)
    name = struct.unpack(">H", body[at:at + 2])[0]
    return bytes(body[at + 2 + name:])


def main():
    program = os.path.abspath(sys.argv[1])
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    work = tempfile.mkdtemp()
    versions = []
    for n, extra in enumerate([b"", b"\r\n"]):
        folder = os.path.join(work, "v%d" % n)
        os.mkdir(folder)
        for name in ("El_volcan_lec.rtf", "El_volcan_CRJ.TXT"):
            data = open(os.path.join(HERE, "samples", name), "rb").read() + extra
            open(os.path.join(folder, name), "wb").write(data)
        versions.append(folder)
    clase = os.path.join(work, "clase")
    os.mkdir(clase)
    read = lambda path: open(path, "rb").read()
    reading_of = {read(os.path.join(v, "El_volcan_lec.rtf")): i for i, v in enumerate(versions)}
    key_of = {read(os.path.join(v, "El_volcan_CRJ.TXT")): i for i, v in enumerate(versions)}

    def publish(version):
        return subprocess.Popen([program, "publicar", os.path.join(versions[version], "El_volcan_lec.rtf"),
                                 clase], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def standing():
        try:
            return (reading_of.get(read(os.path.join(clase, "El_volcan_lec.rtf"))),
                    key_of.get(plain_key(read(os.path.join(clase, "El_volcan_CRJ.dvk")))))
        except (OSError, ValueError):
            return None

    def noticed():
        out = subprocess.run([program, "revisar", os.path.join(clase, "El_volcan_lec.rtf")], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT).stdout.decode()
        return "no es la que se publicó" in out

    publish(0).wait()
    start = time.monotonic()
    publish(1).wait()
    whole = time.monotonic() - start
    mixed = undetected = failed_after = 0
    for n in range(kills):
        p = publish(n % 2)
        time.sleep(random.uniform(0.5 * whole, 1.1 * whole))
        p.send_signal(signal.SIGKILL)
        p.wait()
        pair = standing()
        if pair is not None and pair[0] != pair[1]:
            mixed += 1
            if not noticed():
                undetected += 1
            # The next publication mends it; it must not be blocked by what the kill left.
            if publish(n % 2).wait() != 0:
                failed_after += 1
    print("publicación entera: %.0f ms" % (whole * 1000))
    print("%d publicaciones cortadas: %d parejas mezcladas, %d sin detectar, %d republicaciones fallidas"
          % (kills, mixed, undetected, failed_after))

    mixed_rounds = told_wrong = 0
    for n in range(rounds):
        a, b = publish(0), publish(1)
        said = [(p.wait(), p.stdout.read().decode()) for p in (a, b)]
        pair = standing()
        if pair is None or pair[0] != pair[1]:
            mixed_rounds += 1
            told_wrong += sum(1 for status, out in said if status == 0 and "Publicada" in out)
    print("%d rondas de dos a la vez: %d con pareja mezclada (%d «Publicada» dichos en ellas)"
          % (rounds, mixed_rounds, told_wrong))
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
