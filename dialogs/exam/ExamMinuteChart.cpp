#include "dialogs/exam/ExamMinuteChart.h"

#include "core/exam/ExamPace.h"

#include <QPainter>

#include <algorithm>

ExamMinuteChart::ExamMinuteChart(QWidget *parent)
    : QWidget(parent)
{
    hide();
}

void ExamMinuteChart::setCounts(const QList<int> &perMinute, double pacePerMinute)
{
    m_counts = perMinute.mid(0, ExamPace::RunMinutes);
    m_pace = std::max(pacePerMinute, 0.0);
    QStringList figures;
    for (int count : m_counts)
        figures << QString::number(count);
    setToolTip(QStringLiteral("1 分ごとの入力文字数: ") + figures.join(u' '));
    setVisible(!m_counts.isEmpty());
    update();
}

QSize ExamMinuteChart::sizeHint() const
{
    const QFontMetrics metrics(font());
    return { 12 + metrics.horizontalAdvance(QStringLiteral("0000")) * ExamPace::RunMinutes,
        metrics.height() * 3 + 100 };
}

// Below the legend and room for a bar's figure, above the minute numbers.
QRect ExamMinuteChart::plotArea() const
{
    const QFontMetrics metrics(font());
    const int left = 6;
    const int top = metrics.height() * 2 + 6;
    const int bottom = height() - metrics.height() - 4;
    return QRect(QPoint(left, top), QPoint(width() - 6, bottom));
}

void ExamMinuteChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(QRect(6, 2, width() - 12, fontMetrics().height()), Qt::AlignLeft,
        QStringLiteral("1 分ごとの入力文字数　赤線: 必要ペース %1字/分")
            .arg(QString::number(m_pace, 'f', m_pace == int(m_pace) ? 0 : 1)));
    if (m_counts.isEmpty())
        return;
    const QRect plot = plotArea();
    const int highest = std::max(*std::max_element(m_counts.begin(), m_counts.end()), 1);
    const double top = std::max(double(highest), m_pace) * 1.1;
    const auto heightOf = [&](double value) { return int(value / top * plot.height() + 0.5); };
    const double slot = plot.width() / double(ExamPace::RunMinutes);
    const QFontMetrics metrics(font());
    for (int minute = 0; minute < ExamPace::RunMinutes; ++minute) {
        const int x = plot.left() + int(minute * slot);
        const QRect label(x, plot.bottom() + 2, int(slot), metrics.height());
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignHCenter, QString::number(minute + 1));
        if (minute >= m_counts.size())
            continue;
        const int h = heightOf(m_counts[minute]);
        painter.fillRect(QRect(x + int(slot * 0.2), plot.bottom() + 1 - h, int(slot * 0.6), h),
            QColor::fromRgb(BarColor));
        painter.drawText(
            QRect(x, plot.bottom() - h - metrics.height(), int(slot), metrics.height()),
            Qt::AlignHCenter, QString::number(m_counts[minute]));
    }
    painter.setPen(Qt::darkGray);
    painter.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);
    const int paceY = plot.bottom() + 1 - heightOf(m_pace);
    painter.fillRect(QRect(plot.left(), paceY - 1, plot.width(), 2), QColor::fromRgb(PaceColor));
}
