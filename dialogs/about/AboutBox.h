#pragma once

#include <QDialog>

class Dialogs;
class QFrame;
class QLabel;
class QPushButton;
class Shell;
class THyperLabel;

// The version dialog: product name, version, copyright and icon read from
// the program file, and a link to the bundled user guide.
class TAboutBoxForm : public QDialog
{
    Q_OBJECT
public:
    TAboutBoxForm(
        const QString &programFile, Dialogs &dialogs, Shell &shell, QWidget *parent = nullptr);

    // The user guide beside the program, as a local file address.
    static QString userGuideAddress(const QString &programFile);
    // Links to the guide at guideFile instead, where an installed program keeps it.
    void setUserGuide(const QString &guideFile);

    QFrame *Panel1 = nullptr; // the sunken frame round the icon and the texts
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductNameLabel = nullptr;
    QLabel *VersionLabel = nullptr;
    QLabel *CopyrightLabel = nullptr;
    THyperLabel *HyperLabel1 = nullptr; // the link to the user guide
    QPushButton *OKButton = nullptr;

private:
    void setupControls(Shell &shell);
    void FormCreate(const QString &programFile, Dialogs &dialogs);
};
