#include "dialogs/about/AboutBox.h"

#include "dialogs/about/HyperLabel.h"
#include "dialogs/about/VersionInfo.h"
#include "platform/VersionData.h"
#include "resources/ProgramIcon.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/Trainer.h"

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
QByteArray blockWith(const QString &fileVersion, const QString &productName = QString())
{
    QList<std::pair<QString, QString>> values { { QStringLiteral("FileVersion"), fileVersion } };
    if (!productName.isNull())
        values.append({ QStringLiteral("ProductName"), productName });
    return VersionData::makeBlock(0x0411, 0x03A4, values);
}

QString versionLabelOf(TVersionInfo &info)
{
    return info.versionPart(0) + u'.' + info.versionPart(1) + u'.' + info.versionPart(2)
        + QStringLiteral("(build ") + info.versionPart(3) + u')';
}
} // namespace

class TestAboutBox final : public QObject
{
    Q_OBJECT
private slots:
    void versionValues_data();
    void versionValues();
    void dialogLabels_data();
    void dialogLabels();
    void link_data();
    void link();
    void opensFromMainWindow();
    void linkThatCannotOpenIsTold_data();
    void linkThatCannotOpenIsTold();
};

void TestAboutBox::versionValues_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("expectedVersion"); // empty: creation fails
    QTest::addColumn<QString>("expectedProduct"); // null: the value query fails
    QTest::newRow("this program") << blockWith("0.1.1.20", "Vemi Tapiro") << "0.1.1(build 20)"
                                  << "Vemi Tapiro";
    QTest::newRow("more than four parts stop at the fourth")
        << blockWith("1.2.3.4.5.6") << "1.2.3(build 4)" << QString();
    QTest::newRow("parts keep ten characters, trimmed")
        << blockWith(" 123456789012 . 2 .3.4 ", QStringLiteral("\t Vemi \x01"))
        << "1234567890.2.3(build 4)"
        << "Vemi";
    QTest::newRow("fewer parts leave the rest empty")
        << blockWith("7.8") << "7.8.(build )" << QString();
    QTest::newRow("a zero character ends the value")
        << blockWith("1.2.3.4", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"))
        << "1.2.3(build 4)"
        << "ab";
    QTest::newRow("no version block") << QByteArray() << QString() << QString();
    QTest::newRow("no translation") << QByteArray("x", 1) << QString() << QString();
}

void TestAboutBox::versionValues()
{
    QFETCH(QByteArray, block);
    QFETCH(QString, expectedVersion);
    QFETCH(QString, expectedProduct);
    if (expectedVersion.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(EVersionInfo, TVersionInfo::fromBlock(block));
        return;
    }
    TVersionInfo info = TVersionInfo::fromBlock(block);
    QCOMPARE(info.language(), QStringLiteral("0411"));
    QCOMPARE(info.codePage(), QStringLiteral("03A4"));
    QCOMPARE(versionLabelOf(info), expectedVersion);
    if (expectedProduct.isNull()) {
        try {
            info.ProductName();
            QFAIL("a missing value must raise");
        } catch (const EVersionInfo &error) {
            QCOMPARE(error.message(), QStringLiteral("バージョン情報が取得できません."));
        }
    } else {
        QCOMPARE(info.ProductName(), expectedProduct);
    }
}

void TestAboutBox::dialogLabels_data()
{
    QTest::addColumn<bool>("ownProgram");
    QTest::newRow("the running program carries the version") << true;
    QTest::newRow("a file without version shows the error and design texts") << false;
}

