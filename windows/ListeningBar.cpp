#include "windows/ListeningBar.h"

#include "lesson/ReadingUnits.h"
#include "platform/Boxes.h"
#include "platform/LightSchemes.h"
#include "platform/RichViewer.h"
#include "platform/SpokenLight.h"
#include "platform/speech/Speaker.h"
#include "windows/ListeningOptions.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>

namespace {

const QString kPause = QStringLiteral("Pausa (F6)");
const QString kResume = QStringLiteral("Seguir (F6)");

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvalia"),
                     QStringLiteral("Dorvalia"));
}

const char* const kSpeedKey = "voz/velocidad";
const char* const kVoiceKey = "voz/variante";

// The text of a box as its lines are laid out: a line break inside a paragraph is kept as such,
// not taken for the end of a paragraph (and of a sentence) as in the box's plain text.
QString linesOf(QAbstractScrollArea* box, const QString& shown) {
    auto* rich = qobject_cast<QTextEdit*>(box);
    if (!rich)
        return shown;
    QString raw = rich->document()->toRawText();
    for (QChar& c : raw)
        if (c == QChar::ParagraphSeparator || c == QChar(0xfdd0) || c == QChar(0xfdd1))
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    return raw.size() == shown.size() ? raw : shown;
}

} // namespace

ListeningBar::ListeningBar(QWidget* window, Speaker& speaker, RichViewer* reading,
                           QPlainTextEdit* question, QPlainTextEdit* answer)
    : QWidget(window), speaker_(speaker), reading_(reading), question_(question), answer_(answer) {
    setObjectName(QStringLiteral("BarraEscuchar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    listen_ = addButton(QStringLiteral("BtEscuchar"), QStringLiteral("Escuchar (F5)"),
                        QStringLiteral("Escuchar la sección"));
    pause_ = addButton(QStringLiteral("BtPausa"), kPause, QStringLiteral("Pausa o seguir"));
    stop_ = addButton(QStringLiteral("BtParar"), QStringLiteral("Parar (F7)"),
                      QStringLiteral("Parar la voz"));
    listenQuestion_ =
        addButton(QStringLiteral("BtEscucharCuestion"), QStringLiteral("Escuchar cuestión (F8)"),
                  QStringLiteral("Escuchar la cuestión y la respuesta"));
    listen_->setToolTip(QStringLiteral("Lee en voz alta la sección, desde su principio o desde la "
                                       "palabra en la que se ha pulsado"));
    listenQuestion_->setToolTip(QStringLiteral("Lee en voz alta la cuestión y la respuesta que se "
                                               "ven"));
    // The keys are the window's, and their names are given to assistive technology here: a
    // button's own key would follow its text and be lost when the text changes.
    const std::pair<QPushButton*, const char*> keyNames[] = {
        {listen_, "F5"}, {pause_, "F6"}, {stop_, "F7"}, {listenQuestion_, "F8"}};
    for (const auto& [button, name] : keyNames)
        button->setAccessibleDescription(QStringLiteral("Tecla ") + QLatin1String(name));
    addKey(Qt::Key_F5, &ListeningBar::listen);
    addKey(Qt::Key_F6, &ListeningBar::pauseOrResume);
    addKey(Qt::Key_F7, &ListeningBar::stopReading);
    addKey(Qt::Key_F8, &ListeningBar::listenToQuestion);
    addKey(Qt::Key_F3, &ListeningBar::sentenceAgain);
    addKey(Qt::Key_F2, &ListeningBar::sentenceBefore);

    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("CbVelocidad"));
    speed_->setAccessibleName(QStringLiteral("Velocidad de la voz"));
    speed_->setToolTip(QStringLiteral("Velocidad de la voz"));
    // In the order of Speaker::Speed.
    speed_->addItem(QStringLiteral("Muy lenta"), QStringLiteral("muy_lenta"));
    speed_->addItem(QStringLiteral("Lenta"), QStringLiteral("lenta"));
    speed_->addItem(QStringLiteral("Normal"), QStringLiteral("normal"));
    speed_->addItem(QStringLiteral("Rápida"), QStringLiteral("rapida"));
    voice_ = new QComboBox(this);
    voice_->setObjectName(QStringLiteral("CbVoz"));
    voice_->setAccessibleName(QStringLiteral("Voz"));
    voice_->setToolTip(QStringLiteral("Voz: español de España o de América"));
    voice_->addItem(QStringLiteral("Voz de España"), QStringLiteral("es"));
    voice_->addItem(QStringLiteral("Voz de América"), QStringLiteral("es-419"));
    options_ = new ListeningOptions(this);
    QMenu* menu = options_->menu();
    menu->insertAction(menu->actions().value(0),
                       menu->addAction(QStringLiteral("Repetir la frase\tF3"), this,
                                       &ListeningBar::sentenceAgain));
    menu->insertAction(
        menu->actions().value(1),
        menu->addAction(QStringLiteral("Frase anterior\tF2"), this, &ListeningBar::sentenceBefore));
    menu->insertSeparator(menu->actions().value(2));
    more_ = new QToolButton(this);
    more_->setObjectName(QStringLiteral("BtOpcionesVoz"));
    more_->setText(QStringLiteral("Más…"));
    more_->setAccessibleName(QStringLiteral("Más opciones de la voz"));
    more_->setToolTip(QStringLiteral("Frase a frase, por sílabas, colores, regla de lectura"));
    more_->setMenu(menu);
    more_->setPopupMode(QToolButton::InstantPopup);
    row->addWidget(speed_);
    row->addWidget(voice_);
    row->addWidget(more_);
    row->addStretch();

    notice_ = new QLabel(window);
    notice_->setObjectName(QStringLiteral("LSinVoz"));
    notice_->setWordWrap(true);
    notice_->hide();

    const QSettings stored = settings();
    const int speed = speed_->findData(stored.value(kSpeedKey, QStringLiteral("normal")));
    speed_->setCurrentIndex(speed < 0 ? 2 : speed);
    const int voice = voice_->findData(
        stored.value(kVoiceKey, Speaker::voiceForLocale(QLocale::system())).toString());
    voice_->setCurrentIndex(voice < 0 ? 0 : voice);
    speaker_.setSpeed(static_cast<Speaker::Speed>(speed_->currentIndex()));
    speaker_.setVoice(voice_->currentData().toString());

    connect(listen_, &QPushButton::clicked, this, &ListeningBar::listen);
    connect(listenQuestion_, &QPushButton::clicked, this, &ListeningBar::listenToQuestion);
    connect(pause_, &QPushButton::clicked, this, &ListeningBar::pauseOrResume);
    connect(stop_, &QPushButton::clicked, this, &ListeningBar::stopReading);
    connect(speed_, &QComboBox::activated, this, [this](int index) {
        speaker_.setSpeed(static_cast<Speaker::Speed>(index));
        settings().setValue(kSpeedKey, speed_->itemData(index));
    });
    connect(voice_, &QComboBox::activated, this, [this](int index) {
        speaker_.setVoice(voice_->itemData(index).toString());
        settings().setValue(kVoiceKey, voice_->itemData(index));
    });
    connect(options_, &ListeningOptions::changed, this, &ListeningBar::relight);
    connect(&speaker_, &Speaker::wordSpoken, this, &ListeningBar::onWord);
    connect(&speaker_, &Speaker::soundSpoken, this, &ListeningBar::onSound);
    connect(&speaker_, &Speaker::finished, this, &ListeningBar::onFinished);
    connect(&speaker_, &Speaker::failed, this, &ListeningBar::onFailed);
    Boxes::watch(this, [this](bool opening) { onBox(opening); });
    window->installEventFilter(this);
    showState();
}

