#include "app/CaretBlink.h"

#include <QApplication>
#include <QBoxLayout>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {
constexpr int DesktopFlashTime = 100; // a blink every 50 ms keeps the test short
constexpr int Timeout = 300;

// Counts the timer events that reach an edit's text control: its caret blinks.
class BlinkCounter final : public QObject
{
public:
    explicit BlinkCounter(QWidget *edit)
        : m_edit(edit)
    {
        qApp->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && watched->parent() == m_edit)
            ++count;
        return false;
    }

private:
    QWidget *m_edit;
};

// Whether the caret's line is drawn in an empty edit.
bool caretShown(QPlainTextEdit &edit)
{
    const QRect caret = edit.cursorRect();
    const QImage image = edit.viewport()->grab().toImage();
    const QRgb text = edit.palette().color(QPalette::Text).rgb();
    for (int y = caret.top(); y <= caret.bottom(); ++y)
        if (image.pixel(caret.left(), y) == text)
            return true;
    return false;
}
} // namespace

class TestCaretBlink final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void stopsWhenIdleAndStartsOnInput_data();
    void stopsWhenIdleAndStartsOnInput();
    void caretStaysShownWhileStopped();
    void handsBackTheFlashTimeOfTheStop_data();
    void handsBackTheFlashTimeOfTheStop();

private:
    int m_originalFlashTime = 0;
};

void TestCaretBlink::init()
{
    m_originalFlashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(DesktopFlashTime);
}

void TestCaretBlink::cleanup()
{
    QApplication::setCursorFlashTime(m_originalFlashTime);
}

void TestCaretBlink::stopsWhenIdleAndStartsOnInput_data()
{
    QTest::addColumn<bool>("plainEdit");
    QTest::addColumn<QString>("input");
    for (const bool plainEdit : { true, false }) {
        const char *edit = plainEdit ? "pane" : "line edit";
        for (const char *input : { "key", "click", "input method" })
            QTest::addRow("%s, %s", edit, input) << plainEdit << QString::fromLatin1(input);
    }
}

void TestCaretBlink::stopsWhenIdleAndStartsOnInput()
{
    QFETCH(bool, plainEdit);
    QFETCH(QString, input);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QWidget *edit = plainEdit ? static_cast<QWidget *>(new QPlainTextEdit) : new QLineEdit;
    layout->addWidget(edit);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    CaretBlink blink(nullptr, Timeout);
    BlinkCounter counter(edit);
    QTRY_VERIFY(counter.count > 0);

    QTRY_VERIFY_WITH_TIMEOUT(!blink.isBlinking(), Timeout * 10);
    QCOMPARE(QApplication::cursorFlashTime(), 0);
    counter.count = 0;
    QTest::qWait(DesktopFlashTime * 3);
    QCOMPARE(counter.count, 0);

    if (input == QLatin1String("key")) {
        QTest::keyClick(edit, Qt::Key_A);
    } else if (input == QLatin1String("click")) {
        QWidget *target = plainEdit ? static_cast<QPlainTextEdit *>(edit)->viewport() : edit;
        QTest::mouseClick(target, Qt::LeftButton);
    } else {
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("あ"));
        QApplication::sendEvent(edit, &typed);
    }
    QVERIFY(blink.isBlinking());
    QCOMPARE(QApplication::cursorFlashTime(), DesktopFlashTime);
    QTRY_VERIFY(counter.count > 0);
    // The quiet spell starts over from the input.
    QTRY_VERIFY_WITH_TIMEOUT(!blink.isBlinking(), Timeout * 10);
}

void TestCaretBlink::caretStaysShownWhileStopped()
{
    QPlainTextEdit edit;
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&edit));
    CaretBlink blink(nullptr, Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(!blink.isBlinking(), Timeout * 10);
    for (int look = 0; look < 4; ++look) { // across more than a whole blink
        QVERIFY2(caretShown(edit), qPrintable(QString::number(look)));
        QTest::qWait(DesktopFlashTime / 2);
    }
}

void TestCaretBlink::handsBackTheFlashTimeOfTheStop_data()
{
    QTest::addColumn<bool>("endedWhileStopped");
    QTest::newRow("restarted by a key") << false;
    QTest::newRow("ended while stopped") << true;
}

// The desktop's setting may change after start-up, before the caret first stops.
void TestCaretBlink::handsBackTheFlashTimeOfTheStop()
{
    QFETCH(bool, endedWhileStopped);
    constexpr int ChangedFlashTime = DesktopFlashTime * 2;
    QLineEdit edit;
    {
        CaretBlink blink(nullptr, Timeout);
        QApplication::setCursorFlashTime(ChangedFlashTime);
        QTRY_VERIFY_WITH_TIMEOUT(!blink.isBlinking(), Timeout * 10);
        if (!endedWhileStopped) {
            QTest::keyClick(&edit, Qt::Key_A);
            QVERIFY(blink.isBlinking());
        }
    }
    QCOMPARE(QApplication::cursorFlashTime(), ChangedFlashTime);
}

QTEST_MAIN(TestCaretBlink)
#include "tst_caretblink.moc"
