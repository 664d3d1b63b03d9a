#pragma once

#include <QApplication>

class Dialogs;

// The application object: an exception that escapes an event handler is shown
// in the error box and the program goes on.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv, Dialogs &dialogs);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void loadJapaneseTranslations();
    static void substituteJapaneseFonts();

    Dialogs &m_dialogs;
};
