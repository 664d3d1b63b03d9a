#pragma once

#include "core/exam/ExamProfile.h"
#include "core/exam/ExamResult.h"

#include <QDialog>
#include <QList>

class Dialogs;
class QLabel;
class QPushButton;
class Shell;
class TAdvStringGrid;
class Tsp_XYLine;
class Tsp_XYPlot;

// The practice history: every recorded ten-minute run in a sortable list, and
// the net scores in time order on a chart with the chosen level's pass mark as
// a line. Reads the history file once, when it is created; it changes nothing.
class THistoryForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize ClientSize { 720, 560 };
    static constexpr int GridHeight = 200;
    static constexpr int MinPlotHeight = 150;
    enum Column { RunColumn, DateColumn, NameColumn, LevelColumn, TypedColumn, NetColumn = 8 };

    // An unreadable file is reported in the error box, and the window opens empty.
    THistoryForm(const QString &historyPath, const ExamLevel &level, Dialogs &dialogs, Shell &shell,
        QWidget *parent = nullptr);

    TAdvStringGrid *Grid = nullptr;
    Tsp_XYPlot *XYPlot = nullptr;
    Tsp_XYLine *XYLine = nullptr; // the net scores, x = the run's number in time order
    Tsp_XYLine *PassMarkLine = nullptr; // across the whole chart at the level's mark
    QLabel *MarkLabel = nullptr;
    QPushButton *FolderButton = nullptr;
    QPushButton *CloseButton = nullptr;

    // The runs as shown, oldest first.
    const QList<ExamResult> &runs() const { return m_runs; }

public slots:
    void FolderButtonClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupControls();
    void setupGrid();
    void setupChart();
    void setupSeries();
    void loadRuns();
    void fillGrid();
    void fillChart();

    QString m_path;
    ExamLevel m_level;
    Dialogs &m_dialogs;
    Shell &m_shell;
    QList<ExamResult> m_runs;
};
