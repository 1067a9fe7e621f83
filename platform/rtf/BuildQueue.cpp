#include "BuildQueue.h"

#include <utility>

std::unique_ptr<BuildBatch> BuildQueue::exchange(std::unique_ptr<BuildBatch> full) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || waiting_.size() < kMaxWaiting; });
    if (stopped_)
        throw Stopped{};
    waiting_.push_back(std::move(full));
    changed_.notify_all();
    if (spare_.empty())
        return std::make_unique<BuildBatch>();
    auto empty = std::move(spare_.back());
    spare_.pop_back();
    return empty;
}

void BuildQueue::close(std::unique_ptr<BuildBatch> last, std::exception_ptr error) {
    const std::lock_guard lock(mutex_);
    if (last && !stopped_)
        waiting_.push_back(std::move(last));
    error_ = std::move(error);
    closed_ = true;
    changed_.notify_all();
}

std::unique_ptr<BuildBatch> BuildQueue::take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !waiting_.empty(); });
    if (!waiting_.empty()) {
        auto batch = std::move(waiting_.front());
        waiting_.erase(waiting_.begin());
        changed_.notify_all();
        return batch;
    }
    if (error_)
        std::rethrow_exception(error_);
    return nullptr;
}

void BuildQueue::giveBack(std::unique_ptr<BuildBatch> batch) {
    batch->clear();
    const std::lock_guard lock(mutex_);
    spare_.push_back(std::move(batch));
}

void BuildQueue::stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}
