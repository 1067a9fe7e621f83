#include "lesson/PublishedKey.h"

#include "lesson/AnswerKey.h"
#include "platform/core/ToolkitError.h"
#include "tests/lesson/KeyFile.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every key file of the sources (the sample lesson, the fuzzers' keys) and keys made for the
// edges of the format: no line break at the end, a lone CR, a NUL, UTF-8, nothing at all, and
// lengths around the key stream's 32-byte blocks.
QList<QPair<QString, QByteArray>> testKeys() {
    QList<QPair<QString, QByteArray>> keys;
    auto add = [&](const QString& name, const QByteArray& bytes) { keys.append({name, bytes}); };
    for (const char* folder : {"samples", "tests", "fuzz/corpus"}) {
        QDirIterator it(QStringLiteral(DORVALIA_SOURCE "/") + QLatin1String(folder),
                        {QStringLiteral("*_CRJ*")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            keys.append({path, readAll(path)});
        }
    }
    if (keys.size() < 9)
        ADD_FAILURE() << "the sources' keys were not found";
    add("vacía", QByteArray());
    add("sin salto final", ".Secci\xf3n 1\r\n.cUna\r\n.rS\xed\r\n.bBien");
    add("CR y LF sueltos", ".Secci\xf3n 1\r.cUna\n.rS\xed\r\n\r\n.mNo");
    add("NUL", QByteArray(".Secci\xf3n 1\r\n.cUna\0.rOculta\r\n", 28));
    add("UTF-8", ".Sección 1\n.c¿Qué?\n.rÉl\n.b¡Sí!\n");
    for (int n : {31, 32, 33, 64, 65})
        add(QString::number(n) + " bytes", QByteArray(n, 'x'));
    add("grande", QByteArray(".rUna respuesta larga\r\n.mNo.\r\n").repeated(5000));
    return keys;
}

TEST(PublishedKey, EveryKeyReadsBackAsTheSameBytesAndLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QPair<QString, QByteArray>> keys = testKeys();
    for (const auto& [name, plain] : keys) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath("Tema_CRJ.dvk");
        writeBytes(path, SealKey(plain, "Tema"));
        EXPECT_EQ(ReadPublishedKey(path), plain);
        TextList expected;
        expected.loadFromBytes(plain, TextList::Encoding::Teacher);
        EXPECT_EQ(ReadPublishedKeyLines(path), expected.lines());
    }
    // A fresh nonce each time: two publications of one key share no key stream.
    EXPECT_NE(SealKey("misma clave", "Tema"), SealKey("misma clave", "Tema"));
}

// A search for a word of a feedback, in any letter case, or for any piece of the plain key,
// finds nothing in the published file.
TEST(PublishedKey, NoWordOfTheKeyCanBeFoundInThePublishedFile) {
    const QByteArray plain = readAll(QStringLiteral(DORVALIA_SOURCE "/samples/El_volcan_CRJ.TXT"));
    ASSERT_FALSE(plain.isEmpty());
    const QByteArray sealed = SealKey(plain, "El_volcan").toLower();
    const QByteArray lower = plain.toLower();
    int words = 0;
    for (const QString& line :
         QString::fromLatin1(lower).split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        for (const QString& word :
             line.split(QRegularExpression(QStringLiteral(u"[^a-z\u00e0-\u00fe]+")))) {
            if (word.size() < 6)
                continue; // shorter ones could turn up by chance in random bytes
            ++words;
            EXPECT_FALSE(sealed.contains(word.toLatin1())) << word.toStdString();
        }
    }
    EXPECT_GT(words, 50);
    for (qsizetype at = 0; at + 6 <= lower.size(); ++at)
        ASSERT_FALSE(sealed.contains(lower.mid(at, 6))) << lower.mid(at, 6).constData();
}