void TestAboutBox::dialogLabels()
{
    QFETCH(bool, ownProgram);
    QTemporaryDir folder;
    const QString file = ownProgram ? QCoreApplication::applicationFilePath()
                                    : folder.filePath(QStringLiteral("vemitrainer"));
    FakeDialogs dialogs;
    RecordingShell shell;
    TAboutBoxForm box(file, dialogs, shell);
    QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(box.size(), QSize(298, 213));
    const QImage icon = box.ProgramIcon->pixmap().toImage();
    if (ownProgram) {
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(box.ProductNameLabel->text(), QStringLiteral("Vemi Tapiro"));
        QCOMPARE(box.VersionLabel->text(), QStringLiteral("0.1.1(build 20)"));
        QCOMPARE(
            box.CopyrightLabel->text(), QStringLiteral("Copyright (C) VemiTrainer developers"));
        QCOMPARE(icon, ProgramIcon::image(32).convertToFormat(icon.format()));
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("バージョン情報が取得できません."));
        QCOMPARE(box.ProductNameLabel->text(), QStringLiteral("Product Name"));
        QCOMPARE(box.VersionLabel->text(), QStringLiteral("VersionLabel"));
        QCOMPARE(box.CopyrightLabel->text(), QStringLiteral("CopyrightLabel"));
        QVERIFY(icon != ProgramIcon::image(32).convertToFormat(icon.format()));
    }
    // The link leads to the guide beside the program either way.
    const QString guide = QFileInfo(file).absolutePath() + QStringLiteral("/guide.html");
    QCOMPARE(QUrl(box.HyperLabel1->text()).toLocalFile(), guide);
}

void TestAboutBox::link_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QUrl>("opened");
    QTest::newRow("local guide") << "file:///opt/vemi/README.html"
                                 << QUrl(QStringLiteral("file:///opt/vemi/README.html"));
    QTest::newRow("bare host means the web page")
        << "www.example.org" << QUrl(QStringLiteral("http://www.example.org"));
}

void TestAboutBox::link()
{
    QFETCH(QString, caption);
    QFETCH(QUrl, opened);
    RecordingShell shell;
    QWidget window;
    auto *label = new THyperLabel(shell, &window);
    label->setText(caption);
    label->resize(200, 20);
    const auto textColor = [label] { return label->palette().color(QPalette::WindowText); };
    QCOMPARE(textColor(), QColor(Qt::blue));
    QVERIFY(label->font().underline());
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(label, &enter);
    QCOMPARE(textColor(), QColor(Qt::red));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    QCOMPARE(textColor(), QColor(Qt::blue));

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shell.opened, QList<QUrl> { opened });
    QVERIFY(window.isVisible());
}

void TestAboutBox::opensFromMainWindow()
{
    Trainer t;
    RecordingShell shell;
    t.window->setShell(shell);
    QVERIFY(!t.window->windowIcon().isNull());
    QString title;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<TAboutBoxForm *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        QTest::mouseClick(box->HyperLabel1, Qt::LeftButton, {}, QPoint(3, 3));
        box->OKButton->click();
    });
    t.window->About1->trigger();
    QCOMPARE(title, QStringLiteral("バージョン情報"));
    // The trainer's program file is a stand-in without version values.
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(shell.opened.size(), 1);
    QCOMPARE(shell.opened[0].toLocalFile(), t.folder.filePath(QStringLiteral("guide.html")));
}

// Where nothing can open the link, a box says so and names the file.
void TestAboutBox::linkThatCannotOpenIsTold_data()
{
    QTest::addColumn<bool>("guideThere");
    QTest::addColumn<QString>("start");
    QTest::newRow("no browser") << true << "使い方を表示できるプログラム";
    QTest::newRow("guide missing") << false << "使い方のファイル";
}

void TestAboutBox::linkThatCannotOpenIsTold()
{
    QFETCH(bool, guideThere);
    QFETCH(QString, start);
    QTemporaryDir folder;
    const QString guide = folder.filePath(QStringLiteral("guide.html"));
    if (guideThere) {
        QFile file(guide);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0);
    }
    FakeDialogs dialogs;
    RecordingShell shell;
    shell.opens = false;
    TAboutBoxForm box(QCoreApplication::applicationFilePath(), dialogs, shell);
    box.setUserGuide(guide);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(dialogs.messages.isEmpty());
    QTest::mouseClick(box.HyperLabel1, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(shell.opened.size(), 1);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].text.startsWith(start), qPrintable(dialogs.messages[0].text));
    QVERIFY(dialogs.messages[0].text.contains(guide));
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
