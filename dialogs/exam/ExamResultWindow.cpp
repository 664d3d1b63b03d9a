#include "dialogs/exam/ExamResultWindow.h"

#include "dialogs/exam/ExamMinuteChart.h"
#include "dialogs/exam/ExamReviewPane.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int HandBackMs = 500;

QString characters(int count)
{
    return QString::number(count) + QStringLiteral(" 字");
}
} // namespace

ExamResultWindow::ExamResultWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setWindowTitle(QStringLiteral("採点結果"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    PracticeLabel = addRow(form, QStringLiteral("練習文"));
    LevelLabel = addRow(form, QStringLiteral("級"));
    TypedLabel = addRow(form, QStringLiteral("入力文字数"));
    SubstitutionsLabel = addRow(form, QStringLiteral("誤字"));
    OmissionsLabel = addRow(form, QStringLiteral("脱字"));
    InsertionsLabel = addRow(form, QStringLiteral("余字"));
    NetScoreLabel = addRow(form, QStringLiteral("得点"));
    PassMarkLabel = addRow(form, QStringLiteral("合格点"));
    VerdictLabel = addRow(form, QStringLiteral("判定"));
    QFont verdictFont = VerdictLabel->font();
    verdictFont.setBold(true);
    VerdictLabel->setFont(verdictFont);
    CalculationLabel = addRow(form, QStringLiteral("計算"));
    Review = new ExamReviewPane(this);
    layout->addWidget(Review);
    NoticeLabel = new QLabel(this);
    NoticeLabel->setWordWrap(true);
    NoticeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NoticeLabel->setStyleSheet(QStringLiteral("color: darkred"));
    NoticeLabel->hide();
    layout->addWidget(NoticeLabel);
    MinuteChart = new ExamMinuteChart(this);
    layout->addWidget(MinuteChart);

    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    PreviousButton = new QPushButton(QString::fromUtf8(PreviousErrorCaption), this);
    NextButton = new QPushButton(QString::fromUtf8(NextErrorCaption), this);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    PreviousButton->setToolTip(QStringLiteral("Shift+F8"));
    NextButton->setToolTip(QStringLiteral("F8"));
    buttons->addWidget(PreviousButton);
    buttons->addWidget(NextButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    // Stepping through the errors is a glance between keystrokes: the buttons
    // take no focus and the keyboard goes back to the window typed in.
    for (QPushButton *button : { PreviousButton, NextButton })
        button->setFocusPolicy(Qt::NoFocus);
    connect(PreviousButton, &QPushButton::clicked, this, [this] {
        emit previousError();
        handActivationBack();
    });
    connect(NextButton, &QPushButton::clicked, this, [this] {
        emit nextError();
        handActivationBack();
    });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

QLabel *ExamResultWindow::addRow(QFormLayout *form, const QString &caption)
{
    auto *value = new QLabel(this);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, value);
    return value;
}

void ExamResultWindow::setResult(const ExamResult &result)
{
    NoticeLabel->hide();
    PracticeLabel->setText(
        result.practiceName.isEmpty() ? QStringLiteral("（名前なし）") : result.practiceName);
    LevelLabel->setText(result.level);
    TypedLabel->setText(characters(result.typedCount));
    SubstitutionsLabel->setText(QString::number(result.substitutions));
    OmissionsLabel->setText(QString::number(result.omissions));
    InsertionsLabel->setText(QString::number(result.insertions));
    NetScoreLabel->setText(characters(result.netScore));
    PassMarkLabel->setText(characters(result.passMark));
    VerdictLabel->setText(result.passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    VerdictLabel->setStyleSheet(
        result.passed ? QStringLiteral("color: darkgreen") : QStringLiteral("color: darkred"));
    const bool anyError = result.substitutions + result.omissions + result.insertions > 0;
    PreviousButton->setEnabled(anyError);
    NextButton->setEnabled(anyError);
    adjustSize();
}

// Placed first, shown after: a window moved once mapped may go behind the others.
void ExamResultWindow::present()
{
    // WA_ShowWithoutActivating is a hint: some window managers (and Qt's offscreen
    // platform) activate a new window all the same. Qt::WindowDoesNotAcceptFocus
    // would stop that, but also keep the learner from ever reaching the buttons
    // and Esc by keyboard. So for a moment an activation is taken as the window
    // system's and handed back to the window typed in; after it, it is the learner's.
    m_handBack = QApplication::activeWindow();
    m_handBackUntil.setRemainingTime(HandBackMs);
    show();
    raise(); // in front of the main window, without taking the focus
    // A window manager may stack a window that asked not to be activated under
    // the active one as it maps it; once mapped, a raise is heeded.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            raise();
    });
}

void ExamResultWindow::showNotice(const QString &text)
{
    NoticeLabel->setText(text);
    NoticeLabel->show();
    adjustSize();
}

void ExamResultWindow::showCalculation(const QString &text)
{
    CalculationLabel->setText(text);
}

void ExamResultWindow::setOutdated()
{
    PreviousButton->setEnabled(false);
    NextButton->setEnabled(false);
    Review->setOutdated();
}

void ExamResultWindow::handActivationBack()
{
    if (QWidget *typing = parentWidget() ? parentWidget()->window() : nullptr;
        typing && QApplication::activeWindow() == this)
        typing->activateWindow();
}

QPoint ExamResultWindow::clearPlace(
    const QRect &mainFrame, const QSize &frameSize, const QRect &screen, const QRect &spare)
{
    constexpr int Gap = 4;
    const int w = frameSize.width();
    const int h = frameSize.height();
    const auto within
        = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    const int x = within(mainFrame.left(), screen.left(), screen.right() + 1 - w);
    const int y = within(mainFrame.top(), screen.top(), screen.bottom() + 1 - h);
    const QPoint beside[] = {
        { mainFrame.right() + 1 + Gap, y }, // right
        { x, mainFrame.bottom() + 1 + Gap }, // below
        { mainFrame.left() - Gap - w, y }, // left
        { x, mainFrame.top() - Gap - h }, // above
    };
    for (const QPoint &place : beside)
        if (screen.contains(QRect(place, frameSize)))
            return place;
    return { within(spare.left() + Gap, screen.left(), screen.right() + 1 - w),
        within(spare.bottom() + 1 - Gap - h, screen.top(), screen.bottom() + 1 - h) };
}

bool ExamResultWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_handBack && m_handBack != this
        && !m_handBackUntil.hasExpired()) {
        QPointer<QWidget> previous = m_handBack;
        m_handBack = nullptr;
        previous->activateWindow();
    }
    return QWidget::event(event);
}

void ExamResultWindow::mousePressEvent(QMouseEvent *event)
{
    m_handBack = nullptr; // the learner's own click
    QWidget::mousePressEvent(event);
}

void ExamResultWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