// A published key that is not as it was written is refused whole, with a message that names it.
TEST(PublishedKey, AnythingButTheFileAsWrittenIsRefusedWithItsMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Tema_CRJ.dvk");
    const QByteArray good = SealKey(".Secci\xf3n 1\r\n.cUna\r\n.rS\xed\r\n.bBien\r\n", "Tema");
    const qsizetype header = QByteArray("DORVALIA-CLAVE 1\n").size();
    auto changed = [&](qsizetype at) {
        QByteArray bytes = good;
        bytes[at] = char(bytes[at] ^ 0x01);
        return bytes;
    };
    QByteArray shorter = good; // the length's last byte one less
    shorter[header + 16 + 7] = char(shorter[header + 16 + 7] - 1);
    QByteArray otherVersion = good;
    otherVersion.replace(0, header, "DORVALIA-CLAVE 4\n");

    const QString damaged = QStringLiteral("La clave publicada %1 está dañada o se ha cambiado a "
                                           "mano: vuelva a publicar la lección")
                                .arg(path);
    const QString cut =
        QStringLiteral("La clave publicada %1 está cortada: vuelva a publicar la lección")
            .arg(path);
    const struct {
        const char* what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"vacía", QByteArray(),
         QStringLiteral("La clave publicada %1 está vacía: vuelva a publicar la lección")
             .arg(path)},
        {"otra versión", otherVersion,
         QStringLiteral("La clave publicada %1 es de la versión 4, y este programa solo lee "
                        "hasta la versión 3")
             .arg(path)},
        {"de otra lección", SealKey(".Secci\xf3n 1\r\n.cOtra\r\n", "Otra"),
         QStringLiteral("La clave publicada %1 es de la lección «Otra», no de «Tema»: vuelva a "
                        "publicar la lección")
             .arg(path)},
        {"clave sin proteger", ".Secci\xf3n 1\r\n.cUna\r\n",
         QStringLiteral("El archivo %1 no es una clave publicada de Dorvalia").arg(path)},
        {"versión ilegible", QByteArray(good).replace(header - 2, 1, "x"), damaged},
        {"byte del nonce", changed(header), damaged},
        {"byte del texto", changed(header + 16 + 8 + 3), damaged},
        {"byte de la firma", changed(good.size() - 1), damaged},
        {"longitud menor", shorter, damaged},
        {"byte de más", good + '\n', damaged},
        {"cortada al final", good.chopped(1), cut},
        {"cortada en el texto", good.first(header + 16 + 8 + 5), cut},
        {"cortada en la cabecera", good.first(header - 1), cut},
        {"cortada en la longitud", good.first(header + 16 + 4), cut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, c.bytes);
        try {
            ReadPublishedKey(path);
            ADD_FAILURE() << "read";
        } catch (const ToolkitError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        // The lesson's key is left empty, never half read.
        Clave = std::make_unique<TextList>();
        Clave->add(QStringLiteral("de la lección anterior"));
        EXPECT_THROW(LoadKey(dir.filePath("Tema_CRJ.TXT")), ToolkitError);
        EXPECT_EQ(Clave->count(), 0);
    }
    Clave.reset();
}

