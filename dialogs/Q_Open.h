#pragma once

#include "platform/FileSearch.h"

#include <QDialog>
#include <QHash>
#include <QSet>

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
    // Lists the texts of several folders, each ending in a separator; a text in a
    // later folder hides one of the same name in an earlier folder.
    TQ_OpenForm(const QStringList &problemFolders, Dialogs &dialogs, QWidget *parent = nullptr);

    QString ProblemPath;
    QPushButton *Button1 = nullptr; // "開く" (open)
    QPushButton *Button2 = nullptr; // "キャンセル" (cancel)
    TAdvStringGrid *StringGrid = nullptr;

signals:
    // The learner chose this file; the main window loads it into its left pane.
    // nativePath, when not empty, is the bytes that open a file whose name the
    // file system's encoding cannot spell.
    void problemChosen(const QString &path, const QByteArray &nativePath);

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setupControls();
    void FormCreate();
    struct ProblemFile
    {
        QString folder;
        FileSearch::Entry entry;
    };
    QList<ProblemFile> problemFilesOfAllFolders() const;
    // Measures the file and fills data row `row`; false (with the reason) when it cannot be read.
    bool AddProblemRow(const QString &path, int row, QString &failure);
    bool rememberNativeName(const ProblemFile &file, QSet<QString> &listed);
    void reportUnreadable(QStringList failures);

    QStringList m_problemFolders;
    Dialogs &m_dialogs;
    QHash<QString, QString> m_folders; // shown name -> the folder it is read from
    QHash<QString, QByteArray> m_nativePaths; // shown name -> bytes of the full path
};
