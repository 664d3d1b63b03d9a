#include "dialogs/exam/ExamRunReview.h"

#include "controls/layout/FormFont.h"
#include "core/exam/ExamErrorList.h"
#include "dialogs/exam/ExamMarkStyles.h"
#include "dialogs/exam/ExamReviewPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using ErrorKind = ExamAlignment::ErrorKind;

// A kept block back as the one-character errors it was made of, so the list
// counts and words it as the result window did at the capture.
void appendUnits(const ExamRunDetail::Error &block, QList<ExamAlignment::Error> &units)
{
    const QList<uint> expected = block.expected.toUcs4();
    const QList<uint> typed = block.typed.toUcs4();
    const auto width = [](const QList<uint> &chars, qsizetype i) -> qsizetype {
        return i < chars.size() ? (QChar::requiresSurrogates(chars[i]) ? 2 : 1) : 0;
    };
    qsizetype practicePos = block.practicePos;
    qsizetype typedPos = block.typedPos;
    for (qsizetype i = 0; i < std::max(expected.size(), typed.size()); ++i) {
        const ExamAlignment::Error unit { block.kind, typedPos, width(typed, i), practicePos,
            width(expected, i) };
        units.append(unit);
        practicePos += unit.practiceLength;
        typedPos += unit.typedLength;
    }
}

QString figures(const ExamRunDetail &detail)
{
    const ExamResult &r = detail.result;
    return QStringLiteral("日時: %1\n練習文: %2\n級: %3\n入力文字数: %4 字\n"
                          "誤字 %5 字 / 脱字 %6 字 / 余字 %7 字\n得点: %8 (合格点 %9: %10)")
        .arg(r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), r.practiceName, r.level)
        .arg(r.typedCount)
        .arg(r.substitutions)
        .arg(r.omissions)
        .arg(r.insertions)
        .arg(r.netScore)
        .arg(r.passMark)
        .arg(r.passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
}

QTextEdit *readOnlyText(const QString &text, QWidget *parent)
{
    auto *edit = new QTextEdit(parent);
    edit->setReadOnly(true);
    edit->setAcceptRichText(false);
    edit->setPlainText(text);
    return edit;
}

void mark(QTextEdit &edit, qsizetype pos, qsizetype length, ErrorKind kind)
{
    QTextCursor cursor(edit.document());
    const int end = edit.document()->characterCount() - 1;
    cursor.setPosition(std::clamp(int(pos), 0, end));
    cursor.setPosition(std::clamp(int(pos + length), 0, end), QTextCursor::KeepAnchor);
    const bool lineBreak = cursor.selectedText().contains(QChar::ParagraphSeparator);
    cursor.mergeCharFormat(
        lineBreak ? ExamMarkStyles::lineBreakFormat(kind) : ExamMarkStyles::markFormat(kind));
}

void select(QTextEdit &edit, qsizetype pos, qsizetype length)
{
    QTextCursor cursor(edit.document());
    const int end = edit.document()->characterCount() - 1;
    cursor.setPosition(std::clamp(int(pos), 0, end));
    cursor.setPosition(std::clamp(int(pos + length), 0, end), QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

} // namespace

ExamRunReview::ExamRunReview(const ExamRunDetail &detail, QWidget *parent)
    : QDialog(parent)
    , m_detail(detail)
{
    setWindowTitle(QStringLiteral("練習の記録: %1")
                       .arg(detail.result.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    setFont(FormFont::font());
    auto *layout = new QVBoxLayout(this);
    FiguresLabel = new QLabel(figures(detail), this);
    FiguresLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Review = new ExamReviewPane(this);
    PracticeText = readOnlyText(detail.practiceReached, this);
    PracticeText->setAccessibleName(QStringLiteral("練習文 (入力が届いたところまで)"));
    TypedText = readOnlyText(detail.typed, this);
    TypedText->setAccessibleName(QStringLiteral("入力した文"));
    auto *texts = new QHBoxLayout;
    texts->addWidget(PracticeText);
    texts->addWidget(TypedText);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    layout->addWidget(FiguresLabel);
    layout->addWidget(Review);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Review, &ExamReviewPane::rowChosen, this, &ExamRunReview::selectError);

    ExamAlignment::Result aligned;
    for (const ExamRunDetail::Error &block : detail.errors)
        appendUnits(block, aligned.errors);
    Review->showRows(ExamErrorList::rows(aligned, detail.practiceReached, detail.typed));
    markErrors();
    resize(760, 640);
}

void ExamRunReview::markErrors()
{
    for (const ExamRunDetail::Error &error : m_detail.errors) {
        mark(*PracticeText, error.practicePos, error.expected.size(), error.kind);
        mark(*TypedText, error.typedPos, error.typed.size(), error.kind);
    }
}

void ExamRunReview::showError(int index)
{
    Review->showCurrent(index);
    selectError(index);
}

void ExamRunReview::selectError(int index)
{
    if (index < 0 || index >= m_detail.errors.size())
        return;
    const ExamRunDetail::Error &error = m_detail.errors[index];
    select(*PracticeText, error.practicePos, error.expected.size());
    select(*TypedText, error.typedPos, error.typed.size());
}
