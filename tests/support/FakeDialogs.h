#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QPrinter>
#include <QQueue>

#include <functional>

// Answers every box and dialog from a script and records what was asked.
class FakeDialogs final : public Dialogs
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    QList<Message> messages;
    QQueue<QMessageBox::StandardButton> answers; // empty: the default button is pressed
    QQueue<QString> fileNames; // empty: the file dialog is cancelled
    QStringList fileDialogFilters;
    QStringList savePresets; // the name each save dialog opened with
    bool printAccepted = false;
    std::function<void(QPrinter &)> choosePrinter; // what the learner picks in the print dialog
    int printDialogs = 0;
    int pageSetupDialogs = 0;
    QList<FileDialogRequest> browseRequests; // each browse dialog as it was asked for

    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon icon, const QString &caption,
        const QString &text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton) override
    {
        messages.append({ icon, caption, text, buttons, defaultButton });
        return answers.isEmpty() ? defaultButton : answers.dequeue();
    }
    QString openFileName(QWidget *, const QString &filter, const QString &) override
    {
        fileDialogFilters << filter;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString saveFileName(
        QWidget *, const QString &filter, const QString &preset, const QString &) override
    {
        fileDialogFilters << filter;
        savePresets << preset;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    bool print(QWidget *, QPrinter &printer) override
    {
        ++printDialogs;
        if (choosePrinter)
            choosePrinter(printer);
        return printAccepted;
    }
    bool pageSetup(QWidget *, QPrinter &) override
    {
        ++pageSetupDialogs;
        return printAccepted;
    }
    QString browseFileName(QWidget *, const FileDialogRequest &request) override
    {
        browseRequests << request;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
};
