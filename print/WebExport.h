#pragma once

#include "teacher/LessonCheck.h"

#include <QString>

// The lesson as a web page any browser opens from a folder, and the same page as a SCORM 1.2
// package for a school's platform: FOLDER/LESSON/ (the page's own files, leccion.js with the
// lesson's data, imagenes/ with the reading's pictures) and FOLDER/LESSON_scorm.zip.
struct WebPublication {
    QString pageFolder;
    QString packagePath;
    qint64 pageBytes = 0; // the page's files, pictures left out
    qint64 pictureBytes = 0;
};

// Writes the page and the package of the lesson of the report (checked with checkLessonFiles).
// A page already there is replaced whole: the new one is written in a folder beside it and only
// then takes its place, so that a failure leaves the old page as it was. A link where the page
// or the package go is refused, never followed. Throws ToolkitError with a Spanish message.
WebPublication publishForWeb(const LessonReport& report, const QString& folder, bool voice = true);
