#include "Main.h"
#include "Application.h"
#include "Clock.h"
#include "DataLayout.h"
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
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vemitrainer.VemiTrainer"));
    SteadyClock clock;
    QtSoundPlayer sound;
    const Services services { clock, sound, dialogs, ProgramPath::programFile() };
    Settings settings;
    QStringList scores;

    TMainForm mainForm(services, settings, scores);
    const DataLayout layout = DataLayout::forProgram(services.programFile);
    layout.makeUserFolders();
    mainForm.setDataLayout(layout);
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
