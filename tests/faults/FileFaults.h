#pragma once

#include <QString>

// Ways to make a folder or a file fail that hold even for root, who ignores permission bits. Each
// returns an empty string on success, or the reason the machine does not allow it, for the test
// to skip with.
namespace FileFaults {

// Moves this process into its own mount namespace, once, so that the tmpfs mounts below vanish
// with the test process and are never seen by the rest of the machine.
QString privateMounts();

// A tmpfs of the given size on folder, in the private namespace; remounting makes it read-only
// or writable again.
QString mountTmpfs(const QString& folder, qint64 bytes);
QString remount(const QString& folder, bool readOnly);
void unmount(const QString& folder);

// Fills the file system that holds folder with a file until a write fails, then gives back
// `leave` bytes (rounded up to whole pages). Returns the filler's path, or empty on failure.
QString fillDisk(const QString& folder, qint64 leave);

// The file system's immutable flag (chattr +i): not even root may write, rename or create in it.
QString setImmutable(const QString& path, bool immutable);

// A FIFO, or a local socket that nothing listens on, standing at path.
QString makeFifo(const QString& path);
QString makeSocket(const QString& path);

// Lets this process's next writes reach only `limit` bytes into any file, as a full disk would
// (RLIMIT_FSIZE; the signal it raises is ignored, so the write fails with EFBIG instead).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Empty when the limit is in force.
    const QString& reason() const { return reason_; }

private:
    QString reason_;
    qint64 saved_[2] = {0, 0};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace FileFaults
