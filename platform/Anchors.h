#pragma once

#include <Qt>

class QWidget;

// Keeps a child's distance to the chosen sides of its parent as the parent is resized: a child
// held at left and right grows with the parent, one held at right and bottom moves with that
// corner; one held by neither side of a direction keeps its centre at the same share of the
// parent's size in that direction. Call it once the parent has its designed size.
void anchor(QWidget* child, Qt::Edges edges);
