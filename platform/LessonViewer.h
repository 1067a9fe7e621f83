#pragma once

class RichViewer;

// The lesson window's viewer as the window opens: its place and size, its frame and its font.
// The lesson window gives them to its viewer, and the teacher's program lays a lesson out in a
// viewer shaped the same, so that it sees the very display lines that a student will.
void shapeAsLessonViewer(RichViewer& viewer);
