// The published key: any bytes given as a published file are refused with one of its messages
// or give a key, never anything else; and any bytes sealed read back as themselves, however the
// sealed copy is then cut or has a byte changed, it is refused whole.

#include "fuzz/FuzzSupport.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"

#include <cstddef>
#include <cstdint>

namespace {

const QString kPath = QStringLiteral("Tema_CRJ.dvk");

bool refusedWhole(const QByteArray& bytes) {
    try {
        UnsealKey(bytes, kPath);
    } catch (const ToolkitError& error) {
        FUZZ_CHECK(error.message().contains(kPath));
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        UnsealKey(bytes, kPath);
    } catch (const ToolkitError& error) {
        FUZZ_CHECK(error.message().contains(kPath));
    }

    const QByteArray sealed = SealKey(bytes, QStringLiteral("Tema"));
    FUZZ_CHECK(UnsealKey(sealed, kPath) == bytes);
    // The input picks where the copy is damaged.
    const qsizetype at = size > 0 ? qsizetype(data[0]) * sealed.size() / 256 : 0;
    QByteArray changed = sealed;
    changed[at] = char(changed[at] ^ (size > 1 ? (data[1] | 1) : 1));
    FUZZ_CHECK(refusedWhole(changed));
    FUZZ_CHECK(refusedWhole(sealed.first(at)));
    return 0;
}
