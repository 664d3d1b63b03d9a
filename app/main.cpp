#include "Main.h"
#include "Application.h"
#include "Clock.h"
#include "Dialogs.h"
#include "ProgramIcon.h"
#include "ProgramPath.h"
#include "QtSoundPlayer.h"
#include "TerminationSignals.h"

int main(int argc, char *argv[])
{
    QtDialogs dialogs;
    Application app(argc, argv, dialogs);
    app.setWindowIcon(ProgramIcon::icon());
    SteadyClock clock;
    QtSoundPlayer sound;
    const Services services { clock, sound, dialogs, ProgramPath::programFile() };
    Settings settings;
    QStringList scores;

    TMainForm mainForm(services, settings, scores);
    // The scores must survive the end of the desktop session as they survive a normal close.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &mainForm, &TMainForm::commitSession);
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &mainForm, [&] {
        mainForm.saveSettingsForSessionEnd();
        QCoreApplication::exit(0); // no close question: nobody is left to answer it
    });
    mainForm.showMaximized();
    return app.exec();
}
