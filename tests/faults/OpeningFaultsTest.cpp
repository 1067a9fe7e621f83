// A lesson folder may hold strange things under a lesson's names: a FIFO waits for a writer and
// would hang the opening. Each is refused as a file that cannot be opened, at once.

#include "lesson/AnswerKey.h"
#include "platform/core/TextList.h"
#include "platform/core/ToolkitError.h"
#include "tests/faults/FileFaults.h"

#ifdef DORVALIA_FAULTS_ERROR_BOX
#include "platform/rtf/DocumentFile.h"

#include <QTextDocument>
#endif

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

namespace {

// Runs load in a thread of its own so that a hang fails the test instead of stopping it.
QString messageOf(std::function<void()> load) {
    auto done = std::async(std::launch::async, [load] {
        try {
            load();
        } catch (const ToolkitError& e) {
            return e.message();
        }
        return QString();
    });
    if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the opening waited on the FIFO";
        std::_Exit(1); // the thread is stuck in open(); nothing else can end it
    }
    return done.get();
}

TEST(OpeningFaults, AFifoUnderALessonsNamesIsAFileThatCannotBeOpened) {
    QTemporaryDir dir;
    const QString key = dir.filePath(QStringLiteral("Tema_CRJ.TXT"));
    const QString text = dir.filePath(QStringLiteral("Tema_lec.rtf"));
    for (const QString& path : {key, text}) {
        const QString reason = FileFaults::makeFifo(path);
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
    }
    Clave = std::make_unique<TextList>();
    EXPECT_EQ(messageOf([&] { LoadKey(key); }), QStringLiteral("Cannot open file ") + key);
    Clave.reset();
    TextList list;
    EXPECT_EQ(messageOf([&] { list.loadFromFile(key); }),
              QStringLiteral("Cannot open file ") + key);
#ifdef DORVALIA_FAULTS_ERROR_BOX
    EXPECT_EQ(messageOf([&] { DocumentFile::load(text); }),
              QStringLiteral("Cannot open file ") + text);
#endif
}

} // namespace
