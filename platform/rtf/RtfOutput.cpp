#include "RtfOutput.h"

#include "BuildQueue.h"
#include "DocumentBuilder.h"

#include <QStringView>

bool BuildBatch::full() const {
    // Large enough that handing a batch over costs little beside building its part of the
    // document; small enough that the document's thread starts early.
    return steps.size() >= 1024 || text.size() >= 32 * 1024 || images.size() >= 16;
}

void BuildBatch::clear() {
    text.resize(0); // keeps the memory for the next batch
    steps.clear();
    chars.clear();
    blocks.clear();
    images.clear();
}

void BuildBatch::apply(DocumentBuilder& builder, FormatSlots& formats) const {
    qsizetype from = 0;
    auto image = images.begin();
    auto charsOf = chars.begin();
    auto blockOf = blocks.begin();
    for (const Step& step : steps) {
        switch (step.kind) {
        case Kind::Text: {
            QTextCharFormat& format = formats[std::size_t(step.format) % kFormatSlots];
            if (step.carriesFormat)
                format = *charsOf++;
            builder.appendText(QStringView(text).sliced(from, step.length), format, step.format,
                               step.breaks);
            from += step.length;
            break;
        }
        case Kind::Image:
            builder.appendImage(image->name, image->image, image->width, image->height, *charsOf++);
            ++image;
            break;
        case Kind::EndParagraph:
            builder.endParagraph(*blockOf++, *charsOf++);
            break;
        case Kind::EnterTable:
            builder.enterTable(step.length);
            break;
        case Kind::LeaveTable:
            builder.leaveTable();
            break;
        case Kind::EndCell:
            builder.endCell(*blockOf++, *charsOf++);
            break;
        case Kind::EndRow:
            builder.endRow(*blockOf++, *charsOf++);
            break;
        case Kind::Finish:
            builder.finish(*blockOf++, *charsOf++);
            break;
        }
    }
}

RtfOutput::RtfOutput(BuildQueue& queue) : queue_(&queue), batch_(std::make_unique<BuildBatch>()) {
    slots_.fill(-1);
}

RtfOutput::~RtfOutput() = default;

void RtfOutput::record(BuildBatch::Step step) {
    batch_->steps.push_back(std::move(step));
    if (batch_->full())
        batch_ = queue_->exchange(std::move(batch_));
}

// The ends of paragraphs, cells and rows, and Finish, carry a paragraph format and a character
// format each.
void RtfOutput::recordEnd(BuildBatch::Kind kind, const QTextBlockFormat& block,
                          const QTextCharFormat& chars) {
    batch_->chars.push_back(chars);
    batch_->blocks.push_back(block);
    record({.kind = kind});
}

std::unique_ptr<BuildBatch> RtfOutput::takeBatch() {
    return std::move(batch_);
}

// Each call keeps paragraphEmpty_ and inTable_ as DocumentBuilder keeps its own.

void RtfOutput::appendText(const QString& text, const QTextCharFormat& format, int formatId) {
    if (text.isEmpty())
        return;
    paragraphEmpty_ = false;
    const bool breaks = DocumentBuilder::breaksBlocks(text);
    if (builder_)
        return builder_->appendText(text, format, formatId, breaks);
    batch_->text += text;
    BuildBatch::Step step{.kind = BuildBatch::Kind::Text,
                          .breaks = breaks,
                          .length = int(text.size()),
                          .format = formatId};
    int& slot = slots_[std::size_t(formatId) % BuildBatch::kFormatSlots];
    if (slot != formatId) {
        slot = formatId;
        step.carriesFormat = true;
        batch_->chars.push_back(format);
    }
    record(step);
}

void RtfOutput::appendImage(const QString& name, const QImage& image, double width, double height,
                            const QTextCharFormat& format) {
    paragraphEmpty_ = false;
    if (builder_)
        return builder_->appendImage(name, image, width, height, format);
    batch_->images.push_back({name, image, width, height});
    batch_->chars.push_back(format);
    record({.kind = BuildBatch::Kind::Image});
}

void RtfOutput::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    paragraphEmpty_ = true;
    if (builder_)
        return builder_->endParagraph(block, chars);
    recordEnd(BuildBatch::Kind::EndParagraph, block, chars);
}

void RtfOutput::enterTable(int columnsHint) {
    if (inTable_)
        return;
    inTable_ = true;
    paragraphEmpty_ = true;
    if (builder_)
        return builder_->enterTable(columnsHint);
    record({.kind = BuildBatch::Kind::EnterTable, .length = columnsHint});
}

void RtfOutput::leaveTable() {
    if (!inTable_)
        return;
    inTable_ = false;
    paragraphEmpty_ = true;
    if (builder_)
        return builder_->leaveTable();
    record({.kind = BuildBatch::Kind::LeaveTable});
}

void RtfOutput::endCell(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (!inTable_)
        return;
    paragraphEmpty_ = true;
    if (builder_)
        return builder_->endCell(block, chars);
    recordEnd(BuildBatch::Kind::EndCell, block, chars);
}

void RtfOutput::endRow(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (!inTable_)
        return;
    paragraphEmpty_ = true;
    if (builder_)
        return builder_->endRow(block, chars);
    recordEnd(BuildBatch::Kind::EndRow, block, chars);
}

void RtfOutput::finish(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (inTable_) {
        inTable_ = false;
        paragraphEmpty_ = true;
    }
    if (builder_)
        return builder_->finish(block, chars);
    recordEnd(BuildBatch::Kind::Finish, block, chars);
}
