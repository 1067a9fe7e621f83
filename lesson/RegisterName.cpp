#include "lesson/RegisterName.h"

#include <algorithm>

namespace {

bool unsafeInFileName(QChar c) {
    return c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
           c == u'"' || c == u'<' || c == u'>' || c == u'|';
}

} // namespace

QString DateDigits(const QString& shortDate) {
    QString digits = shortDate;
    if (digits.size() >= 6)
        digits.remove(5, 1);
    if (digits.size() >= 3)
        digits.remove(2, 1);
    // Other short date formats leave separators behind; the file must still land in the
    // lesson's folder.
    digits.removeIf(unsafeInFileName);
    return digits;
}

QString RegisterFileName(const QString& lesson, const QString& dateDigits) {
    return lesson + dateDigits + kRegisterSuffix;
}

namespace {

const QString kWebMark = QStringLiteral("_web-");
constexpr int kWebIdLength = 8;

bool isWebId(QStringView id) {
    return id.size() == kWebIdLength && std::all_of(id.begin(), id.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

} // namespace

std::optional<QString> WebRegisterId(const QString& fileName) {
    if (!fileName.endsWith(kRegisterSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    const QString stem = fileName.chopped(kRegisterSuffix.size());
    const qsizetype mark = stem.size() - kWebIdLength - kWebMark.size();
    if (mark <= 0 || QStringView(stem).sliced(mark, kWebMark.size()) != kWebMark ||
        !isWebId(QStringView(stem).sliced(mark + kWebMark.size())))
        return std::nullopt;
    return stem.sliced(mark + kWebMark.size());
}

std::optional<QString> RegisterStem(const QString& fileName) {
    if (!fileName.endsWith(kRegisterSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    const QString stem = fileName.chopped(kRegisterSuffix.size());
    if (WebRegisterId(fileName))
        return stem.chopped(kWebMark.size() + kWebIdLength);
    return stem;
}

std::optional<QString> LessonBeforeDigits(const QString& stem, const QString& dateDigits) {
    if (dateDigits.isEmpty() || !stem.endsWith(dateDigits))
        return std::nullopt;
    return stem.chopped(dateDigits.size());
}

std::optional<QString> DigitsAfterLesson(const QString& stem, const QString& lesson) {
    if (!stem.startsWith(lesson))
        return std::nullopt;
    return stem.mid(lesson.size());
}
