#pragma once

#include <QImage>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <array>
#include <memory>
#include <vector>

class DocumentBuilder;
class BuildQueue;

// The building of a document, step by step, as the interpreter asks for it. The interpreter's
// next steps depend on these calls alone, never on the document, so they can be carried out at
// once or recorded and carried out later, on another thread (see RtfReader.cpp).
struct BuildBatch {
    enum class Kind : unsigned char {
        Text, // the next length characters of text, in chars
        Image,
        EndParagraph,
        EnterTable, // length: the columns of its first row
        LeaveTable,
        EndCell,
        EndRow,
        Finish,
    };
    // Small, as the document's thread reads them from the other thread's memory.
    struct Step {
        Kind kind{};
        // Text: whether the step carries its format in chars, as it does only the first time
        // its number comes in its slot (see FormatSlots).
        bool carriesFormat = false;
        bool breaks = false; // Text: DocumentBuilder::breaksBlocks
        int length = 0;
        int format = -1; // Text: the number of its format
    };
    // The formats of text by their numbers, in slots: a number whose slot another has taken
    // since is carried again.
    static constexpr std::size_t kFormatSlots = 256;
    using FormatSlots = std::array<QTextCharFormat, kFormatSlots>;
    struct Image {
        QString name;
        QImage image;
        double width, height;
    };

    QString text; // the text of its Text steps, one after another
    std::vector<Step> steps;
    // In the order of the steps that take them: one for a Text step that carries its format and
    // for an Image; one of each for the ends of paragraphs, cells and rows, and for Finish.
    std::vector<QTextCharFormat> chars;
    std::vector<QTextBlockFormat> blocks;
    std::vector<Image> images; // one for each Image step, in order

    bool full() const;
    void clear();
    // Carries the steps out on the document that the builder writes; formats holds the formats
    // carried by the batches before.
    void apply(DocumentBuilder& builder, FormatSlots& formats) const;
};

// What the interpreter writes the document to: the builder itself, or batches that a queue hands
// to the thread that owns the document. The interpreter asks only for what follows from its own
// calls (paragraphEmpty, inTable), so it reads the same either way.
class RtfOutput {
public:
    explicit RtfOutput(DocumentBuilder& builder) : builder_(&builder) {}
    explicit RtfOutput(BuildQueue& queue);
    ~RtfOutput();
    RtfOutput(const RtfOutput&) = delete;
    RtfOutput& operator=(const RtfOutput&) = delete;

    // format is the one numbered formatId: a number stands for one format only.
    void appendText(const QString& text, const QTextCharFormat& format, int formatId);
    // Puts a picture in the text, under name among the document's resources.
    void appendImage(const QString& name, const QImage& image, double width, double height,
                     const QTextCharFormat& format);
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void enterTable(int columnsHint);
    void leaveTable();
    void endCell(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void endRow(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void finish(const QTextBlockFormat& block, const QTextCharFormat& chars);
    // The steps recorded since the last batch was handed over, at the end.
    std::unique_ptr<BuildBatch> takeBatch();

    // Whether the paragraph being written has any content yet.
    bool paragraphEmpty() const { return paragraphEmpty_; }
    bool inTable() const { return inTable_; }

private:
    void record(BuildBatch::Step step);
    void recordEnd(BuildBatch::Kind kind, const QTextBlockFormat& block,
                   const QTextCharFormat& chars);

    DocumentBuilder* builder_ = nullptr; // steps carried out at once
    BuildQueue* queue_ = nullptr;        // or recorded, in batch_
    std::unique_ptr<BuildBatch> batch_;
    std::array<int, BuildBatch::kFormatSlots> slots_{}; // the number whose format each slot holds
    // As the builder keeps them, following the same calls.
    bool paragraphEmpty_ = true;
    bool inTable_ = false;
};
