#include "lesson/RegisterName.h"

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

std::optional<QString> RegisterStem(const QString& fileName) {
    if (!fileName.endsWith(kRegisterSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    return fileName.chopped(kRegisterSuffix.size());
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
