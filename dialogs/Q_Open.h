#pragma once

#include <QDialog>

class Dialogs;
class QPushButton;
class TAdvStringGrid;

// Lists the practice texts of the problem folder, graded and sorted by length;
// "開く" hands the chosen file to the main window.
class TQ_OpenForm : public QDialog
{
    Q_OBJECT
public:
    TQ_OpenForm(const QString &programFolder, Dialogs &dialogs, QWidget *parent = nullptr);

    QString ProblemPath;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    TAdvStringGrid *StringGrid = nullptr;

signals:
    // The learner chose this file; the main window loads it into its left pane.
    void problemChosen(const QString &path);

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setupControls();
    void FormCreate();
    // Measures the file and fills data row `row`; false (with the reason) when it cannot be read.
    bool AddProblemRow(const QString &path, int row, QString &failure);
    void reportUnreadable(const QStringList &failures);

    Dialogs &m_dialogs;
};
