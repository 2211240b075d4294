#pragma once
#include <QString>
#include <exception>
#include <string>

// The program's error object. A message that starts with "#", two digits and a
// colon is already worded for the user and is shown whole; any other message
// names the class and operation that failed.
class CError : public std::exception
{
public:
    explicit CError(QString message);
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }
    // True when the message is one of the program's numbered user messages.
    bool IsUserMessage() const;
    // The text of a caught error: a CError's message, another exception's
    // what(), empty for anything else.
    static QString TextOf(const std::exception_ptr& error);

private:
    QString m_message;
    std::string m_utf8;
};
