#pragma once

#include <QList>
#include <QWidget>

// The result window's bar chart of a run: the characters typed in each of the
// ten minutes, with the pace the level needs as a red line across it.
class ExamMinuteChart : public QWidget
{
    Q_OBJECT
public:
    static constexpr QRgb BarColor = 0xff4682b4;
    static constexpr QRgb PaceColor = 0xffd00000;

    explicit ExamMinuteChart(QWidget *parent = nullptr);

    // The minutes so far (up to ten) and the needed characters a minute; the
    // chart hides itself when no minute has been taken.
    void setCounts(const QList<int> &perMinute, double pacePerMinute);
    QList<int> counts() const { return m_counts; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect plotArea() const;

    QList<int> m_counts;
    double m_pace = 0;
};