QPushButton* ListeningBar::addButton(const QString& name, const QString& text,
                                     const QString& accessible) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setAutoDefault(false);
    layout()->addWidget(button);
    return button;
}

void ListeningBar::addKey(int key, void (ListeningBar::*slot)()) {
    // Acted on at once, as a click is: no button's pressed look to wait for.
    auto* shortcut = new QShortcut(QKeySequence(key), parentWidget());
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
    keys_.append(shortcut);
}

QList<QWidget*> ListeningBar::controls() const {
    return {listen_, pause_, stop_, listenQuestion_, speed_, voice_, more_};
}

QString ListeningBar::verdictButtonText() {
    return QStringLiteral("Escuchar la respuesta del docente (F9)");
}

void ListeningBar::setAllowed(bool allowed, const QString& why) {
    allowed_ = allowed;
    if (!allowed)
        stopReading();
    setVisible(allowed);
    setEnabled(allowed);
    for (QObject* key : keys_)
        static_cast<QShortcut*>(key)->setEnabled(allowed);
    notice_->setText(why);
    notice_->setGeometry(geometry());
    notice_->setVisible(!allowed && !why.isEmpty());
}

Boxes::Extra ListeningBar::verdictReading(const QString& verdict, const QString& feedback) {
    if (!allowed_)
        return {};
    QString words = verdict;
    if (!feedback.trimmed().isEmpty())
        words += QStringLiteral(". ") + feedback;
    Boxes::Extra extra;
    extra.text = verdictButtonText();
    extra.key = Qt::Key_F9;
    extra.action = [this, words] { read({partOf(nullptr, words, 0, int(words.size()))}); };
    if (options_->readVerdict())
        extra.whenShown = extra.action;
    return extra;
}

ListeningBar::Part ListeningBar::partOf(QAbstractScrollArea* box, const QString& shown, int start,
                                        int end) {
    return Part{box, shown, start, end, linesOf(box, shown), start};
}

