#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// An up-down selector bound to a one-line edit. It writes its position into the edit in decimal,
// so the edit's change handler runs whenever the number changes; reading the position reads the
// edit's number back. Positions wrap at both ends and stay within 16 bits.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void setBuddy(QLineEdit* edit);
    // The names assistive technology reads for the two arrows.
    void setArrowNames(const QString& up, const QString& down);
    QLineEdit* buddy() const { return edit_; }

    void setMinimum(int minimum);
    void setMaximum(int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }

    // Setting the position it already has does nothing: the edit is not touched.
    void setPosition(int position);
    // The edit's number when it is one within the range; else the last position set.
    int position() const;
    // Whether the edit now holds a number within the range.
    bool editHoldsPosition() const;

    void stepUp();
    void stepDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* edit_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 100;
    mutable int pos_ = 0;
};
