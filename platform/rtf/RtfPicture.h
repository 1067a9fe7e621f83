#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSizeF>

// The data and size of one \pict group, decoded when the group ends. PNG and JPEG are shown;
// metafiles and device bitmaps are skipped. Data beyond kMaxBytes and pictures of more than
// kMaxPixels pixels are refused, so a gigantic or lying picture costs bounded memory.
class RtfPicture {
public:
    static constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;
    static constexpr qint64 kMaxPixels = 40'000'000;

    enum class Kind { Unknown, Png, Jpeg, Other };

    void begin();
    bool active() const { return active_; }
    void setKind(Kind kind) { kind_ = kind; }
    void setWidth(int v) { width_ = v; }
    void setHeight(int v) { height_ = v; }
    void setGoalWidth(int twips) { goalWidth_ = twips; }
    void setGoalHeight(int twips) { goalHeight_ = twips; }
    void setScaleX(int percent) { scaleX_ = percent; }
    void setScaleY(int percent) { scaleY_ = percent; }
    void appendHex(QByteArrayView text);
    void appendBinary(QByteArrayView data);

    struct Result {
        QImage image; // null when there is nothing to show
        QSizeF size;  // display size in pixels at 96 dots per inch
    };
    // Decodes and ends the picture.
    Result finish();

private:
    bool room(qsizetype more) const { return data_.size() + more <= kMaxBytes && !tooBig_; }

    bool active_ = false;
    Kind kind_ = Kind::Unknown;
    int width_ = 0, height_ = 0, goalWidth_ = 0, goalHeight_ = 0, scaleX_ = 100, scaleY_ = 100;
    QByteArray data_;
    int nibble_ = -1;
    bool tooBig_ = false;
};
