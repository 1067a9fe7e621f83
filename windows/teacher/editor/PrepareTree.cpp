// «Preparar lección»: the key's sections, questions and answers as a tree, and the places of the
// form.

#include "windows/teacher/editor/PrepareView.h"

#include "ui_PrepareView.h"

#include "lesson/AnswerKey.h"
#include "lesson/KeyPositions.h"
#include "windows/teacher/editor/PrepareParts.h"

#include <QTreeWidgetItem>

using namespace prepare;

namespace {

using Place = PrepareView::Place;

QColor verdictColour(Verdict kind) {
    switch (kind) {
    case Verdict::Correcta:
        return QColor(0x00, 0x80, 0x00);
    case Verdict::Incorrecta:
        return QColor(0xb0, 0x00, 0x00);
    case Verdict::Pendiente:
        break;
    }
    return QColor(0xa0, 0x60, 0x00);
}

QString shown(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("(vacía)") : text;
}

// The shape of the tree: what must match for its items to be updated in place.
QList<int> shapeOf(const KeyStructure& key, const QList<int>& missing) {
    QList<int> shape = missing;
    shape.append(-1);
    for (const KeySection& s : key.sections) {
        shape.append(s.number);
        shape.append(int(s.questions.size()));
        for (const KeyQuestion& q : s.questions)
            shape.append(int(q.answers.size()));
    }
    return shape;
}

} // namespace

void PrepareView::rebuildTree() {
    filling_ = true;
    QTreeWidget* tree = ui->ArbolClave;
    tree->clear();
    const KeyStructure& key = document_->structure();
    const QStringList& lines = document_->lines();
    QList<int> missing;
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (key.sectionNumbered(it.key()) < 0)
            missing.append(it.key());
    }
    auto addMissing = [&](int number) {
        auto* item = new QTreeWidgetItem(
            tree, {QStringLiteral("Sección %1 (no está en la clave)").arg(number)});
        item->setData(0, KindRole, Place::Missing);
        item->setData(0, NumberRole, number);
        item->setForeground(0, Qt::gray);
    };
    qsizetype nextMissing = 0;
    for (int s = 0; s < key.sections.size(); ++s) {
        const KeySection& section = key.sections[s];
        // A section of the reading that the key lacks stands where its block would go.
        while (nextMissing < missing.size() && section.number > missing[nextMissing])
            addMissing(missing[nextMissing++]);
        auto* sectionItem = new QTreeWidgetItem(tree);
        sectionItem->setData(0, KindRole, Place::Section);
        sectionItem->setData(0, SectionRole, s);
        QFont bold = sectionItem->font(0);
        bold.setBold(true);
        sectionItem->setFont(0, bold);
        for (int q = 0; q < section.questions.size(); ++q) {
            const KeyQuestion& question = section.questions[q];
            auto* questionItem = new QTreeWidgetItem(sectionItem);
            questionItem->setData(0, KindRole, Place::Question);
            questionItem->setData(0, SectionRole, s);
            questionItem->setData(0, QuestionRole, q);
            questionItem->setForeground(0, QColor(0x00, 0x40, 0xc0));
            for (int a = 0; a < question.answers.size(); ++a) {
                auto* answerItem = new QTreeWidgetItem(questionItem);
                answerItem->setData(0, KindRole, Place::Answer);
                answerItem->setData(0, SectionRole, s);
                answerItem->setData(0, QuestionRole, q);
                answerItem->setData(0, AnswerRole, a);
            }
        }
    }
    while (nextMissing < missing.size())
        addMissing(missing[nextMissing++]);
    Q_UNUSED(lines);
    tree->setProperty("shape", QVariant::fromValue(shapeOf(key, missing)));
    updateTreeInPlace();
    tree->expandAll();
    filling_ = false;
}

// Writes the texts of the items again; false when the key's shape changed and the tree must be
// built again.
// Writes the texts of the items again, all of them or those of the lines [first, first + count);
// false when the key's shape changed and the tree must be built again.
bool PrepareView::updateTreeInPlace(int first, int count) {
    QTreeWidget* tree = ui->ArbolClave;
    const KeyStructure& key = document_->structure();
    QList<int> missing;
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (key.sectionNumbered(it.key()) < 0)
            missing.append(it.key());
    }
    if (tree->property("shape").value<QList<int>>() != shapeOf(key, missing))
        return false;
    if (count >= 0) {
        // One letter typed changes one line: its item alone is written again.
        for (int line = first; line < first + count; ++line) {
            const Place place = placeOfLine(line);
            if (place.kind != Place::None)
                writeItem(itemFor(place), place);
        }
        return true;
    }
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* sectionItem = tree->topLevelItem(i);
        if (sectionItem->data(0, KindRole).toInt() != Place::Section)
            continue;
        const int s = sectionItem->data(0, SectionRole).toInt();
        writeItem(sectionItem, {Place::Section, s});
        for (int q = 0; q < key.sections[s].questions.size(); ++q) {
            QTreeWidgetItem* questionItem = sectionItem->child(q);
            writeItem(questionItem, {Place::Question, s, q});
            for (int a = 0; a < key.sections[s].questions[q].answers.size(); ++a)
                writeItem(questionItem->child(a), {Place::Answer, s, q, a});
        }
    }
    return true;
}

