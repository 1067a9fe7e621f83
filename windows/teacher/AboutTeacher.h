#pragma once

#include <QString>

// «Acerca de» of the teacher's program: its name and version, and that it is free software
// under the GNU GPL, version 3 or later, with where the licences of it and of its parts are.
QString TeacherAboutText();
void ShowTeacherAbout();
