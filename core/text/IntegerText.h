#pragma once

#include <QString>

#include <optional>

namespace IntegerText {

// An optionally signed decimal number, or a hexadecimal one after "$", that
// fits 32 bits (hexadecimal up to $FFFFFFFF, taken as two's complement).
std::optional<qint32> parse(const QString &text);

// Like parse(), but throws VemiError "'<text>' は整数ではありません" on bad text.
qint32 toInt(const QString &text);

// How the settings file's integers and booleans are read: a leading "0x" or
// "0X" of a value longer than two characters means "$"; bad text gives fallback.
qint32 fromSetting(const QString &value, qint32 fallback);

// The full-width digits and signs an input method types ("１２", "－３") as the
// ASCII ones every parser here reads; anything else is left as it is.
QString halfWidthDigits(const QString &text);

} // namespace IntegerText
