#pragma once

#include <QList>
#include <QString>

#include <memory>

// Where a typed text departs from the practice text it copies, counted the way
// word-processor speed tests count errors: by Unicode code point (a line break
// is one character; full-width and half-width forms differ), over the part typed
// so far (the rest of the practice text is not an error), in a minimum-error
// alignment that, among equal ones, reaches furthest into the practice text,
// then has the fewest runs of consecutive errors (a skipped line is one run),
// then reads first with a substitution before an omission before an insertion
// (ExamAlignmentMethods::canonical): the same texts always give the same errors.
class ExamAlignment
{
public:
    enum class ErrorKind { Substitution, Omission, Insertion };

    // One error, placed so that either pane can mark it. Positions and lengths
    // are UTF-16 indices into the QString given (a pane's text, "\n" breaks).
    struct Error
    {
        ErrorKind kind = ErrorKind::Substitution;
        qsizetype typedPos = 0; // an omission: where the missing character belongs
        qsizetype typedLength = 0; // 0 for an omission
        qsizetype practicePos = 0; // an insertion: where the extra character was put
        qsizetype practiceLength = 0; // 0 for an insertion
    };

    struct Result
    {
        int substitutions = 0; // 誤字
        int omissions = 0; // 脱字
        int insertions = 0; // 余字
        qsizetype practiceReached = 0; // UTF-16 index just past the practice text aligned
        QList<Error> errors; // in order along both texts
        int errorCount() const { return substitutions + omissions + insertions; }
    };

    ExamAlignment();
    ~ExamAlignment();
    ExamAlignment(const ExamAlignment &) = delete;
    ExamAlignment &operator=(const ExamAlignment &) = delete;

    // The practice text is kept prepared between keystrokes.
    void setPracticeText(const QString &practice);
    QString practiceText() const;

    Result align(const QString &typed) const;

private:
    struct Prepared;
    std::unique_ptr<Prepared> d;
};
