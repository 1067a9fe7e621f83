#include "teacher/editor/Questions.h"

#include <gtest/gtest.h>

namespace {

// A question in one line: "2|text =right#feedback ~wrong %pending".
QString describe(const ImportedQuestion& q) {
    QString out = QString::number(q.section) + u'|' + q.text;
    for (const ImportedAnswer& a : q.answers) {
        const QChar mark = a.judgment == Verdict::Correcta     ? u'='
                           : a.judgment == Verdict::Incorrecta ? u'~'
                                                               : u'%';
        out += u' ' + QString(mark) + a.text;
        if (!a.feedback.isEmpty())
            out += u'#' + a.feedback;
    }
    return out;
}

struct Case {
    const char* name;
    const char* input;
    QStringList questions;
    QStringList notes = {}; // importNotes(): questions left out, categories naming no section
    QString failure = {};
};

void check(const Case& c) {
    SCOPED_TRACE(c.name);
    const ImportResult result = readQuestions(QString::fromUtf8(c.input));
    QStringList got;
    for (const ImportedQuestion& q : result.questions)
        got.append(describe(q));
    EXPECT_EQ(got, c.questions);
    EXPECT_EQ(importNotes(result), c.notes);
    EXPECT_EQ(result.failure, c.failure);
}

} // namespace

TEST(Gift, DocumentedExamplesAndMalformedInput) {
    const QList<Case> cases = {
        {"multiple choice",
         "Who's buried in Grant's tomb?{~Grant ~Jefferson =no one}",
         {"0|Who's buried in Grant's tomb? ~Grant ~Jefferson =no one"}},
        {"feedback per answer",
         "What's between orange and green in the spectrum?\n"
         "{ =yellow # right; good! ~red # wrong, it's yellow ~blue # wrong, it's yellow }",
         {"0|What's between orange and green in the spectrum? =yellow#right; good! "
          "~red#wrong, it's yellow ~blue#wrong, it's yellow"}},
        {"title, comment and a blank in the middle of the text",
         "// question: 1 name: Gandhi\n"
         "::Q1:: Mahatma Gandhi's birthday is an {\n  ~Indian\n  =national\n  ~Fiji\n} holiday.",
         {"0|Mahatma Gandhi's birthday is an _____ holiday. ~Indian =national ~Fiji"}},
        {"positive credit is right, none or negative wrong",
         "¿Qué números son pares? {~%50%Dos ~%50%Cuatro ~%-100%Tres ~%0%Uno}",
         {"0|¿Qué números son pares? =Dos =Cuatro ~Tres ~Uno"}},
        {"general feedback after each answer's own",
         "¿Sí? {=a #Bien. ~b ####Mira el texto.}",
         {"0|¿Sí? =a#Bien. Mira el texto. ~b#Mira el texto."}},
        {"HTML everywhere, entities decoded, inline tags without blanks",
         "[html]<p>¿Los <b>cálidos</b>?</p>{=<i>Sí</i> #Muy &laquo;bien&raquo;&nbsp;<br>ya "
         "~No #&\\#191;Seguro&\\#x3F; &amp; &bogus; ####<p>Lee</p>}",
         {"0|¿Los cálidos? =Sí#Muy «bien» ya Lee ~No#¿Seguro? & &bogus; Lee"}},
        {"Markdown, and an answer's own format",
         "[markdown]¿**Dónde** _vive_ `x`?{=En [la casa](http://a) #\\*Bien\\* ~[plain]**No**}",
         {"0|¿Dónde vive x? =En la casa#*Bien* ~**No**"}},
        {"true or false, with Moodle's two feedbacks",
         "::VF:: El sol es una estrella.{T#No: lo es.#Eso es.}\n\nLa luna es una "
         "estrella.{FALSE####Lee otra vez.}",
         {"0|El sol es una estrella. =Verdadero#Eso es. ~Falso#No: lo es.",
          "0|La luna es una estrella. ~Verdadero#Lee otra vez. =Falso#Lee otra vez."}},
        {"escapes and HTML",
         "[html]<p>¿2 \\= 2?</p> {=Sí \\{claro\\} \\#1 ~No\\: nunca}",
         {"0|¿2 = 2? =Sí {claro} #1 ~No: nunca"}},
        {"other kinds are left out and named",
         "::Suma:: Two plus two equals {=four =4}\n\n"
         "Match. {=cat -> feline =dog -> canine =bird -> avian}\n\n"
         "When was Ulysses S. Grant born? {#1822:5}\n\n"
         "Write about it. {}\n\n"
         "Only a description.\n\n"
         "¿Y esta? {=Sí ~No}",
         {"0|¿Y esta? =Sí ~No"},
         {"5 preguntas de otros tipos no se importan:", "línea 1: «Suma» (respuesta corta)",
          "línea 3: «Match.» (emparejamiento)",
          "línea 5: «When was Ulysses S. Grant born?» (numérica)",
          "línea 7: «Write about it.» (ensayo)", "línea 9: «Only a description.» (descripción)"}},
        {"categories name sections; one that names none is reported once it is used",
         "$CATEGORY: Sección 2\n\nUna {=a ~b}\n\n$CATEGORY: $course$/top/Sección 3\n\nDos "
         "{=c ~d}\n\n$CATEGORY: $course$/top/Por defecto\n$CATEGORY: Otra\n\nTres {=e ~f}\n\n"
         "Cuatro {=g}",
         {"2|Una =a ~b", "3|Dos =c ~d", "0|Tres =e ~f"},
         {"1 pregunta de otro tipo no se importa:", "línea 14: «Cuatro» (respuesta corta)",
          "línea 10: la categoría «Otra» no nombra ninguna sección («Sección N» al final): sus "
          "preguntas van con las que no tienen categoría"}},
        {"unclosed brace: nothing imported",
         "Uno {=a ~b}\n\nDos {=a ~b\n\nTres {=c ~d}",
         {},
         {},
         "línea 3: falta la llave de cierre «}» de las respuestas que empiezan aquí"},
        {"closing brace alone", "Uno {=a ~b}\n\nDos =a ~b}", {}, {}, "línea 3: «}» sin «{» antes"},
        {"answers without a mark",
         "Uno {a ~b}",
         {},
         {},
         "línea 1: las respuestas empiezan por «=» (correcta) o «~» (incorrecta)"},
    };
    for (const Case& c : cases)
        check(c);
}

