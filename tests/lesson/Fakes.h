#pragma once

// Stand-ins for the lesson window, its viewer, its section list and the boxes, recording what the
// rules of the program asked of them.

#include "lesson/Prompter.h"
#include "lesson/SectionList.h"
#include "lesson/TextViewer.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

struct ShownBox {
    QString kind; // "question" or "message"
    QString caption;
    QString text;
};

class FakePrompter : public Prompter {
public:
    std::deque<bool> answers; // Yes = true, in the order the questions come
    std::vector<ShownBox> shown;

    bool askYesNo(const QString& caption, const QString& text) override {
        shown.push_back({QStringLiteral("question"), caption, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void showMessage(const QString& text) override {
        shown.push_back({QStringLiteral("message"), QString(), text});
    }
};

class FakeList : public SectionList {
public:
    QStringList items;
    int selected = -1;

    void clear() override {
        items.clear();
        selected = -1;
    }
    void add(const QString& item) override { items.append(item); }
    int selectedIndex() const override { return selected; }
    void select(int index) override { selected = index; }
};

// A viewer whose display lines are given as they are; its text is those lines joined by line
// feeds. Records the selection, focus and scroll calls in order.
class FakeViewer : public TextViewer {
public:
    QStringList lines;
    QStringList calls;

    explicit FakeViewer(QStringList displayLines = {}) : lines(std::move(displayLines)) {}

    void load(const QString&) override {}
    int lineCount() const override { return static_cast<int>(lines.size()); }
    QString line(int index) const override {
        return index >= 0 && index < lines.size() ? lines.at(index).left(4096) : QString();
    }
    QString text() const override { return lines.join(u'\n'); }
    int textLength() const override { return static_cast<int>(text().size()); }
    int find(const QString& what, int start, int length) const override {
        const int at =
            static_cast<int>(text().mid(start, length).indexOf(what, 0, Qt::CaseInsensitive));
        return at < 0 ? -1 : start + at;
    }
    void setSelection(int start, int length) override {
        calls.append(QStringLiteral("select %1 %2").arg(start).arg(length));
    }
    void focus() override { calls.append(QStringLiteral("focus")); }
    void scrollCaretIntoView() override { calls.append(QStringLiteral("scroll")); }
};
