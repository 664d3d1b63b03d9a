#pragma once

#include "core/exam/ExamRunDetail.h"

#include <QByteArray>

#include <optional>

// A kept run's file: one JSON object, UTF-8, without a BOM.
//   "format": 1 (a later, incompatible layout gets a higher number and is refused)
//   "when": ISO 8601 to the second with the offset from UTC, "2026-12-09T23:15:00+09:00"
//   "practiceName", "level", "typedCount", "substitutions", "omissions",
//   "insertions", "netScore", "passMark", "passed": the history row's figures
//   "levelKey", "penalty", "practiceDigest", "practiceReached", "typed"
//   "errors": [ { "kind": "substitution" | "omission" | "insertion",
//       "expected", "typed", "expectedBefore", "expectedAfter", "typedBefore",
//       "typedAfter", "practicePos", "typedPos", "line", "column" }, ... ]
// Members a reader does not know are ignored. The file's own name is not in it.
namespace ExamRunFile {

constexpr int Format = 1;
// A ten-minute run is a few tens of kilobytes; anything past this is not one of ours.
constexpr qint64 LargestSize = 8 * 1024 * 1024;

QByteArray encode(const ExamRunDetail &detail);
// Nothing when the bytes are not such a file, or its positions do not fit its texts.
std::optional<ExamRunDetail> decode(const QByteArray &data);

} // namespace ExamRunFile
