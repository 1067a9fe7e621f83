#include "windows/ListeningBar.h"

#include "lesson/ReadingUnits.h"
#include "platform/Boxes.h"
#include "platform/RichViewer.h"
#include "platform/SpokenLight.h"
#include "platform/speech/Speaker.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>

namespace {

const QString kPause = QStringLiteral("Pausa (F6)");
const QString kResume = QStringLiteral("Seguir (F6)");

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvalia"),
                     QStringLiteral("Dorvalia"));
}

const char* const kSpeedKey = "voz/velocidad";
const char* const kVoiceKey = "voz/variante";

} // namespace

ListeningBar::ListeningBar(QWidget* window, Speaker& speaker, RichViewer* reading,
                           QPlainTextEdit* question, QPlainTextEdit* answer)
    : QWidget(window), speaker_(speaker), reading_(reading), question_(question), answer_(answer) {
    setObjectName(QStringLiteral("BarraEscuchar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    listen_ = addButton(QStringLiteral("BtEscuchar"), QStringLiteral("Escuchar (F5)"),
                        QStringLiteral("Escuchar la sección"), Qt::Key_F5);
    pause_ =
        addButton(QStringLiteral("BtPausa"), kPause, QStringLiteral("Pausa o seguir"), Qt::Key_F6);
    stop_ = addButton(QStringLiteral("BtParar"), QStringLiteral("Parar (F7)"),
                      QStringLiteral("Parar la voz"), Qt::Key_F7);
    listenQuestion_ =
        addButton(QStringLiteral("BtEscucharCuestion"), QStringLiteral("Escuchar cuestión (F8)"),
                  QStringLiteral("Escuchar la cuestión y la respuesta"), Qt::Key_F8);
    listen_->setToolTip(QStringLiteral("Lee en voz alta la sección, desde su principio o desde la "
                                       "palabra en la que se ha pulsado"));
    listenQuestion_->setToolTip(QStringLiteral("Lee en voz alta la cuestión y la respuesta que se "
                                               "ven"));

    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("CbVelocidad"));
    speed_->setAccessibleName(QStringLiteral("Velocidad de la voz"));
    speed_->setToolTip(QStringLiteral("Velocidad de la voz"));
    speed_->addItem(QStringLiteral("Lenta"), QStringLiteral("lenta"));
    speed_->addItem(QStringLiteral("Normal"), QStringLiteral("normal"));
    speed_->addItem(QStringLiteral("Rápida"), QStringLiteral("rapida"));
    voice_ = new QComboBox(this);
    voice_->setObjectName(QStringLiteral("CbVoz"));
    voice_->setAccessibleName(QStringLiteral("Voz"));
    voice_->setToolTip(QStringLiteral("Voz: español de España o de América"));
    voice_->addItem(QStringLiteral("Voz de España"), QStringLiteral("es"));
    voice_->addItem(QStringLiteral("Voz de América"), QStringLiteral("es-419"));
    row->addWidget(speed_);
    row->addWidget(voice_);
    row->addStretch();

    const QSettings stored = settings();
    const int speed = speed_->findData(stored.value(kSpeedKey, QStringLiteral("normal")));
    speed_->setCurrentIndex(speed < 0 ? 1 : speed);
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
    connect(&speaker_, &Speaker::wordSpoken, this, &ListeningBar::onWord);
    connect(&speaker_, &Speaker::finished, this, &ListeningBar::onFinished);
    connect(&speaker_, &Speaker::failed, this, &ListeningBar::onFailed);
    window->installEventFilter(this);
    showState();
}

QPushButton* ListeningBar::addButton(const QString& name, const QString& text,
                                     const QString& accessible, Qt::Key key) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setShortcut(QKeySequence(key));
    button->setAutoDefault(false);
    layout()->addWidget(button);
    return button;
}

QList<QWidget*> ListeningBar::controls() const {
    return {listen_, pause_, stop_, listenQuestion_, speed_, voice_};
}

void ListeningBar::setAllowed(bool allowed) {
    allowed_ = allowed;
    if (!allowed)
        stopReading();
    setVisible(allowed);
    // Hidden buttons keep their keys unless they are disabled too.
    setEnabled(allowed);
}

void ListeningBar::listen() {
    const QString text = reading_->plainText();
    // The window's selection holds the section it brought to the top (its marker line) or the word
    // the student clicked: read from the start of the one, from the word of the other.
    const int at = reading_->selectionStart();
    const Span section = SectionAround(text, at);
    const int start = at < section.start ? section.start : WordStart(text, at);
    read({Part{reading_, text, std::max(start, section.start), section.end}});
}

void ListeningBar::listenToQuestion() {
    QList<Part> parts;
    for (QPlainTextEdit* box : {question_, answer_}) {
        const QString text = box->toPlainText();
        if (!text.trimmed().isEmpty())
            parts.append(Part{box, text, 0, static_cast<int>(text.size())});
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
    spoken_.emplace(part_->shown, part_->start, part_->end);
    speaker_.speak(spoken_->text());
    showState();
}

void ListeningBar::pauseOrResume() {
    if (speaker_.paused())
        speaker_.resume();
    else
        speaker_.pause();
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
    const Span word = WordOnly(text, spoken_->shownSpan(position, length));
    Span sentence = SentenceAround(text, word.start);
    sentence.start = std::max(sentence.start, part_->start);
    sentence.end = std::min(sentence.end, part_->end);
    lit_ = part_->box;
    SpokenLight::light(part_->box, word.start, word.end, sentence.start, sentence.end);
    emit wordLit(word.start);
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

void ListeningBar::lightOff() {
    if (lit_)
        SpokenLight::clear(lit_);
    lit_ = nullptr;
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