TEST(Aiken, DocumentedExamplesAndMalformedInput) {
    const QList<Case> cases = {
        {"two questions, both option styles",
         "What is the correct answer to this question?\nA. Is it this one?\nB. Maybe this "
         "answer?\nC. Possibly this one?\nANSWER: A\n\nWhich LMS has the most quiz import "
         "formats?\nA) Moodle\nB) ATutor\nC) Claroline\nD) Blackboard\nANSWER: A\n",
         {"0|What is the correct answer to this question? =Is it this one? ~Maybe this answer? "
          "~Possibly this one?",
          "0|Which LMS has the most quiz import formats? =Moodle ~ATutor ~Claroline "
          "~Blackboard"}},
        {"missing answer letter",
         "¿Cuál?\nA) Una\nB) Otra\nANSWER:\n",
         {},
         {},
         "línea 4: falta la letra de la respuesta correcta tras «ANSWER:»"},
        {"missing answer line",
         "¿Cuál?\nA) Una\nB) Otra\n\n¿Y?\nA) Sí\nANSWER: A\n",
         {},
         {},
         "línea 4: falta la línea «ANSWER:» con la letra de la respuesta correcta de la "
         "pregunta de la línea 1"},
        {"a letter of no option",
         "¿Cuál?\nA) Una\nB) Otra\nANSWER: C",
         {},
         {},
         "línea 4: «C» no es la letra de ninguna opción de la pregunta (A, B)"},
    };
    for (const Case& c : cases)
        check(c);
}

// The whole key to GIFT and back: the same questions, in the same sections; pending judgments
// go as worth 0 % and are counted.
TEST(Gift, ExportedAndImportedAgainGivesTheSameQuestions) {
    const QStringList key = {".Sección 1",
                             ".c¿Qué es {esto}: a = b?",
                             ".rUna #almohadilla ~ y \\ barra",
                             ".bBien: eso es.",
                             ".rOtra",
                             ".mNo.",
                             ".cSin respuestas",
                             ".Sección 3",
                             ".cTercera",
                             ".rSí",
                             ".m",
                             ".rNo",
                             ".bClaro"};
    const GiftExport gift = writeGift(key);
    EXPECT_EQ(gift.questions, 2);
    EXPECT_EQ(gift.skippedQuestions, 1);
    EXPECT_EQ(gift.pendingAnswers, 0);
    EXPECT_EQ(gift.withoutWrongAnswer, 0);
    const ImportResult back = readGift(gift.text);
    ASSERT_EQ(back.failure, QString());
    QStringList expected = key;
    expected.removeAt(6);
    EXPECT_EQ(withQuestions({}, back.questions, 1), expected);

    QStringList pending = key;
    pending[5] = ".pQuizá.";
    const GiftExport withPending = writeGift(pending);
    EXPECT_EQ(withPending.pendingAnswers, 1);
    EXPECT_TRUE(withPending.text.contains("~%0%Otra #Quizá.")) << withPending.text.toStdString();

    // Several right answers share the credit, so that Moodle keeps them all right.
    const QStringList two = {".Sección 1", ".cPares", ".rDos",  ".b",
                             ".rCuatro",   ".bSí",    ".rTres", ".mNo"};
    const GiftExport shared = writeGift(two);
    EXPECT_TRUE(shared.text.contains("~%50%Dos")) << shared.text.toStdString();
    EXPECT_EQ(withQuestions({}, readGift(shared.text).questions, 1), two);
}

// Imported questions go to the end of their section's block, before the next header; a section
// the key lacks gets its block where its number puts it.
TEST(Gift, QuestionsGoIntoTheirSections) {
    const QStringList key = {".Sección 1", ".cUna", ".rA", ".bB", "", ".Sección 3", ".cTres"};
    ImportedQuestion q{0, 1, "Nueva", {{"Sí", Verdict::Correcta, "Bien"}}};
    ImportedQuestion inTwo = q;
    inTwo.section = 2;
    EXPECT_EQ(withQuestions(key, {q, inTwo}, 1),
              QStringList({".Sección 1", ".cUna", ".rA", ".bB", ".cNueva", ".rSí", ".bBien", "",
                           ".Sección 2", ".cNueva", ".rSí", ".bBien", ".Sección 3", ".cTres"}));
}
