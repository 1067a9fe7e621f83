#include "windows/LessonAdapters.h"

#include "platform/Boxes.h"
#include "platform/ListBox.h"
#include "platform/RichViewer.h"

void ListAdapter::clear() {
    list_->clear();
}
void ListAdapter::add(const QString& item) {
    list_->addItem(item);
}
int ListAdapter::selectedIndex() const {
    return list_->selectedIndex();
}
void ListAdapter::select(int index) {
    list_->select(index);
}

bool BoxPrompter::askYesNo(const QString& caption, const QString& text) {
    return Boxes::question(caption, text);
}
void BoxPrompter::showMessage(const QString& text) {
    Boxes::message(text);
}
void BoxPrompter::showError(const QString& message) {
    Boxes::error(message);
}
