#include "dialogs/exam/ExamMarkStyles.h"

#include <QPalette>

namespace ExamMarkStyles {

using ErrorKind = ExamAlignment::ErrorKind;

QTextCharFormat markFormat(ErrorKind kind)
{
    QTextCharFormat format;
    switch (kind) {
    case ErrorKind::Substitution:
        format.setBackground(QColor(255, 205, 205));
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(Qt::red);
        break;
    case ErrorKind::Insertion:
        format.setBackground(QColor(255, 226, 170));
        format.setFontStrikeOut(true);
        break;
    case ErrorKind::Omission:
        format.setBackground(QColor(200, 222, 255));
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        format.setUnderlineColor(Qt::blue);
        break;
    }
    return format;
}

// Dense enough to be seen at a glance on a short stretch, in the kind's strong colour.
QTextCharFormat lineBreakFormat(ErrorKind kind)
{
    QTextCharFormat format = markFormat(kind);
    format.setProperty(QTextFormat::FullWidthSelection, true);
    const QColor line = format.underlineColor();
    format.setBackground(
        QBrush(line.isValid() ? line : format.background().color().darker(200), Qt::BDiagPattern));
    return format;
}

QTextCharFormat currentFormat()
{
    const QPalette palette;
    QTextCharFormat format;
    format.setBackground(palette.brush(QPalette::Active, QPalette::Highlight));
    format.setForeground(palette.brush(QPalette::Active, QPalette::HighlightedText));
    return format;
}

} // namespace ExamMarkStyles

#include "core/exam/ExamErrorList.h"

#include <QTextCursor>

namespace ExamMarkStyles {

void insertLegend(QTextCursor &cursor)
{
    const QTextCharFormat plain = cursor.charFormat();
    const auto sample
        = [&](const QString &caption, const QString &text, const QTextCharFormat &format) {
              cursor.insertText(caption + u' ', plain);
              cursor.insertText(text, format);
              cursor.insertText(QStringLiteral("　"), plain);
          };
    for (ErrorKind kind : { ErrorKind::Substitution, ErrorKind::Omission, ErrorKind::Insertion })
        sample(ExamErrorList::kindName(kind), QStringLiteral("字"), markFormat(kind));
    QTextCharFormat lineBreak = lineBreakFormat(ErrorKind::Omission);
    lineBreak.clearProperty(QTextFormat::FullWidthSelection);
    sample(QStringLiteral("改行の脱字"), QStringLiteral("↵　"), lineBreak);
    sample(QStringLiteral("選択中"), QStringLiteral("字"), currentFormat());
}

} // namespace ExamMarkStyles
