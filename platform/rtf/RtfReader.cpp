#include "RtfReader.h"

#include "BuildQueue.h"
#include "DocumentBuilder.h"
#include "RtfInterpreter.h"

#include <QTextDocument>

#include <system_error>
#include <thread>

namespace {

// Below this a second thread gains less than it costs to start.
constexpr qsizetype kTwoThreadsFrom = 64 * 1024;

void readOnOneThread(QByteArrayView data, DocumentBuilder& builder) {
    RtfOutput out(builder);
    RtfInterpreter(data, out).run();
}

// The file is read on a second thread, which records what to build; this thread builds the
// document from the records as they come. The two parts take about as long, so the reading ends
// well before it would on one thread. The document and everything of it stay on this thread; the
// formats and pictures handed over are not changed by the reading thread once recorded.
void readOnTwoThreads(QByteArrayView data, DocumentBuilder& builder) {
    BuildQueue queue;
    std::thread reader;
    try {
        reader = std::thread([data, &queue] {
            std::unique_ptr<BuildBatch> last;
            std::exception_ptr error;
            try {
                RtfOutput out(queue);
                RtfInterpreter(data, out).run();
                last = out.takeBatch();
            } catch (const BuildQueue::Stopped&) {
            } catch (...) {
                error = std::current_exception();
            }
            queue.close(std::move(last), error);
        });
    } catch (const std::system_error&) {
        return readOnOneThread(data, builder);
    }
    BuildBatch::FormatSlots formats;
    try {
        while (auto batch = queue.take()) {
            batch->apply(builder, formats);
            queue.giveBack(std::move(batch));
        }
    } catch (...) {
        queue.stop();
        reader.join();
        throw;
    }
    reader.join();
}

} // namespace

bool looksLikeRtf(QByteArrayView data) {
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype i = 0;
    while (i < data.size() && isRtfSpace(data[i]) && data[i] != 0)
        ++i;
    data = data.sliced(i);
    return data.startsWith("{\\rtf") || data.startsWith("{\\urtf");
}

void readRtf(QByteArrayView data, QTextDocument& document) {
    readRtf(data, document,
            data.size() >= kTwoThreadsFrom && std::thread::hardware_concurrency() >= 2
                ? RtfThreads::Two
                : RtfThreads::One);
}

void readRtf(QByteArrayView data, QTextDocument& document, RtfThreads threads) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        DocumentBuilder builder(document);
        if (threads == RtfThreads::Two)
            readOnTwoThreads(data, builder);
        else
            readOnOneThread(data, builder);
    }
    document.setUndoRedoEnabled(undo);
}
