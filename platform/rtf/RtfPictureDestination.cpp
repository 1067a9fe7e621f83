#include "platform/rtf/RtfInterpreter.h"

// Inside {\pict}: the kind of picture, and the sizes it is drawn at.
void RtfInterpreter::pictureWord(Kw kw, int param) {
    switch (kw) {
    case Kw::k_pngblip:
        picture_.setKind(RtfPicture::Kind::Png);
        break;
    case Kw::k_jpegblip:
        picture_.setKind(RtfPicture::Kind::Jpeg);
        break;
    case Kw::k_wmetafile:
    case Kw::k_emfblip:
    case Kw::k_macpict:
    case Kw::k_dibitmap:
    case Kw::k_wbitmap:
    case Kw::k_pmmetafile:
        picture_.setKind(RtfPicture::Kind::Other);
        break;
    case Kw::k_picw:
        picture_.setWidth(param);
        break;
    case Kw::k_pich:
        picture_.setHeight(param);
        break;
    case Kw::k_picwgoal:
        picture_.setGoalWidth(param);
        break;
    case Kw::k_pichgoal:
        picture_.setGoalHeight(param);
        break;
    case Kw::k_picscalex:
        picture_.setScaleX(param);
        break;
    case Kw::k_picscaley:
        picture_.setScaleY(param);
        break;
    default:
        break;
    }
}

void RtfInterpreter::insertPicture() {
    RtfPicture::Result result = picture_.finish();
    if (result.image.isNull())
        return;
    const RtfGroupState& group = top();
    if (group.dest != RtfDest::Text && group.dest != RtfDest::ListLabel &&
        group.dest != RtfDest::Container)
        return;
    flushBytes();
    prepareContent();
    flushRun();
    const QString name = QStringLiteral("rtfpicture:%1").arg(++pictureCount_);
    out_.appendImage(name, result.image, result.size.width(), result.size.height(),
                     charFormat(group.chars));
}
