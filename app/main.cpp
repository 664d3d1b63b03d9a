#include "app/Main.h"
#include "app/Application.h"
#include "controls/edit/RxCombos.h"
#include "platform/Clock.h"
#include "platform/DataLayout.h"
#include "platform/Dialogs.h"
#include "platform/LazySoundPlayer.h"
#include "platform/ProgramPath.h"
#include "platform/SoundModule.h"
#include "platform/TerminationSignals.h"
#include "resources/ProgramIcon.h"

int main(int argc, char *argv[])
{
    QtDialogs dialogs;
    Application app(argc, argv, dialogs);
    app.setWindowIcon(ProgramIcon::icon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vemitrainer.VemiTrainer"));
    SteadyClock clock;
    const QString programFile = ProgramPath::programFile();
    const DataLayout layout = DataLayout::forProgram(programFile);
    layout.makeUserFolders();
    // The sound system waits for the first sound and the font list for the
    // window to be up: the window comes up sooner and smaller.
    LazySoundPlayer sound([&] {
        return SoundModule::load(
            SoundModule::folder(ProgramPath::folderOf(programFile), layout.isPortable()));
    });
    TFontComboBox::setDefaultListing(TFontComboBox::ListAfterFirstPaint);
    const Services services { clock, sound, dialogs, programFile };
    Settings settings;
    QStringList scores;

    TMainForm mainForm(services, settings, scores);
    mainForm.setDataLayout(layout);
    // The scores must survive the end of the desktop session as they survive a normal close.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &mainForm, &TMainForm::commitSession);
    TerminationSignals terminationSignals;
    bool terminated = false;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &mainForm, [&] {
        mainForm.saveSettingsForSessionEnd();
        terminated = true;
        QCoreApplication::exit(0); // no close question: nobody is left to answer it
    });
    mainForm.showMaximized();
    // A signal taken while a start-up error box was up ended only the box's own
    // loop: the main loop, not yet running, would never hear of it.
    return terminated ? 0 : app.exec();
}
