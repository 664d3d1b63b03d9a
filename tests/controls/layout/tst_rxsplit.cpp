#include "controls/layout/RXSplit.h"

#include "controls/edit/RxCombos.h"
#include "tests/support/Trainer.h"

#include <QAccessible>
#include <QComboBox>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

// The splitter between the panes, dragged with the mouse on the real window.
class TestRxSplit final : public QObject
{
    Q_OBJECT
private slots:
    void drag_data();
    void drag();
    void verticalKindResizesFromBottom();
};

void TestRxSplit::drag_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<QString>("ending"); // release, esc or focus (the mouse is lost)
    QTest::addColumn<int>("expectedLeft"); // -1: unchanged; -2: right edge 20 px from the panel's
    QTest::addColumn<bool>("limitCursor");
    QTest::newRow("within limits") << -100 << "release" << 0 << false;
    QTest::newRow("far left stops 20 px from the edge") << -5000 << "release" << 20 << true;
    QTest::newRow("far right stops 20 px from the edge") << 5000 << "release" << -2 << true;
    QTest::newRow("refused moves keep the last allowed line") << -100 << "refused" << 0 << false;
    QTest::newRow("esc restores") << -100 << "esc" << -1 << false;
    QTest::newRow("lost mouse cancels") << -100 << "focus" << -1 << false;
    QTest::newRow("another window taking over cancels") << -100 << "deactivate" << -1 << false;
    QTest::newRow("release elsewhere cancels") << -100 << "buttonless move" << -1 << false;
}

void TestRxSplit::drag()
{
    QFETCH(int, dx);
    QFETCH(QString, ending);
    QFETCH(int, expectedLeft);
    QFETCH(bool, limitCursor);
    Trainer t;
    TMainForm &w = *t.window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    TRxSplitter *s = w.Splitter;
    QCOMPARE(s->kind(), TRxSplitter::FirstWidth);
    QCOMPARE(s->cursor().shape(), Qt::SplitHCursor);
    const int before = w.LeftMemo->width();
    const int panel = w.DoublePanel->width();
    QSignalSpy changed(s, &TRxSplitter::OnPosChanged);
    const auto hintShows = [&w] {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w.FontCombo->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(w.FontCombo, &help);
        return QToolTip::isVisible();
    };
    QVERIFY(hintShows());

    const QPoint press(2, 40);
    QTest::mousePress(s, Qt::LeftButton, {}, press);
    QVERIFY(s->isDragging());
    const QRect splitterInWindow(s->mapTo(&w, QPoint(0, 0)), s->size());
    // The line keeps to the bar's axis however far the mouse wanders across it.
    const QPoint to = press + QPoint(dx, 300);
    QTest::mouseMove(s, to);
    const QRect line = s->dragLineGeometry();
    QCOMPARE(line.top(), splitterInWindow.top());
    QCOMPARE(line.height(), s->height());
    QCOMPARE(line.width(), 2);
    const QRect panelInWindow(w.DoublePanel->mapTo(&w, QPoint(0, 0)), w.DoublePanel->size());
    QVERIFY(panelInWindow.contains(line));
    QCOMPARE(s->cursor().shape() == Qt::ForbiddenCursor, limitCursor);

    QVERIFY(!hintShows()); // no hints while dragging

    if (ending == "release") {
        QTest::mouseRelease(s, Qt::LeftButton, {}, to);
    } else if (ending == "refused") {
        connect(s, &TRxSplitter::OnPosChanging, s,
            [](TRxSplitter *, int, int, bool *allow) { *allow = false; });
        QTest::mouseMove(s, to - QPoint(50, 0));
        QCOMPARE(s->cursor().shape(), Qt::ForbiddenCursor);
        QCOMPARE(s->dragLineGeometry(), line);
        QTest::mouseRelease(s, Qt::LeftButton, {}, to - QPoint(50, 0));
    } else if (ending == "esc") {
        QTest::keyClick(w.RightMemo, Qt::Key_Escape);
    } else if (ending == "deactivate") {
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&w, &deactivate);
    } else if (ending == "focus") {
        w.FontSizeCombo->setFocus();
    } else {
        QMouseEvent move(QEvent::MouseMove, QPointF(to), s->mapToGlobal(QPointF(to)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(s, &move);
    }
    QVERIFY(!s->isDragging());
    QVERIFY(s->dragLineGeometry().isNull());
    QVERIFY(!w.findChild<QWidget *>(QStringLiteral("dragLine")));
    QCOMPARE(s->cursor().shape(), Qt::SplitHCursor);
    QVERIFY(hintShows()); // and back afterwards
    QToolTip::hideText();
    if (expectedLeft == -1) {
        QCOMPARE(w.LeftMemo->width(), before);
        QCOMPARE(changed.count(), 0);
    } else {
        const int left = expectedLeft == 0 ? before + dx : expectedLeft;
        if (expectedLeft == -2)
            QCOMPARE(s->geometry().right() + 1, panel - 20);
        else
            QCOMPARE(w.LeftMemo->width(), left);
        QCOMPARE(s->x(), w.LeftMemo->width());
        QCOMPARE(w.RightMemo->x(), s->geometry().right() + 1);
        QCOMPARE(changed.count(), 1);
    }
    // Screen readers hear the pane's width as the bar's value.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(s);
    QCOMPARE(bar->role(), QAccessible::Splitter);
    QCOMPARE(bar->text(QAccessible::Value), QString::number(w.LeftMemo->width()));
    // The key hook is gone: keys reach the pane again.
    w.RightMemo->setFocus();
    QTest::keyClick(w.RightMemo, Qt::Key_A);
    QCOMPARE(w.RightMemo->toPlainText(), QStringLiteral("a"));
    // Nor does a later Esc move the bar: the drag is over.
    const int settled = w.LeftMemo->width();
    QTest::keyClick(w.RightMemo, Qt::Key_Escape);
    QCOMPARE(w.LeftMemo->width(), settled);
}

// A bar under a bottom pane grows the pane as it moves up; a tiny parent
// never takes the pane below 1 pixel.
void TestRxSplit::verticalKindResizesFromBottom()
{
    QWidget parent;
    auto *layout = new AlignLayout(&parent);
    auto *top = new QWidget(&parent);
    setAlignOf(top, TAlign::alClient);
    auto *bottom = new QWidget(&parent);
    bottom->resize(100, 50);
    setAlignOf(bottom, TAlign::alBottom);
    auto *s = new TRxSplitter(&parent);
    s->setControlFirst(top);
    s->setControlSecond(bottom);
    s->setAlign(TAlign::alBottom);
    QCOMPARE(s->height(), 3);
    layout->addWidget(top);
    layout->addWidget(bottom);
    layout->addWidget(s);
    parent.resize(200, 200);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(s->kind(), TRxSplitter::SecondHeight);
    QCOMPARE(s->cursor().shape(), Qt::SplitVCursor);
    QCOMPARE(s->y(), 200 - 50 - 3);

    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseMove(s, QPoint(400, 1 - 30));
    QCOMPARE(s->dragLineGeometry().left(), 0);
    QCOMPARE(s->dragLineGeometry().width(), 200);
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(400, 1 - 30));
    QCOMPARE(bottom->height(), 80);

    // A bar with less room than its limits and three pixels still leaves 1 pixel.
    parent.resize(200, 4);
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(10, 1));
    QCOMPARE(bottom->height(), 1);
}

QTEST_MAIN(TestRxSplit)
#include "tst_rxsplit.moc"
