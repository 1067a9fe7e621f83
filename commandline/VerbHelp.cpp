#include "commandline/VerbHelp.h"

#include <algorithm>

namespace {

QString optionHead(const VerbOption& option) {
    return QStringLiteral("--") + option.name +
           (option.value.isEmpty() ? QString() : u' ' + option.value);
}

// The text in lines of at most `width` characters, the ones after the first indented by `indent`.
QString wrapped(const QString& text, qsizetype indent, qsizetype width) {
    QString out, line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            out += line + u'\n' + QString(indent, u' ');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return out + line;
}

constexpr qsizetype kLineWidth = 88;

} // namespace

QString HelpText(const VerbHelp& help) {
    QString text = QStringLiteral("Uso: ") + help.usage + u'\n';
    if (!help.text.isEmpty())
        text += u'\n' + help.text;
    text += QStringLiteral("\nEstado de salida:\n");
    auto statuses = help.statuses;
    std::sort(statuses.begin(), statuses.end(),
              [](const auto& a, const auto& b) { return status(a.first) < status(b.first); });
    for (qsizetype i = 0; i < statuses.size(); ++i) {
        const QString meaning = statuses[i].second + (i + 1 < statuses.size() ? u';' : u'.');
        text += QStringLiteral("  %1  %2\n")
                    .arg(status(statuses[i].first), 2)
                    .arg(wrapped(meaning, 6, kLineWidth - 6));
    }

    QList<VerbOption> options = help.options;
    options.append({QStringLiteral("help"), QString(), QStringLiteral("Muestra esta ayuda.")});
    qsizetype width = 0;
    for (const VerbOption& option : options)
        width = std::max(width, optionHead(option).size());
    text += QStringLiteral("\nOpciones:\n");
    for (const VerbOption& option : options) {
        const QString head = option.name == u"help" ? QStringLiteral("-h, --help")
                                                    : QStringLiteral("    ") + optionHead(option);
        const qsizetype indent = 2 + width + 4 + 2;
        text += QStringLiteral("  %1  %2\n")
                    .arg(head, -int(width + 4))
                    .arg(wrapped(option.text, indent, kLineWidth - indent));
    }
    return text;
}

QList<QCommandLineOption> ParserOptions(const VerbHelp& help) {
    QList<QCommandLineOption> options;
    for (const VerbOption& option : help.options)
        options.append(QCommandLineOption(option.name, QString(), option.value));
    return options;
}
