#include "teacher/LessonText.h"

#include <algorithm>

int LessonText::lineOf(int position) const {
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), position);
    return int(after - lineStarts.begin()) - 1;
}
