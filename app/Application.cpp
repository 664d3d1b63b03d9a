#include "app/Application.h"

#include "app/CaretBlink.h"
#include "controls/edit/RxCombos.h"
#include "core/Errors.h"
#include "platform/ErrorReport.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Application::Application(int &argc, char **argv, Dialogs &dialogs)
    : QApplication(argc, argv)
    , m_dialogs(dialogs)
{
    setApplicationName(QString::fromUtf8(ApplicationTitle));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    loadJapaneseTranslations();
    substituteJapaneseFonts();
    new CaretBlink(this); // an idle trainer stays asleep
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort &) {
    } catch (const VemiError &error) {
        showErrorBox(m_dialogs, activeWindow(), error.message());
    } catch (const std::exception &error) {
        showErrorBox(m_dialogs, activeWindow(), QString::fromLocal8Bit(error.what()));
    }
    return false;
}

// The standard dialogs and the panes' context menus speak Japanese whatever the desktop's locale.
void Application::loadJapaneseTranslations()
{
    auto *translator = new QTranslator(this);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qt_ja"), folder)
        || translator->load(QStringLiteral("qtbase_ja"), folder))
        installTranslator(translator);
}

// Settings files name the classic Windows Japanese fonts; draw them with the installed ones.
void Application::substituteJapaneseFonts()
{
    const QStringList gothic = { QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP") };
    const QStringList proportional = { QStringLiteral("IPAPGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic") };
    TFontComboBox::substitute(QStringLiteral("MS ゴシック"), gothic);
    TFontComboBox::substitute(QStringLiteral("ＭＳ ゴシック"), gothic);
    TFontComboBox::substitute(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
}
