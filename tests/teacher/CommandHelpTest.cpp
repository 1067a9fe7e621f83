#include "commandline/Commands.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString manPage() {
    QFile file(QStringLiteral(DORVALIA_SOURCE "/packaging/man/dorvalia-docente.1"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The lines of the page from the one that starts with `start` to the next that starts with any
// of `ends`, roff's escaped hyphens read as hyphens.
QString block(const QString& page, const QString& start, const QStringList& ends) {
    const QStringList lines =
        QString(page).replace(QStringLiteral("\\-"), QStringLiteral("-")).split(u'\n');
    QString found;
    bool in = false;
    for (const QString& line : lines) {
        if (in && std::any_of(ends.begin(), ends.end(),
                              [&](const QString& end) { return line.startsWith(end); }))
            break;
        if (line == start)
            in = true;
        if (in)
            found += line + u'\n';
    }
    return found;
}

std::string sorted(QStringList list) {
    list.removeDuplicates();
    list.sort();
    return list.join(u' ').toStdString();
}

// What the pattern's group captures in the text, sorted, each once.
std::string matches(const QString& text, const QString& pattern) {
    QStringList found;
    for (const auto& match : QRegularExpression(pattern).globalMatch(text))
        found.append(match.captured(1));
    return sorted(found);
}

} // namespace

// Every verb's --help, its parser and the manual page name the same options and exit statuses:
// both are written by hand, and a verb given an option or a status must be documented in both.
TEST(CommandHelp, TheManualPageAndEachVerbsHelpAgree) {
    const QString page = manPage();
    ASSERT_FALSE(page.isEmpty());
    const QString synopsis = block(page, QStringLiteral(".SH SINOPSIS"), {QStringLiteral(".SH")});
    const QString statuses =
        block(page, QStringLiteral(".SH ESTADO DE SALIDA"), {QStringLiteral(".SH V")});
    for (const auto& command : allCommands()) {
        SCOPED_TRACE(command->name().toStdString());
        const VerbHelp help = command->help();
        QStringList optionList, numberList;
        for (const VerbOption& option : help.options)
            optionList.append(option.name);
        for (const auto& [exit, text] : help.statuses)
            numberList.append(QString::number(status(exit)));
        const std::string options = sorted(optionList), numbers = sorted(numberList);

        const QString manUsage =
            block(synopsis, ".B dorvalia-docente " + command->name(), {QStringLiteral(".br")});
        EXPECT_EQ(matches(manUsage, QStringLiteral("--([a-z-]+)")), options);
        const QString manStatuses = block(statuses, ".B " + command->name(),
                                          {QStringLiteral(".TP"), QStringLiteral(".SH")});
        EXPECT_EQ(matches(manStatuses, QStringLiteral("\\b(\\d+)\\s+si\\b")), numbers);
        // The usage line of --help names every option too.
        EXPECT_EQ(matches(help.usage, QStringLiteral("--([a-z-]+)")), options);
    }
}
