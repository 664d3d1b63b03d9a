#pragma once

#include <QChar>
#include <QString>

// Numbers printed through a picture such as "###0.##" or "#,##0.00": '0' is a
// digit always shown, '#' a digit shown only when significant, '.' the place of
// the decimal separator, ',' anywhere before it asks for digit grouping. Up to
// three sections separated by ';' serve positive, negative and zero values.
// Text in quotes and other characters before or after the digits are copied.
// Values are rounded half away from zero on their 15 significant digits, the way
// a user reading the decimal value expects (2.675 gives 2.68 with two decimals).
namespace NumberFormat {

// With the user's locale's decimal and group separators.
QString format(const QString &picture, double value);

QString format(const QString &picture, double value, QChar decimalSeparator, QChar groupSeparator);

} // namespace NumberFormat
