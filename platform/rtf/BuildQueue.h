#pragma once

#include "RtfOutput.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

// Hands batches of recorded steps from the thread that reads a file to the thread that owns the
// document, a few at a time, so that memory stays bounded however large the file. Batches come
// back to be filled again.
class BuildQueue {
public:
    // Thrown to the reading thread when the document's thread has given up.
    struct Stopped {};

    // Reading side: hands a full batch over and returns an empty one, waiting while the document's
    // side is behind.
    std::unique_ptr<BuildBatch> exchange(std::unique_ptr<BuildBatch> full);
    // Reading side, last: the final batch (or none), and what stopped the reading, if anything.
    void close(std::unique_ptr<BuildBatch> last, std::exception_ptr error);

    // Document side: the next batch, or none when the reading is over; rethrows its error.
    std::unique_ptr<BuildBatch> take();
    void giveBack(std::unique_ptr<BuildBatch> batch);
    // Document side: gives up, so that the reading thread stops at its next batch.
    void stop();

private:
    static constexpr std::size_t kMaxWaiting = 4;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<BuildBatch>> waiting_; // oldest first
    std::vector<std::unique_ptr<BuildBatch>> spare_;
    bool closed_ = false, stopped_ = false;
    std::exception_ptr error_;
};
