#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// What a browse button asks of the open-file dialog.
struct FileDialogRequest
{
    QString title;
    QString filter; // "description|pattern|description|pattern..."
    int filterIndex = 1; // from 1
    QString initialDir;
    QString fileName; // preselected, may be empty
};

// The program's "description|pattern" pairs as Qt name filters. Linux names are
// case-sensitive, so *.wav also matches *.WAV and *.* means every file.
QStringList qtNameFilters(const QString &filter);

// Every modal box and standard dialog the program shows goes through this
// interface, so tests can answer them without a person at the screen.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
        const QString &caption, const QString &text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton)
        = 0;
    // An empty result means the dialog was cancelled.
    virtual QString openFileName(QWidget *parent, const QString &filter, const QString &preset) = 0;
    virtual QString saveFileName(
        QWidget *parent, const QString &filter, const QString &preset, const QString &defaultSuffix)
        = 0;
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;
    virtual bool pageSetup(QWidget *parent, QPrinter &printer) = 0;
    // The picked path, empty when cancelled. Without an override: openFileName.
    virtual QString browseFileName(QWidget *parent, const FileDialogRequest &request);
};

// The real dialogs, with Japanese button captions.
class QtDialogs final : public Dialogs
{
public:
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
        const QString &caption, const QString &text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &preset) override;
    QString saveFileName(QWidget *parent, const QString &filter, const QString &preset,
        const QString &defaultSuffix) override;
    bool print(QWidget *parent, QPrinter &printer) override;
    bool pageSetup(QWidget *parent, QPrinter &printer) override;
    QString browseFileName(QWidget *parent, const FileDialogRequest &request) override;
};
