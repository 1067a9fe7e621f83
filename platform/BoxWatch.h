#pragma once

#include <QString>

#include <functional>

class QObject;

// What else the boxes of platform/Boxes.h offer to those who read aloud: word of each box as it
// opens and closes, and an information box with a button of its own.
namespace Boxes {

// Told of every box, scripted or shown: opening is true just before the box appears and false
// once it has gone (the voice stops for a box, so that nobody reads behind it). Watchers are
// told in the order they were added, and forgotten with their owner.
using Watcher = std::function<void(bool opening)>;
void watch(QObject* owner, Watcher watcher);

// An information box with one more button, which does not close it: the button's text, its key
// and what it does (the verdict's box offers its reading aloud). whenShown runs as the box
// appears, the box open; in a script it runs between the box's opening and its closing.
struct Extra {
    QString text;
    int key = 0; // a Qt::Key, 0 for none
    std::function<void()> action;
    std::function<void()> whenShown;
};
void information(const QString& caption, const QString& text, const Extra& extra);

} // namespace Boxes
