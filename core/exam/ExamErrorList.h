#pragma once

#include "core/exam/ExamAlignment.h"

#include <QList>
#include <QString>

// The errors of an alignment as a reader goes through them: adjacent errors of
// one kind make one block (a skipped line is one 脱字 block, not a hundred), and
// each block can be told as a row of the error list.
namespace ExamErrorList {

// A run of adjacent errors of one kind, placed in both texts (UTF-16 indices).
struct Block
{
    ExamAlignment::ErrorKind kind = ExamAlignment::ErrorKind::Substitution;
    int count = 0; // characters: a block of 誤字 counts each one
    qsizetype typedPos = 0;
    qsizetype typedLength = 0; // 0 for 脱字
    qsizetype practicePos = 0;
    qsizetype practiceLength = 0; // 0 for 余字
};

// One row of the list: the block, what the practice text has there (正) and
// what was typed (入力), each with a little of the text around it, and where
// in the practice text it is (line and column from 1).
struct Row
{
    Block block;
    QString kindName; // 誤字, 脱字, 余字
    QString expected; // the block in 【】 with its context
    QString typed;
    QString summary; // "脱字 9字: ijklmnop↵"
    int line = 1;
    int column = 1;
};

// Cheap enough for every keystroke: no text is looked at.
QList<Block> blocks(const QList<ExamAlignment::Error> &errors);
// Built only when the list is shown.
QList<Row> rows(
    const ExamAlignment::Result &aligned, const QString &practice, const QString &typed);

QString kindName(ExamAlignment::ErrorKind kind);
// A stretch of text on one line: a line break shows as ↵, a tab as →.
QString visible(QStringView text);

} // namespace ExamErrorList
