#include "windows/ViewerAdapter.h"

#include "platform/RichViewer.h"

void ViewerAdapter::load(const QString& path) {
    viewer_->load(path);
}
int ViewerAdapter::lineCount() const {
    return viewer_->lineCount();
}
QString ViewerAdapter::line(int index) const {
    return viewer_->line(index);
}
QString ViewerAdapter::text() const {
    return viewer_->plainText();
}
int ViewerAdapter::textLength() const {
    return viewer_->textLength();
}
int ViewerAdapter::find(const QString& what, int start, int length) const {
    return viewer_->find(what, start, length);
}
void ViewerAdapter::setSelection(int start, int length) {
    viewer_->setSelection(start, length);
}
void ViewerAdapter::focus() {
    viewer_->setFocus();
}
void ViewerAdapter::scrollCaretIntoView() {
    viewer_->scrollCaretIntoView();
}
