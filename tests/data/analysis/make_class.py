#!/usr/bin/env python3
"""Writes a simulated class for the item analysis's reference figures.

Forty-seven students answer a lesson of eleven questions by a two-parameter item-response model:
an easy and a hard question, one everybody gets right, one nobody does, one whose key names the
wrong answer as right, one that hardly separates, an opinion question, a question with a
«Pendiente» answer that some choose before the right one, skipped questions and second visits.

It writes the lesson's key and register as the student's program writes them, and for R the
first attempts as the teacher's program must count them: primeros.csv (1 when the first answer
judged «Correcta» or «Incorrecta» was right) and intentos.csv (1 when there was such an answer).
Run it from this folder; reference.R then computes the reference figures."""

import math
import random

random.seed(20261113)
LESSON = "Clase"
DATE = "13/11/2026"
STUDENTS = 47

# (section, question, answers, right answer in the key, the answer the able choose,
#  discrimination a, difficulty b, pending answer or 0). right 0: an opinion question.
QUESTIONS = [
    (1, 1, 3, 1, 1, 1.5, -1.5, 0),
    (1, 2, 4, 2, 2, 1.2, 0.0, 3),
    (1, 3, 3, 1, 1, 1.0, -99.0, 0),  # everybody right
    (1, 4, 3, 1, 2, 1.5, 0.0, 0),  # the key names 1; the able choose 2
    (1, 5, 4, 4, 4, 1.3, 1.5, 0),
    (2, 1, 3, 3, 3, 1.0, 99.0, 0),  # nobody right
    (2, 2, 2, 0, 0, 0.0, 0.0, 0),  # opinion: both answers «Pendiente»
    (2, 3, 3, 2, 2, 1.2, -0.5, 0),
    (2, 4, 4, 1, 1, 2.5, 0.3, 0),
    (2, 5, 3, 3, 3, 0.2, 0.0, 0),  # hardly separates
    (2, 6, 3, 2, 2, 1.0, 0.5, 3),  # a «Pendiente» answer beside the right one
]


def key_text():
    lines = []
    section = 0
    for s, q, answers, right, _, _, _, pending in QUESTIONS:
        if s != section:
            lines.append(".Sección %d" % s)
            section = s
        lines.append(".cPregunta %d de la sección %d" % (q, s))
        for k in range(1, answers + 1):
            lines.append(".rRespuesta %d" % k)
            if right == 0 or k == pending:
                lines.append(".pSe comentará en clase")
            elif k == right:
                lines.append(".bBien")
            else:
                lines.append(".mNo")
    return "\r\n".join(lines) + "\r\n"


def verdict(question, answer):
    _, _, _, right, _, _, _, pending = question
    if right == 0 or answer == pending:
        return "Pendiente"
    return "Correcta" if answer == right else "Incorrecta"


def choose(question, ability):
    """The answer a student of this ability picks first."""
    _, _, answers, right, able, a, b, pending = question
    if right == 0:
        return random.randint(1, answers)
    if b >= 99:
        return random.choice([k for k in range(1, answers + 1) if k != right])
    if random.random() < 1 / (1 + math.exp(-a * (ability - b))):
        return able
    return random.choice([k for k in range(1, answers + 1) if k != able])


def main():
    register = []
    first = []  # per student: question -> 1/0, first judged answer right
    tried = []
    for n in range(1, STUDENTS + 1):
        name = "Alumno %02d" % n
        ability = random.gauss(0, 1)
        visits = [[], []]
        right_first = {}
        for question in QUESTIONS:
            s, q, answers, right, _, _, _, pending = question
            qid = "q%d_%d" % (s, q)
            if random.random() < 0.06:
                continue  # skipped
            # A few leave it for a second visit.
            visit = 1 if random.random() < 0.08 else 0
            chosen = choose(question, ability)
            seq = [chosen]
            if pending and random.random() < 0.3:
                seq = [pending, chosen]  # a «Pendiente» first: no attempt yet
            if verdict(question, seq[-1]) == "Incorrecta" and random.random() < 0.6:
                seq.append(right)  # tries again until it is right
            for answer in seq:
                visits[visit].append((s, q, answer))
            if visit == 0 and verdict(question, seq[-1]) == "Incorrecta" and random.random() < 0.5:
                visits[1].append((s, q, right))  # back on another day
            judged = [a for v in (0, 1) for (vs, vq, a) in visits[v]
                      if (vs, vq) == (s, q) and verdict(question, a) != "Pendiente"]
            if right and judged:
                right_first[qid] = 1 if verdict(question, judged[0]) == "Correcta" else 0
        for entries in visits:
            if not entries:
                continue
            register.append("%s,%s,%s" % (name, DATE, LESSON))
            register.append("Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento")
            wrong = set()
            for s, q, answer in entries:
                question = next(x for x in QUESTIONS if x[0] == s and x[1] == q)
                v = verdict(question, answer)
                line = "%s,%d,%d,%d,%s" % (name, s, q, answer, v)
                if v == "Correcta" and (s, q) not in wrong:
                    line += ",si"
                if v == "Incorrecta":
                    wrong.add((s, q))
                register.append(line)
        first.append(right_first)
        tried.append(right_first)
    graded = ["q%d_%d" % (s, q) for s, q, _, right, _, _, _, _ in QUESTIONS if right]
    with open("primeros.csv", "w", newline="") as f:
        f.write(",".join(graded) + "\n")
        for row in first:
            f.write(",".join(str(row.get(q, 0)) for q in graded) + "\n")
    with open("intentos.csv", "w", newline="") as f:
        f.write(",".join(graded) + "\n")
        for row in tried:
            f.write(",".join("1" if q in row else "0" for q in graded) + "\n")
    with open(LESSON + "_CRJ.TXT", "wb") as f:
        f.write(key_text().encode("cp1252"))
    with open(LESSON + "13112026_reg.csv", "wb") as f:
        f.write(("\r\n".join(register) + "\r\n").encode("cp1252"))


main()
