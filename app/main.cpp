#include "Application.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Main.h"
#include "ProgramPath.h"
#include "QtSoundPlayer.h"

int main(int argc, char *argv[])
{
    QtDialogs dialogs;
    Application app(argc, argv, dialogs);
    SteadyClock clock;
    QtSoundPlayer sound;
    const Services services { clock, sound, dialogs, ProgramPath::programFile() };
    Settings settings;
    QStringList scores;

    TMainForm mainForm(services, settings, scores);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainForm,
                     &TMainForm::saveSettingsForSessionEnd);
    mainForm.showMaximized();
    return app.exec();
}