void ListeningBar::listen() {
    const QString text = reading_->plainText();
    // The window's selection holds the section it brought to the top (its marker line) or the word
    // the student clicked: read from the start of the one, from the word of the other.
    const int at = reading_->selectionStart();
    const Span section = SectionAround(text, at);
    const int start = at < section.start ? section.start : WordStart(text, at);
    read({partOf(reading_, text, std::max(start, section.start), section.end)});
}

void ListeningBar::listenToQuestion() {
    QList<Part> parts;
    for (QPlainTextEdit* box : {question_, answer_}) {
        const QString text = box->toPlainText();
        if (!text.trimmed().isEmpty())
            parts.append(partOf(box, text, 0, static_cast<int>(text.size())));
    }
    read(parts);
}

void ListeningBar::read(const QList<Part>& parts) {
    stopReading();
    if (!allowed_ || parts.isEmpty())
        return;
    parts_ = parts;
    readNextPart();
}

void ListeningBar::readNextPart() {
    lightOff();
    part_ = parts_.takeFirst();
    spoken_.emplace(part_->shown, part_->from, part_->end, options_->sayAddresses());
    speaker_.speak(spoken_->text());
    showState();
}

void ListeningBar::readFrom(int position) {
    if (!part_)
        return;
    Part from = *part_;
    from.from = std::clamp(position, part_->start, part_->end);
    QList<Part> parts{from};
    parts += parts_;
    read(parts);
}

void ListeningBar::sentenceAgain() {
    if (part_ && word_.start >= 0)
        readFrom(sentence_.start);
}

void ListeningBar::sentenceBefore() {
    if (!part_ || word_.start < 0)
        return;
    int before = sentence_.start - 1;
    while (before > part_->start && part_->lines[before].isSpace())
        --before;
    readFrom(before <= part_->start ? part_->start : SentenceAround(part_->lines, before).start);
}

void ListeningBar::pauseOrResume() {
    if (speaker_.paused()) {
        // Going on after a sentence read by itself: the next one is lit as it starts.
        word_ = {-1, -1};
        speaker_.resume();
    } else {
        speaker_.pause();
    }
    showState();
}

void ListeningBar::stopReading() {
    parts_.clear();
    part_.reset();
    speaker_.stop();
    lightOff();
    showState();
}

void ListeningBar::onWord(int position, int length) {
    if (!part_)
        return;
    const QString& text = part_->shown;
    const Span word = UnitAround(text, WordOnly(text, spoken_->shownSpan(position, length)));
    // The voice reports a number or a compound word in pieces: the unit stays lit as it is.
    if (word == word_)
        return;
    Span sentence = SentenceAround(part_->lines, word.start);
    sentence.start = std::max(sentence.start, part_->start);
    sentence.end = std::min(sentence.end, part_->end);
    if (options_->sentenceBySentence() && word_.start >= 0 && sentence.start != sentence_.start) {
        // The sentence is over: wait for the student, who goes on from this word.
        speaker_.pause();
        showState();
        return;
    }
    word_ = word;
    sentence_ = sentence;
    steps_.start(text, word);
    relight();
    emit wordLit(word.start);
}

void ListeningBar::onSound(bool vowel) {
    if (!part_ || word_.start < 0 || !options_->bySyllables())
        return;
    if (steps_.heard(vowel ? SyllableSteps::Sound::Vowel : SyllableSteps::Sound::Consonant)) {
        relight();
        emit syllableLit(steps_.current().start);
    }
}

void ListeningBar::relight() {
    if (!part_ || !part_->box || word_.start < 0)
        return;
    lit_ = part_->box;
    const Span syllable = options_->bySyllables() ? steps_.current() : Span{};
    SpokenLight::light(part_->box, {word_, sentence_, syllable}, LightSchemeOf(options_->scheme()));
    SpokenLight::ruler(part_->box, options_->ruler() ? word_ : Span{});
}

void ListeningBar::onFinished() {
    if (!part_)
        return;
    if (parts_.isEmpty())
        stopReading();
    else
        readNextPart();
}

void ListeningBar::onFailed(const QString& message) {
    stopReading();
    Boxes::message(message);
}

void ListeningBar::onBox(bool opening) {
    // Nobody reads on behind a box: the reading waits, to go on with «Seguir» from the word it
    // was saying. The verdict's own reading ends with its box.
    if (opening && speaker_.speaking()) {
        speaker_.pause();
        showState();
    } else if (!opening && part_ && !part_->box) {
        stopReading();
    }
}

void ListeningBar::lightOff() {
    if (lit_)
        SpokenLight::clear(lit_);
    lit_ = nullptr;
    word_ = {-1, -1};
    sentence_ = {};
}

void ListeningBar::showState() {
    const bool reading = speaker_.speaking() || speaker_.paused();
    pause_->setEnabled(reading);
    stop_->setEnabled(reading);
    pause_->setText(speaker_.paused() ? kResume : kPause);
}

bool ListeningBar::eventFilter(QObject* watched, QEvent* event) {
    // A lesson that closes takes its voice with it.
    if (event->type() == QEvent::Hide && watched == parent())
        stopReading();
    return false;
}
