#pragma once

#include "teacher/LessonText.h"

// Reads a lesson text as the lesson window shows it when it opens: in the lesson window's own
// viewer, at its first size, without showing it. Throws ToolkitError as the viewer does.
LessonText readLessonText(const QString& path);