void PrepareView::writeItem(QTreeWidgetItem* item, const Place& place) {
    const KeyStructure& key = document_->structure();
    const QStringList& lines = document_->lines();
    if (!item || place.section < 0)
        return;
    const KeySection& section = key.sections[place.section];
    if (place.kind == Place::Section) {
        QString title;
        if (section.header < 0)
            title = QStringLiteral("Preguntas antes del primer encabezado (nadie las verá)");
        else if (section.number == 0)
            title = QStringLiteral("«%1» (el alumno no encuentra este encabezado)")
                        .arg(lines[section.header]);
        else
            title = QStringLiteral("Sección %1").arg(section.number);
        if (section.number > 0 && readingFacts_.sections >= 0 &&
            !readingFacts_.markerLines.contains(section.number))
            title += QStringLiteral(" (la lectura no tiene esta sección)");
        item->setText(0, title);
        return;
    }
    const KeyQuestion& question = section.questions[place.question];
    if (place.kind == Place::Question) {
        item->setText(0,
                      QStringLiteral("%1. %2").arg(place.question + 1).arg(shown(question.text)));
        item->setText(1, question.answers.isEmpty() ? QStringLiteral("sin respuestas") : QString());
        return;
    }
    const KeyAnswer& answer = question.answers[place.answer];
    item->setText(0, QStringLiteral("%1. %2").arg(place.answer + 1).arg(shown(answer.text)));
    if (answer.judgment < 0) {
        item->setText(1, QStringLiteral("sin juicio"));
        item->setForeground(1, Qt::red);
    } else {
        item->setText(1, VerdictText(answer.verdict));
        item->setForeground(1, verdictColour(answer.verdict));
    }
    item->setToolTip(0, answer.feedback);
}

PrepareView::Place PrepareView::currentPlace() const {
    const QTreeWidgetItem* item = ui->ArbolClave->currentItem();
    if (!item)
        return {};
    Place place;
    place.kind = Place::Kind(item->data(0, KindRole).toInt());
    place.section = item->data(0, SectionRole).toInt();
    place.question =
        item->data(0, QuestionRole).isValid() ? item->data(0, QuestionRole).toInt() : -1;
    place.answer = item->data(0, AnswerRole).isValid() ? item->data(0, AnswerRole).toInt() : -1;
    place.number = item->data(0, NumberRole).toInt();
    if (place.kind == Place::Missing)
        place.section = -1;
    return place;
}

// The item of the place, or the nearest one that still exists.
QTreeWidgetItem* PrepareView::itemFor(const Place& place) const {
    QTreeWidget* tree = ui->ArbolClave;
    if (place.kind == Place::None)
        return nullptr;
    QTreeWidgetItem* sectionItem = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const int kind = item->data(0, KindRole).toInt();
        if ((place.kind == Place::Missing && kind == Place::Missing &&
             item->data(0, NumberRole).toInt() == place.number) ||
            (place.kind != Place::Missing && kind == Place::Section &&
             item->data(0, SectionRole).toInt() == place.section)) {
            sectionItem = item;
            break;
        }
    }
    if (!sectionItem) {
        const int count = tree->topLevelItemCount();
        return count > 0 ? tree->topLevelItem(std::clamp(place.section, 0, count - 1)) : nullptr;
    }
    if (place.question < 0 || sectionItem->childCount() == 0)
        return sectionItem;
    QTreeWidgetItem* questionItem =
        sectionItem->child(std::min(place.question, sectionItem->childCount() - 1));
    if (place.answer < 0 || questionItem->childCount() == 0)
        return questionItem;
    return questionItem->child(std::min(place.answer, questionItem->childCount() - 1));
}

void PrepareView::select(const Place& place) {
    QTreeWidgetItem* item = itemFor(place);
    if (!item)
        return;
    if (item == ui->ArbolClave->currentItem())
        showPlace();
    else
        ui->ArbolClave->setCurrentItem(item);
    ui->ArbolClave->scrollToItem(item);
}

int PrepareView::sectionNumberOf(const Place& place) const {
    if (place.kind == Place::Missing)
        return place.number;
    if (place.section < 0 || place.section >= document_->structure().sections.size())
        return 0;
    return document_->structure().sections[place.section].number;
}

// Fills the fields below the tree with the chosen item, and brings the reading to its section.

// The form's place of a key line: its answer, its question, or its section.
PrepareView::Place PrepareView::placeOfLine(int line) const {
    const KeyStructure& key = document_->structure();
    const int s = key.sectionOf(line);
    if (s < 0)
        return {};
    const KeySection& section = key.sections[s];
    for (int q = 0; q < section.questions.size(); ++q) {
        const KeyQuestion& question = section.questions[q];
        if (line < question.line || line >= question.end())
            continue;
        for (int a = 0; a < question.answers.size(); ++a) {
            if (line >= question.answers[a].line && line < question.answers[a].end())
                return {Place::Answer, s, q, a};
        }
        return {Place::Question, s, q};
    }
    return {Place::Section, s};
}
