#pragma once

#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamResult.h"

#include <QList>
#include <QString>

// One ten-minute run kept whole, so it can be looked at again and its mistakes
// counted across runs: what was typed, what it was checked against, and each
// block of errors with the text around it. Kept as one file per run in a
// folder beside the history file; the history row names the file.
struct ExamRunDetail
{
    // One block of adjacent errors of one kind (as ExamErrorList makes them),
    // with enough of both texts around it to tell the word it sits in.
    struct Error
    {
        ExamAlignment::ErrorKind kind = ExamAlignment::ErrorKind::Substitution;
        QString expected; // the practice text's characters (empty for 余字)
        QString typed; // the typed characters (empty for 脱字)
        QString expectedBefore; // up to ContextLength characters each side,
        QString expectedAfter; // never across a line break
        QString typedBefore;
        QString typedAfter;
        qsizetype practicePos = 0; // UTF-16 index into practiceReached
        qsizetype typedPos = 0; // UTF-16 index into typed
        int line = 1; // in the practice text, from 1
        int column = 1;
        bool operator==(const Error &) const = default;
    };
    static constexpr int ContextLength = 8;

    ExamResult result; // the history row's figures
    QString levelKey; // the ExamLevel key ("wp:3級"), empty when not known
    int penalty = 0;
    QString practiceDigest; // SHA-256 (hex) of the whole practice text, UTF-8, "\n" breaks
    QString practiceReached; // the practice text up to where the typing reached
    QString typed; // the whole typed text
    QList<Error> errors; // in text order
    bool operator==(const ExamRunDetail &) const = default;
};
