#pragma once

#include <QDialog>
#include <QStringList>

class Dialogs;
class QPushButton;
class Tsp_XYLine;
class Tsp_XYPlot;

// Plots the score list: one point per recorded ten-minute run, in the order
// of the list, with the characters typed on the vertical axis. Reads the list
// once, when it is created; it changes nothing.
class TScoreForm : public QDialog
{
    Q_OBJECT
public:
    // The chart is 600 wide; the window around it is the window manager's.
    static constexpr QSize ClientSize { 600, 433 };
    static constexpr int PlotHeight = 377;

    // A null score list leaves the chart as it is set up, without a message.
    TScoreForm(const QStringList *scores, Dialogs &dialogs, QWidget *parent = nullptr);

    QPushButton *Button1 = nullptr; // "閉じる" (close)
    Tsp_XYPlot *XYPlot = nullptr;
    Tsp_XYLine *XYLine = nullptr;

    // A score as the program has always read it: decimal, or hexadecimal
    // after "$", "x" or "0x"; throws VemiError naming the entry otherwise.
    static qint32 scoreValue(const QString &entry);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupControls();
    void setupChart();
    void setupSeries();
    void FormCreate();

    const QStringList *m_scores;
    Dialogs &m_dialogs;
};
