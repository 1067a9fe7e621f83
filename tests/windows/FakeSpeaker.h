#pragma once

#include "platform/speech/Speaker.h"

#include <QList>

// A voice that says nothing: it records what it was asked to read, and the test says which word
// it reached, when it finished or how it failed.
class FakeSpeaker : public Speaker {
public:
    struct Reading {
        QString text;
        int from;
        quint64 utterance;
    };
    QList<Reading> readings;
    int cancels = 0;

    FakeSpeaker() { setSilenceLimit(0); }
    // The word of the spoken text, by its text, reached by the reading under way.
    void say(const QString& word, quint64 utterance = 0) {
        const int at = readings.back().text.indexOf(word);
        reportWord(utterance ? utterance : current(), at, word.size());
    }
    // A sound of the word reached: a vowel or a consonant.
    void sound(bool vowel) { reportSound(current(), vowel); }
    void finish() { reportFinished(current()); }
    void fail(const QString& message) { reportFailed(current(), message); }

protected:
    void start(quint64 utterance, const QString& text, int from) override {
        readings.append({text, from, utterance});
    }
    void cancel() override { ++cancels; }
};
