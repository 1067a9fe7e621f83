#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

// What the student chooses of how «Escuchar» reads, in its «Opciones» menu, remembered for the
// next time as the voice and the speed are.
class ListeningOptions : public QObject {
    Q_OBJECT

public:
    explicit ListeningOptions(QWidget* parent);

    // Stop after each sentence until the student goes on.
    bool sentenceBySentence() const { return sentenceBySentence_; }
    // Light each word's syllables one after another as they are said.
    bool bySyllables() const { return bySyllables_; }
    // Shade all but the lines being read.
    bool ruler() const { return ruler_; }
    // Read the verdict and the teacher's feedback as soon as an answer is accepted.
    bool readVerdict() const { return readVerdict_; }
    // Say web and mail addresses, or pass over them.
    bool sayAddresses() const { return sayAddresses_; }
    QString scheme() const { return scheme_; }

    QMenu* menu() const { return menu_; }

signals:
    void changed();

private:
    void addOption(const QString& text, const QString& name, const char* key, bool& value);

    QMenu* menu_;
    bool sentenceBySentence_ = false;
    bool bySyllables_ = false;
    bool ruler_ = false;
    bool readVerdict_ = false;
    bool sayAddresses_ = true;
    QString scheme_;
};
