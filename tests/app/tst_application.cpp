#include "app/Application.h"

#include "core/Errors.h"
#include "tests/support/FakeDialogs.h"

#include <QFont>
#include <QTest>
#include <QTimer>

namespace {

// Throws from inside event delivery, as a failing command handler would.
class Thrower final : public QObject
{
public:
    std::function<void()> fail;
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            fail();
        return QObject::event(event);
    }
};

FakeDialogs dialogs;

} // namespace

class TestApplication final : public QObject
{
    Q_OBJECT
private slots:
    void escapedExceptionIsShownAndProgramGoesOn_data();
    void escapedExceptionIsShownAndProgramGoesOn();
    void silentAbortShowsNothing();
    void speaksJapanese();
};

void TestApplication::escapedExceptionIsShownAndProgramGoesOn_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full stop added") << "ファイル a.txt は開けません"
                                     << "ファイル a.txt は開けません.";
    QTest::newRow("full stop kept") << "Disk full."
                                    << "Disk full.";
    QTest::newRow("Japanese full stop kept") << "保存できません。"
                                             << "保存できません。";
}

void TestApplication::escapedExceptionIsShownAndProgramGoesOn()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    dialogs.messages.clear();
    Thrower thrower;
    thrower.fail = [&] { throw VemiError(message); };
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, shown);
    QCOMPARE(dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);

    // The event loop still runs afterwards.
    bool ranLater = false;
    QTimer::singleShot(0, [&] { ranLater = true; });
    QTRY_VERIFY(ranLater);
}

void TestApplication::silentAbortShowsNothing()
{
    dialogs.messages.clear();
    Thrower thrower;
    thrower.fail = [] { throw SilentAbort(); };
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestApplication::speaksJapanese()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("VemiTrainer"));
    // The text panes' context menu and the standard dialogs come from Qt's own catalogue.
    const QString copy = QCoreApplication::translate("QWidgetTextControl", "&Copy");
    QVERIFY2(copy.contains(QStringLiteral("コピー")), qPrintable(copy));
    QVERIFY(!QFont::substitutes(QStringLiteral("MS ゴシック")).isEmpty());
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv, dialogs);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