// The plain key, in any letter case, wins; the published key stands in for a missing one; with
// neither the error names the plain key.
TEST(PublishedKey, TheLessonReadsThePlainKeyFirstThenThePublishedOne) {
    const QByteArray plain = ".Secci\xf3n 1\r\n.cDe la clave sin proteger\r\n";
    const QByteArray published = ".Secci\xf3n 1\r\n.cDe la clave publicada\r\n";
    const struct {
        QStringList files;
        const char* read; // the question line LoadKey gives, or nothing for the error
    } cases[] = {
        {{"Tema_CRJ.TXT"}, ".cDe la clave sin proteger"},
        {{"Tema_CRJ.dvk"}, ".cDe la clave publicada"},
        {{"Tema_CRJ.DVK"}, ".cDe la clave publicada"},
        {{"tema_crj.dvk"}, ".cDe la clave publicada"}, // the lesson's name in another case
        {{"Tema_CRJ.TXT", "Tema_CRJ.dvk"}, ".cDe la clave sin proteger"},
        {{"Tema_crj.txt", "Tema_CRJ.dvk"}, ".cDe la clave sin proteger"},
        {{}, nullptr},
        {{"Otra_CRJ.dvk"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.join(", ").toStdString());
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const QString& name : c.files)
            writeBytes(dir.filePath(name),
                       IsPublishedKey(name) ? SealKey(published, "Tema") : plain);
        const QString keyPath = dir.filePath("Tema_CRJ.TXT");
        if (c.read) {
            LoadKey(keyPath);
            EXPECT_EQ(Clave->at(1), QString::fromLatin1(c.read));
            EXPECT_EQ(Clave->count(), 4); // the sentinels too
        } else {
            try {
                LoadKey(keyPath);
                ADD_FAILURE() << "read";
            } catch (const ToolkitError& e) {
                EXPECT_EQ(e.message(), "Cannot open file " + keyPath);
            }
        }
    }
    Clave.reset();
}

// Files written by earlier and current versions, kept as classes' folders keep them: any change
// to the format's labels, secret, layout or flags makes them read wrong, and this fails.
TEST(PublishedKey, StoredFilesOfEachVersionReadAsTheyWereWritten) {
    const QString data = QStringLiteral(DORVALIA_SOURCE "/tests/data/published/");
    const QByteArray plain = readAll(data + "El_volcan_CRJ.TXT");
    ASSERT_FALSE(plain.isEmpty());
    const struct {
        const char* file;
        const char* lesson;
        bool listening;
    } cases[] = {
        {"v1/El_volcan_CRJ.dvk", "", true},
        {"v2/El_volcan_CRJ.dvk", "El_volcan", false},
        {"v2-voz/El_volcan_CRJ.dvk", "El_volcan", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = data + QLatin1String(c.file);
        const SealedKey read = ReadSealedKey(path);
        EXPECT_EQ(read.key, plain);
        EXPECT_EQ(read.lesson, QString::fromLatin1(c.lesson));
        EXPECT_EQ(read.listening, c.listening);
        EXPECT_EQ(KeyFileAllowsListening(path), c.listening);
    }
    EXPECT_TRUE(KeyFileAllowsListening(data + "El_volcan_CRJ.TXT"));
}

// A key published as an exam with its feedback held, and with its reading's digest, in the
// current version: the teacher's choices and the reading come back, and a new key says the same.
TEST(PublishedKey, TheExamAndTheReadingAreKeptAsWritten) {
    const QString data = QStringLiteral(DORVALIA_SOURCE "/tests/data/published/");
    const QByteArray reading =
        readAll(QStringLiteral(DORVALIA_SOURCE "/samples/El_volcan_lec.rtf"));
    const SealedKey stored = ReadSealedKey(data + "v3-examen/El_volcan_CRJ.dvk");
    EXPECT_EQ(stored.key, readAll(data + "El_volcan_CRJ.TXT"));
    EXPECT_EQ(stored.lesson, "El_volcan");
    EXPECT_TRUE(stored.listening && stored.exam && stored.feedbackAtEnd);
    EXPECT_EQ(stored.readingDigest, ReadingDigest(reading));
    for (const auto& [exam, held] : {std::pair{false, false}, {true, false}, {true, true}}) {
        SealedKey written = stored;
        written.listening = !exam;
        written.exam = exam;
        written.feedbackAtEnd = held;
        const SealedKey read = OpenSealedKey(SealKey(written), "El_volcan_CRJ.dvk");
        EXPECT_EQ(std::tuple(read.listening, read.exam, read.feedbackAtEnd, read.readingDigest),
                  std::tuple(!exam, exam, held, stored.readingDigest));
    }
}

} // namespace
