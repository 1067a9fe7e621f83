// The split of the chosen lesson path into DirLeccion and NombreLeccion, and the names derived
// from them. The input is read as UTF-8 and, separately, as raw UTF-16, so that paths with broken
// surrogates and every separator position are tried.

#include "fuzz/FuzzSupport.h"
#include "lesson/LessonFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

void split(const QString& chosen) {
    SepararRutaDeLeccion(chosen);
    const QString cut = chosen.left(ShortText::kMaxLength);
    const QString dir = DirLeccion;
    const QString name = NombreLeccion;

    // The folder is the cut path up to and including its last separator.
    FUZZ_CHECK(cut.startsWith(dir));
    FUZZ_CHECK(dir.isEmpty() || isSeparator(dir.back()));
    const QString rest = cut.mid(dir.size());
    for (QChar c : rest)
        FUZZ_CHECK(!isSeparator(c));

    // The name is the bare file name up to, not including, its last "_".
    FUZZ_CHECK(rest.startsWith(name));
    if (!name.isEmpty()) {
        FUZZ_CHECK(rest.at(name.size()) == u'_');
        FUZZ_CHECK(!rest.mid(name.size() + 1).contains(u'_'));
    } else {
        FUZZ_CHECK(rest.lastIndexOf(u'_') <= 0);
    }

    FUZZ_CHECK(LessonTextPath() == dir + name + QStringLiteral("_lec.rtf"));
    FUZZ_CHECK(KeyPath() == dir + name + QStringLiteral("_CRJ.TXT"));
    FUZZ_CHECK(RegisterPath(QStringLiteral("07122026")) ==
               dir + name + QStringLiteral("07122026_reg.csv"));

    // Choosing the derived lesson text again names the same lesson.
    SepararRutaDeLeccion(LessonTextPath());
    if ((dir + name).size() + 8 <= ShortText::kMaxLength) {
        FUZZ_CHECK(QString(DirLeccion) == dir);
        FUZZ_CHECK(QString(NombreLeccion) == name);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    split(QString::fromUtf8(bytes, static_cast<qsizetype>(size)));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    split(QString::fromStdU16String(units));
    return 0;
}
