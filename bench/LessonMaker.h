#pragma once

#include <QByteArray>
#include <QString>

// Writes lessons for the benchmarks: a reading of the given size with 99 sections of formatted
// paragraphs, and a key with `questions` questions of four answers per section.
namespace LessonMaker {

QByteArray reading(int sections, qsizetype bytes);
QByteArray key(int sections, int questions);
void write(const QString& folder, const QString& name, qsizetype readingBytes, int questions);

} // namespace LessonMaker
