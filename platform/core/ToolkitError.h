#pragma once

#include <QString>

#include <exception>
#include <string>

// The one kind of failure that the toolkit and the runtime raise: a file that cannot be opened,
// a list index out of range, a number that does not convert. Handlers let it run up to the
// application, which shows it in the error box and carries on.
class ToolkitError : public std::exception {
public:
    explicit ToolkitError(QString message);

    // The described message, as the student's program shows it.
    const QString& message() const { return message_; }
    // The same in Spanish, for the teacher's program: the toolkit's texts ("Cannot open file
    // %s"...) said in Spanish as a clause ("no se puede abrir el archivo %s"); messages written
    // in Spanish already, as they are.
    const QString& spanish() const { return spanish_; }
    // spanish() as a sentence of its own, for a box: its first letter a capital.
    QString spanishSentence() const;
    const char* what() const noexcept override { return utf8_.c_str(); }

    static ToolkitError cannotOpenFile(const QString& path);
    static ToolkitError cannotCreateFile(const QString& path);
    static ToolkitError listIndexOutOfBounds(qsizetype index);
    static ToolkitError notAValidInteger(const QString& text);
    static ToolkitError failedToLoadStream();
    // The runtime's message for an I/O error code ("Disk full", "I/O error 998", ...).
    static ToolkitError inputOutput(int code);

private:
    ToolkitError(QString message, QString spanish);

    QString message_;
    QString spanish_;
    std::string utf8_;
};
