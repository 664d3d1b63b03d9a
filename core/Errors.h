#pragma once

#include <QString>

#include <stdexcept>

// An error whose message is shown to the learner as it stands.
class VemiError : public std::runtime_error
{
public:
    explicit VemiError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A read that failed part way, whichever reader met it.
[[noreturn]] inline void throwStreamReadError()
{
    throw VemiError(QStringLiteral("ストリームからの読み込みに失敗しました"));
}

// Ends a command quietly, as when the learner cancels a question: never reported.
class SilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "aborted"; }
};
