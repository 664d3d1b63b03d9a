#pragma once

#include "core/exam/ExamProfile.h"
#include "core/exam/ExamResult.h"
#include "core/exam/HistoryFilter.h"

#include <QDialog>
#include <QList>

class Dialogs;
class QComboBox;
class QLabel;
class QPushButton;
class Shell;
class TAdvStringGrid;
class Tsp_XYLine;
class Tsp_XYPlot;

// The practice history: the recorded ten-minute runs, chosen by exam, level and
// practice text, in a sortable list, and their net scores in time order on a
// chart, each point green when the run passed and red when not, with each run's
// own pass mark as a step line. A run kept whole can be opened again, and a run
// deleted. Opening reads only the history file, never the kept runs.
class THistoryForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize ClientSize { 720, 580 };
    static constexpr int FilterBand = 32;
    static constexpr int GridHeight = 200;
    static constexpr int MinPlotHeight = 150;
    enum Column { RunColumn, DateColumn, NameColumn, LevelColumn, TypedColumn, NetColumn = 8 };
    static constexpr const char *All = "すべて";

    // An unreadable file is reported in the error box, and the window opens empty.
    THistoryForm(const QString &historyPath, const ExamLevel &level, Dialogs &dialogs, Shell &shell,
        QWidget *parent = nullptr);

    QComboBox *ExamBox = nullptr;
    QComboBox *LevelBox = nullptr;
    QComboBox *PracticeBox = nullptr;
    TAdvStringGrid *Grid = nullptr;
    Tsp_XYPlot *XYPlot = nullptr;
    Tsp_XYLine *XYLine = nullptr; // the net scores, x = the run's number among those shown
    Tsp_XYLine *PassedPoints = nullptr; // green markers only
    Tsp_XYLine *FailedPoints = nullptr; // red markers only
    Tsp_XYLine *PassMarkLine = nullptr; // each run's own mark, as steps
    QLabel *MarkLabel = nullptr;
    QPushButton *OpenButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *FolderButton = nullptr;
    QPushButton *CloseButton = nullptr;

    // The runs as shown, oldest first.
    const QList<ExamResult> &runs() const { return m_shown; }
    // The run under the grid's current row; -1 when none.
    int currentRun() const;
    // The tooltip over the chart at pos: the nearest shown run's date and score.
    QString pointTip(const QPoint &pos) const;

public slots:
    void FolderButtonClick();
    void OpenButtonClick();
    void DeleteButtonClick();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupControls();
    void setupFilters();
    void setupGrid();
    void setupChart();
    void setupSeries();
    void loadRuns();
    void fillFilters();
    void applyFilter();
    void fillGrid();
    void fillChart();
    void updateButtons();

    QString m_path;
    ExamLevel m_level;
    Dialogs &m_dialogs;
    Shell &m_shell;
    QList<ExamResult> m_all; // every readable row, in time order
    QList<ExamResult> m_shown;
    HistoryFilter::Choice m_choice;
};
