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

    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

    static ToolkitError cannotOpenFile(const QString& path);
    static ToolkitError cannotCreateFile(const QString& path);
    static ToolkitError listIndexOutOfBounds(qsizetype index);
    static ToolkitError notAValidInteger(const QString& text);
    static ToolkitError failedToLoadStream();
    // The runtime's message for an I/O error code ("Disk full", "I/O error 998", ...).
    static ToolkitError inputOutput(int code);

private:
    QString message_;
    std::string utf8_;
};
