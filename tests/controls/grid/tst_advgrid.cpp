#include "controls/grid/AdvGrid.h"

#include "core/text/Cp932.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>

using AdvGridSort::CompareLocale;
using AdvGridSort::DateOrder;

Q_DECLARE_METATYPE(DateOrder)

namespace {

constexpr int CountCol = 2;
constexpr ColorValue SelectionRgb = 0x001E140A; // red 10, green 20, blue 30
const QColor Selection(10, 20, 30);
const QColor SelectionInverted(245, 235, 225);

CompareLocale testLocale(QChar decimalSeparator = u'.', DateOrder order = DateOrder::YearMonthDay)
{
    return CompareLocale { decimalSeparator, order, 2024 };
}

QFont testFont()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    return font;
}

// The grid as the problem-open dialog sets it up.
void setUpAsDialog(TAdvStringGrid &grid)
{
    grid.setColCount(4);
    const int widths[] = { 33, 102, 60, 227 };
    for (int col = 0; col < 4; ++col)
        grid.setColWidths(col, widths[col]);
    grid.setDefaultRowHeight(19);
    grid.setFixedRowHeight(19);
    grid.setColumnHeaders({ QStringLiteral("級"), QStringLiteral("ファイル名"),
        QStringLiteral("文字数"), QStringLiteral("先頭部分") });
    grid.setSortColumn(CountCol);
    grid.setCompareLocale(testLocale());
    grid.setFont(testFont());
    grid.setFixedFont(testFont());
    grid.setSelectionColor(SelectionRgb);
    grid.resize(429, 137);
}

void fill(TAdvStringGrid &grid, const QList<QStringList> &rows)
{
    grid.setRowCount(int(rows.size()) + 1);
    for (int row = 1; row <= rows.size(); ++row) {
        for (int col = 0; col < rows[row - 1].size(); ++col)
            grid.setCells(col, row, rows[row - 1][col]);
    }
}

QStringList column(const TAdvStringGrid &grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid.RowCount(); ++row)
        texts.append(grid.Cells(col, row));
    return texts;
}

QStringList rowTexts(const TAdvStringGrid &grid, int row)
{
    QStringList texts;
    for (int col = 0; col < grid.ColCount(); ++col)
        texts.append(grid.Cells(col, row));
    return texts;
}

// The sort the dialog was first written with: a bubble sort after every added row.
void bubbleSortAfterAdding(TAdvStringGrid &grid, int col)
{
    const int sign = grid.SortDirection() == TAdvStringGrid::sdAscending ? 1 : -1;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int row = 1; row + 1 < grid.RowCount(); ++row) {
            if (grid.CompareCells(col, row, row + 1) != sign)
                continue;
            const QStringList upper = rowTexts(grid, row);
            const QStringList lower = rowTexts(grid, row + 1);
            for (int c = 0; c < grid.ColCount(); ++c) {
                grid.setCells(c, row, lower[c]);
                grid.setCells(c, row + 1, upper[c]);
            }
            swapped = true;
        }
    }
}

void clickCell(TAdvStringGrid &grid, int col, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(col, row).center());
}

QImage render(TAdvStringGrid &grid)
{
    return grid.viewport()->grab().toImage();
}

// Pixels in the rectangle that differ from its first pixel: the text's ink.
QRect inkBounds(const QImage &image, const QRect &area)
{
    const QColor background = image.pixelColor(area.topLeft());
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

std::vector<int> indices(int count)
{
    std::vector<int> items(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        items[static_cast<std::size_t>(k)] = k;
    return items;
}

int width(const QFontMetrics &metrics, const QString &text)
{
    return metrics.horizontalAdvance(text);
}

} // namespace

class TestAdvGrid final : public QObject
{
    Q_OBJECT

private slots:
    void cellFormat_data();
    void cellFormat();
    void compareCells_data();
    void compareCells();
    void sortRowsByColumn_data();
    void sortRowsByColumn();
    void sortOnceMatchesSortingAfterEachRow_data();
    void sortOnceMatchesSortingAfterEachRow();
    void tenThousandRowsAddedThenSorted();
    void sortsStayInBoundsAndInBudget();
    void headerClick_data();
    void headerClick();
    void headerClickBreaksTiesOnFollowingColumnsOnly();
    void currentRowFollowsItsDataOnHeaderClick();
    void sortIndicator_data();
    void sortIndicator();
    void shortening_data();
    void shortening();
    void longDoubleByteTextInFirstPartColumn();
    void cellDrawing();
    void focusRectangle_data();
    void focusRectangle();
    void keyboardMovesCurrentRow_data();
    void keyboardMovesCurrentRow();
    void mouseSelects();
    void rowCountAndHeaders();
    void accessibleTable();
};

void TestAdvGrid::cellFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<int>("format");

    const int numeric = int(AdvGridSort::CellFormat::Numeric);
    const int date = int(AdvGridSort::CellFormat::Date);
    const int text = int(AdvGridSort::CellFormat::Text);
    QTest::newRow("empty") << QString() << true << numeric;
    QTest::newRow("integer") << QStringLiteral("1234") << true << numeric;
    QTest::newRow("negative") << QStringLiteral("-12") << true << numeric;
    QTest::newRow("two minus signs") << QStringLiteral("-1-2") << false << text;
    QTest::newRow("decimal") << QStringLiteral("3.25") << true << numeric;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << false << text;
    QTest::newRow("thousands") << QStringLiteral("1,234,567") << true << numeric;
    QTest::newRow("leading separator") << QStringLiteral(",123") << false << text;
    QTest::newRow("separators too close") << QStringLiteral("1,2,3") << false << text;
    QTest::newRow("digits and letter") << QStringLiteral("12a") << false << text;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false << text;
    QTest::newRow("month and day") << QStringLiteral("2/3") << false << date;
    QTest::newRow("two-digit month") << QStringLiteral("12/5") << false << date;
    QTest::newRow("letters round slash") << QStringLiteral("a/b") << false << text;
    QTest::newRow("leading slash") << QStringLiteral("/5") << false << text;
    QTest::newRow("trailing slash") << QStringLiteral("5/") << false << text;
}

void TestAdvGrid::cellFormat()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(int, format);

    QCOMPARE(AdvGridSort::isNumberText(text), number);
    QCOMPARE(int(AdvGridSort::formatOf(text)), format);
}

void TestAdvGrid::compareCells_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QChar>("decimalSeparator");
    QTest::addColumn<DateOrder>("dateOrder");
    QTest::addColumn<int>("expected");

    const QChar point = u'.';
    const DateOrder ymd = DateOrder::YearMonthDay;
    QTest::newRow("numbers, not texts") << "100"
                                        << "90" << point << ymd << 1;
    QTest::newRow("shorter number smaller") << "90"
                                            << "1000" << point << ymd << -1;
    QTest::newRow("equal numbers") << "100"
                                   << "100" << point << ymd << 0;
    QTest::newRow("decimals") << "1.5"
                              << "1.25" << point << ymd << 1;
    QTest::newRow("thousands do not convert") << "1,500"
                                              << "2" << point << ymd << 0;
    QTest::newRow("empty counts as zero") << ""
                                          << "5" << point << ymd << -1;
    QTest::newRow("empty above negative") << ""
                                          << "-3" << point << ymd << 1;
    QTest::newRow("number against 12a") << "5"
                                        << "12a" << point << ymd << 0;
    QTest::newRow("12a decides text") << "12a"
                                      << "100" << point << ymd << 1;
    QTest::newRow("number against word") << "12"
                                         << "abc" << point << ymd << 0;
    const QChar comma = u',';
    QTest::newRow("comma separator") << "1,5"
                                     << "1,25" << comma << ymd << 1;
    QTest::newRow("comma separator integer") << "2"
                                             << "1,5" << comma << ymd << 1;
    QTest::newRow("dates") << "2/3"
                           << "12/5" << point << ymd << -1;
    QTest::newRow("dates reversed") << "12/5"
                                    << "2/3" << point << ymd << 1;
    QTest::newRow("date with year") << "2024/1/5"
                                    << "12/5" << point << ymd << -1;
    QTest::newRow("earlier year") << "2023/12/5"
                                  << "1/5" << point << ymd << -1;
    QTest::newRow("date and time") << "2/3 10:00"
                                   << "2/3 9:30" << point << ymd << 1;
    QTest::newRow("unreadable date is zero") << "2/3"
                                             << "abc" << point << ymd << 1;
    QTest::newRow("month first") << "3/4"
                                 << "4/3" << point << DateOrder::MonthDayYear << -1;
    QTest::newRow("day first") << "3/4"
                               << "4/3" << point << DateOrder::DayMonthYear << 1;
    QTest::newRow("a/b is text") << "a/b"
                                 << "a/c" << point << ymd << -1;
    QTest::newRow("/5 is text") << "/5"
                                << "/4" << point << ymd << 1;
    QTest::newRow("case matters") << "B"
                                  << "a" << point << ymd << -1;
    QTest::newRow("prefix first") << "ab"
                                  << "abc" << point << ymd << -1;
    // Byte order of code page 932, not of UTF-16: half-width katakana (one
    // byte, 0xB1) after hiragana (lead byte 0x82); the wave dash (0x81 0x60)
    // before katakana (0x83 0x41).
    QTest::newRow("half-width after hiragana") << "ｱ"
                                               << "あ" << point << ymd << 1;
    QTest::newRow("wave dash before katakana") << "～"
                                               << "ア" << point << ymd << -1;
}

void TestAdvGrid::compareCells()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QChar, decimalSeparator);
    QFETCH(DateOrder, dateOrder);
    QFETCH(int, expected);

    TAdvStringGrid grid;
    grid.setCompareLocale(testLocale(decimalSeparator, dateOrder));
    fill(grid, { { first }, { second } });
    QCOMPARE(grid.CompareCells(0, 1, 2), expected);
}

void TestAdvGrid::sortRowsByColumn_data()
{
    QTest::addColumn<QStringList>("counts");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("expected"); // the names, column 1

    QTest::newRow("numeric") << QStringList { "100", "90", "1000" } << false
                             << QStringList { "r2", "r1", "r3" };
    QTest::newRow("numeric descending")
        << QStringList { "100", "90", "1000" } << true << QStringList { "r3", "r1", "r2" };
    QTest::newRow("equal counts keep order")
        << QStringList { "500", "120", "120" } << false << QStringList { "r2", "r3", "r1" };
    QTest::newRow("ties either way")
        << QStringList { "5", "3", "5", "3" } << false << QStringList { "r2", "r4", "r1", "r3" };
    QTest::newRow("ties descending")
        << QStringList { "5", "3", "5", "3" } << true << QStringList { "r1", "r3", "r2", "r4" };
}

void TestAdvGrid::sortRowsByColumn()
{
    QFETCH(QStringList, counts);
    QFETCH(bool, descending);
    QFETCH(QStringList, expected);

    TAdvStringGrid grid;
    setUpAsDialog(grid);
    grid.setSortDirection(descending ? TAdvStringGrid::sdDescending : TAdvStringGrid::sdAscending);
    grid.setRowCount(1);
    for (int k = 0; k < counts.size(); ++k)
        grid.appendRow({ QString(), QStringLiteral("r%1").arg(k + 1), counts[k] });
    grid.setRow(2);
    QSignalSpy rowSpy(&grid, &TAdvStringGrid::rowChanged);

    grid.SortRowsByColumn(CountCol);
    QCOMPARE(column(grid, 1), expected);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(rowSpy.count(), 0);
}

void TestAdvGrid::sortOnceMatchesSortingAfterEachRow_data()
{
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("spread");

    QTest::newRow("many ties") << false << 6;
    QTest::newRow("few ties") << false << 1000;
    QTest::newRow("descending") << true << 6;
}

void TestAdvGrid::sortOnceMatchesSortingAfterEachRow()
{
    QFETCH(bool, descending);
    QFETCH(int, spread);

    const auto direction = descending ? TAdvStringGrid::sdDescending : TAdvStringGrid::sdAscending;
    TAdvStringGrid stepwise;
    TAdvStringGrid once;
    for (TAdvStringGrid *grid : { &stepwise, &once }) {
        setUpAsDialog(*grid);
        grid->setSortDirection(direction);
    }
    QRandomGenerator random(7);
    for (int k = 1; k <= 120; ++k) {
        const QString count = QString::number(random.bounded(spread));
        const QString name = QStringLiteral("f%1.txt").arg(k);
        stepwise.setRowCount(k + 1);
        stepwise.setCells(1, k, name);
        stepwise.setCells(CountCol, k, count);
        bubbleSortAfterAdding(stepwise, CountCol);
        once.setRowCount(k + 1);
        once.setCells(1, k, name);
        once.setCells(CountCol, k, count);
    }
    once.SortRowsByColumn(CountCol);
    QCOMPARE(column(once, 1), column(stepwise, 1));
    QCOMPARE(column(once, CountCol), column(stepwise, CountCol));
}

void TestAdvGrid::tenThousandRowsAddedThenSorted()
{
    constexpr int Rows = 10000;
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QRandomGenerator random(42);
    QElapsedTimer timer;
    timer.start();
    for (int k = 1; k <= Rows; ++k) {
        grid.setRowCount(k + 1);
        grid.setCells(0, k, QString::number(random.bounded(1, 6)));
        grid.setCells(1, k, QString::number(k));
        grid.setCells(CountCol, k, QString::number(random.bounded(3000)));
        grid.setCells(3, k, QStringLiteral("先頭の行"));
    }
    grid.SortRowsByColumn(CountCol);
    qInfo("%d rows added and sorted in %lld ms", Rows, timer.elapsed());

    QCOMPARE(grid.RowCount(), Rows + 1);
    QCOMPARE(grid.Row(), 1);
    std::vector<bool> seen(Rows + 1, false);
    for (int row = 1; row <= Rows; ++row) {
        const int order = grid.Cells(1, row).toInt();
        QVERIFY(order >= 1 && order <= Rows && !seen[std::size_t(order)]);
        seen[std::size_t(order)] = true;
        if (row == 1)
            continue;
        const int count = grid.Cells(CountCol, row).toInt();
        const int above = grid.Cells(CountCol, row - 1).toInt();
        QVERIFY2(above <= count, qPrintable(QStringLiteral("row %1").arg(row)));
        if (above == count)
            QVERIFY(grid.Cells(1, row - 1).toInt() < order);
    }
    // The scroll range kept up with the rows without a repaint in between.
    QCOMPARE(grid.verticalScrollBar()->maximum(), Rows - grid.visibleRowCount());
}

void TestAdvGrid::sortsStayInBoundsAndInBudget()
{
    constexpr int Count = 10000;
    QRandomGenerator random(3);
    std::vector<int> values(Count);
    for (int &value : values)
        value = random.bounded(100);

    std::vector<int> order = indices(Count);
    long comparisons = 0;
    AdvGridSort::stableSort(order, [&](int left, int right) {
        ++comparisons;
        return values[std::size_t(left)] > values[std::size_t(right)];
    });
    std::vector<int> reference = indices(Count);
    std::stable_sort(reference.begin(), reference.end(),
        [&](int a, int b) { return values[std::size_t(a)] < values[std::size_t(b)]; });
    QVERIFY(order == reference);
    QVERIFY(comparisons <= long(Count * std::ceil(std::log2(Count))));

    // A comparison that contradicts itself must still end in a permutation.
    const auto contrary = [](int a, int b) { return ((a * 7919) ^ (b * 104729)) % 3 == 0; };
    for (int size : { 2, 3, 17, 1000 }) {
        std::vector<int> merged = indices(size);
        std::vector<int> quick = merged;
        AdvGridSort::stableSort(merged, contrary);
        AdvGridSort::quickSort(quick, contrary);
        for (std::vector<int> *result : { &merged, &quick }) {
            std::sort(result->begin(), result->end());
            for (int k = 0; k < size; ++k)
                QCOMPARE((*result)[std::size_t(k)], k);
        }
    }
}

void TestAdvGrid::headerClick_data()
{
    QTest::addColumn<int>("dataRows");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("names");

    const QList<int> countThenName { CountCol, 1 };
    QTest::newRow("sort column flips") << 3 << QList<int> { CountCol } << CountCol << true
                                       << QStringList { "c.txt", "a.txt", "b.txt" };
    QTest::newRow("flips back") << 3 << QList<int> { CountCol, CountCol } << CountCol << false
                                << QStringList { "b.txt", "a.txt", "c.txt" };
    QTest::newRow("other column ascending")
        << 3 << QList<int> { 1 } << 1 << false << QStringList { "a.txt", "b.txt", "c.txt" };
    QTest::newRow("second click descending")
        << 3 << QList<int> { 1, 1 } << 1 << true << QStringList { "c.txt", "b.txt", "a.txt" };
    QTest::newRow("new column starts ascending")
        << 3 << QList<int> { 1, 1, CountCol } << CountCol << false
        << QStringList { "b.txt", "a.txt", "c.txt" };
    QTest::newRow("one data row: nothing")
        << 1 << QList<int> { 1 } << CountCol << false << QStringList { "a.txt" };
}

void TestAdvGrid::headerClick()
{
    QFETCH(int, dataRows);
    QFETCH(QList<int>, clicks);
    QFETCH(int, sortColumn);
    QFETCH(bool, descending);
    QFETCH(QStringList, names);

    TAdvStringGrid grid;
    setUpAsDialog(grid);
    const QList<QStringList> rows { { "1", "a.txt", "100" }, { "1", "b.txt", "90" },
        { "2", "c.txt", "1000" } };
    fill(grid, rows.mid(0, dataRows));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    for (int col : clicks)
        clickCell(grid, col, 0);
    QCOMPARE(grid.SortColumn(), sortColumn);
    QCOMPARE(grid.SortDirection(),
        descending ? TAdvStringGrid::sdDescending : TAdvStringGrid::sdAscending);
    QCOMPARE(column(grid, 1), names);

    // A press on a data row released over the header sorts nothing.
    const QStringList before = column(grid, 1);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(1, 1).center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(1, 0).center());
    QCOMPARE(grid.SortColumn(), sortColumn);
    QCOMPARE(column(grid, 1), before);
}

void TestAdvGrid::headerClickBreaksTiesOnFollowingColumnsOnly()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    fill(
        grid, { { "z", "same", "2", "x" }, { "y", "same", "1", "x" }, { "x", "other", "0", "x" } });
    grid.sortByHeaderClick(1);
    QCOMPARE(column(grid, 0), (QStringList { "x", "y", "z" }));

    // Rows equal from the sort column on: the quicksort swaps the pair, which
    // it would not if the column to the left ("a" before "b") were compared.
    fill(grid, { { "a", "k", "1", "1" }, { "b", "k", "1", "1" } });
    grid.setSortColumn(0);
    grid.sortByHeaderClick(1);
    QCOMPARE(column(grid, 0), (QStringList { "b", "a" }));
}

void TestAdvGrid::currentRowFollowsItsDataOnHeaderClick()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    fill(grid,
        { { "1", "e.txt", "50" }, { "1", "d.txt", "40" }, { "2", "c.txt", "30" },
            { "2", "b.txt", "20" }, { "3", "a.txt", "10" } });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setRow(2);
    const QStringList selected = rowTexts(grid, 2);
    QSignalSpy rowSpy(&grid, &TAdvStringGrid::rowChanged);

    for (int col : { 1, 1, CountCol, 0 }) {
        clickCell(grid, col, 0);
        QCOMPARE(rowTexts(grid, grid.Row()), selected);
    }
    QVERIFY(rowSpy.count() > 0);
    QCOMPARE(rowSpy.last().at(0).toInt(), grid.Row());
}

void TestAdvGrid::sortIndicator_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("descending");

    QTest::newRow("from the start") << 0 << false;
    QTest::newRow("one click") << 1 << true;
    QTest::newRow("two clicks") << 2 << false;
}

void TestAdvGrid::sortIndicator()
{
    QFETCH(int, clicks);
    QFETCH(bool, descending);

    TAdvStringGrid grid;
    setUpAsDialog(grid);
    fill(grid, { { "1", "a.txt", "10" }, { "1", "b.txt", "20" } });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    for (int k = 0; k < clicks; ++k)
        clickCell(grid, CountCol, 0);

    const QImage image = render(grid);
    const QRect cell = grid.cellRect(CountCol, 0);
    const int textWidth = width(QFontMetrics(grid.FixedFont()), grid.Cells(CountCol, 0));
    const int x = cell.left() + textWidth + 10;
    const int y = cell.top() + cell.height() / 2;
    const QColor light(255, 255, 255);
    const QColor shade(128, 128, 128);
    const int tip = descending ? 4 : -4; // the apex below or above the centre
    QCOMPARE(image.pixelColor(x, y + tip), shade);
    QCOMPARE(image.pixelColor(x, y - tip), descending ? shade : light);
    QCOMPARE(image.pixelColor(x - 4, y - tip), descending ? shade : light);
    QCOMPARE(image.pixelColor(x + 4, y - tip), light);
    QCOMPARE(image.pixelColor(x, y), image.pixelColor(cell.left() + 1, cell.top() + 1 + 8));

    // Other headers carry no indicator.
    const QRect other = grid.cellRect(1, 0);
    const int otherX = other.left() + width(QFontMetrics(grid.FixedFont()), grid.Cells(1, 0)) + 10;
    if (otherX + 4 < other.right())
        QVERIFY(image.pixelColor(otherX, y - 4) != shade);
}

void TestAdvGrid::shortening_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("available");
    QTest::addColumn<bool>("shortened");

    QTest::newRow("fits") << QStringLiteral("short") << 100 << false;
    QTest::newRow("double-byte") << QStringLiteral("日本語の文章をここに書きます") << 100 << true;
    QTest::newRow("mixed") << QStringLiteral("abcあいうｱｲｳ漢字123") << 70 << true;
    QTest::newRow("ampersand kept") << QStringLiteral("A&B&C&D&E&F&G&H") << 40 << true;
    QTest::newRow("outside the basic plane") << QStringLiteral("𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷") << 50 << true;
    QTest::newRow("line break never cut")
        << QStringLiteral("一行目が長い長い\r\n二行目") << 30 << false;
    QTest::newRow("nothing fits") << QStringLiteral("日本語") << 5 << true;
}

void TestAdvGrid::shortening()
{
    QFETCH(QString, text);
    QFETCH(int, available);
    QFETCH(bool, shortened);

    const QFontMetrics metrics(testFont());
    const QString shown = TAdvStringGrid::shortenedText(text, metrics, available);
    if (!shortened) {
        QCOMPARE(shown, text);
        return;
    }
    if (shown.isEmpty()) {
        QVERIFY(width(metrics, text.left(1) + "...") > available);
        return;
    }
    QVERIFY(shown.endsWith(QStringLiteral("...")));
    const QString kept = shown.chopped(3);
    QVERIFY(!kept.isEmpty());
    QVERIFY(text.startsWith(kept));
    QVERIFY(!kept.back().isHighSurrogate());
    QVERIFY(width(metrics, shown) <= available);
    // As long as it can be: one character more would not fit.
    const int next = text.at(kept.size()).isHighSurrogate() ? 2 : 1;
    QVERIFY(width(metrics, text.left(kept.size() + next) + "...") > available);
}

void TestAdvGrid::longDoubleByteTextInFirstPartColumn()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    const QString first
        = QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。");
    fill(grid, { { "3", "neko.txt", "31", first } });

    const QString shown = grid.shownText(3, 1);
    QVERIFY(shown.endsWith(QStringLiteral("...")));
    const QByteArray kept = Cp932::encode(shown.chopped(3));
    QVERIFY(!kept.isEmpty());
    QVERIFY(Cp932::encode(first).startsWith(kept));
    QCOMPARE(Cp932::decode(kept), shown.chopped(3)); // no character cut in half
    QVERIFY(width(QFontMetrics(grid.font()), shown) <= 227 - 2 * TAdvStringGrid::TextInset);
    QCOMPARE(grid.shownText(1, 1), QStringLiteral("neko.txt"));

    // The sort column's header gives up room to its indicator, no other does.
    const int header = width(QFontMetrics(grid.FixedFont()), grid.Cells(CountCol, 0));
    grid.setColWidths(CountCol, header + 2 * TAdvStringGrid::TextInset + 10);
    const QString crowded = grid.shownText(CountCol, 0);
    QVERIFY(crowded != grid.Cells(CountCol, 0));
    QVERIFY(crowded.isEmpty() || crowded.endsWith(QStringLiteral("...")));
    grid.setSortColumn(1);
    QCOMPARE(grid.shownText(CountCol, 0), grid.Cells(CountCol, 0));
}

void TestAdvGrid::cellDrawing()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    fill(grid, { { "1", "a.txt", "123" }, { "1", "abc", "456", "x\r\nx" }, { "2", "", "", "x" } });
    grid.setRowHeights(2, 40);
    grid.resize(429, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QImage image = render(grid);
    const QPalette palette = QApplication::palette();

    const QRect header = grid.cellRect(1, 0);
    QCOMPARE(image.pixel(header.topLeft()), palette.color(QPalette::Light).rgb());
    QCOMPARE(image.pixel(header.bottomRight()), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(header.center().x(), header.bottom() - 1),
        palette.color(QPalette::Button).rgb());
    const QRect selected = grid.cellRect(3, 1);
    QCOMPARE(image.pixel(selected.center()), Selection.rgb());
    const QRect plain = grid.cellRect(3, 3);
    QCOMPARE(
        image.pixel(plain.right() - 1, plain.center().y()), palette.color(QPalette::Base).rgb());

    // Numbers hug the right inset, texts the left one, both 2 pixels in.
    const QRect number = inkBounds(image, grid.cellRect(CountCol, 2));
    const QRect word = inkBounds(image, grid.cellRect(1, 2));
    QVERIFY(!number.isEmpty() && !word.isEmpty());
    QVERIFY(number.right() <= grid.cellRect(CountCol, 2).right() - 2);
    QVERIFY(number.right() >= grid.cellRect(CountCol, 2).right() - 4);
    QVERIFY(word.left() >= grid.cellRect(1, 2).left() + 2);
    QVERIFY(word.left() <= grid.cellRect(1, 2).left() + 4);
    QVERIFY(word.top() >= grid.cellRect(1, 2).top() + 2);

    // A CR LF starts a second line below the first.
    const QRect twoLines = inkBounds(image, grid.cellRect(3, 2));
    const QRect oneLine = inkBounds(image, grid.cellRect(3, 3));
    QVERIFY(twoLines.height() >= oneLine.height() + QFontMetrics(grid.font()).lineSpacing() - 1);
}

void TestAdvGrid::focusRectangle_data()
{
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("hideFocusRect");
    QTest::addColumn<bool>("sharedEdgeInverted");
    QTest::addColumn<bool>("cellEdgeInverted");
    QTest::addColumn<bool>("rowEdgeInverted");

    QTest::newRow("rectangles cancel") << true << true << false << true << true;
    QTest::newRow("row rectangle only") << true << false << true << false << true;
    QTest::newRow("no focus") << false << true << false << false << false;
}

void TestAdvGrid::focusRectangle()
{
    QFETCH(bool, focused);
    QFETCH(bool, hideFocusRect);
    QFETCH(bool, sharedEdgeInverted);
    QFETCH(bool, cellEdgeInverted);
    QFETCH(bool, rowEdgeInverted);

    QWidget window;
    window.resize(429, 200);
    TAdvStringGrid grid(&window);
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setGeometry(0, 150, 50, 20);
    setUpAsDialog(grid);
    grid.setHideFocusRect(hideFocusRect);
    fill(grid, { { "", "", "" }, { "", "", "" } });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    (focused ? static_cast<QWidget &>(grid) : other).setFocus();
    QTRY_COMPARE(grid.hasFocus(), focused);

    const QImage image = render(grid);
    const QRect first = grid.cellRect(0, 1);
    const QRect second = grid.cellRect(1, 1);
    // Points on the dot pattern, where x + y is even.
    const auto at = [&](int x, int y) {
        Q_ASSERT((x + y) % 2 == 0);
        return image.pixelColor(x, y);
    };
    const int y = first.top() + ((first.left() + first.top()) % 2 == 0 ? 2 : 1);
    QCOMPARE(at(first.left(), y), sharedEdgeInverted ? SelectionInverted : Selection);
    const int rightY = (first.right() + y) % 2 == 0 ? y : y + 1;
    QCOMPARE(at(first.right(), rightY), cellEdgeInverted ? SelectionInverted : Selection);
    const int topX = second.left() + ((second.left() + second.top()) % 2 == 0 ? 2 : 1);
    QCOMPARE(at(topX, second.top()), rowEdgeInverted ? SelectionInverted : Selection);
}

void TestAdvGrid::keyboardMovesCurrentRow_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row");

    QTest::newRow("down") << QList<int> { Qt::Key_Down, Qt::Key_Down } << 3;
    QTest::newRow("up stops at first") << QList<int> { Qt::Key_Down, Qt::Key_Up, Qt::Key_Up } << 1;
    QTest::newRow("end") << QList<int> { Qt::Key_End } << 40;
    QTest::newRow("down stops at last") << QList<int> { Qt::Key_End, Qt::Key_Down } << 40;
    QTest::newRow("home") << QList<int> { Qt::Key_End, Qt::Key_Home } << 1;
    QTest::newRow("page down") << QList<int> { Qt::Key_PageDown } << -1; // one screen
    QTest::newRow("page up") << QList<int> { Qt::Key_End, Qt::Key_PageUp } << -2;
    QTest::newRow("enter does nothing") << QList<int> { Qt::Key_Down, Qt::Key_Return } << 2;
}

void TestAdvGrid::keyboardMovesCurrentRow()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, row);

    TAdvStringGrid grid;
    setUpAsDialog(grid);
    grid.setRowCount(1);
    for (int k = 1; k <= 40; ++k)
        grid.appendRow({ QString(), QString::number(k) });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const int page = grid.visibleRowCount();
    QVERIFY(page >= 2);
    if (row == -1)
        row = 1 + page;
    else if (row == -2)
        row = 40 - page;

    for (int key : keys)
        QTest::keyClick(&grid, Qt::Key(key));
    QCOMPARE(grid.Row(), row);
    // The current row is on the screen in full.
    const QRect shown = grid.rowRect(grid.Row());
    QVERIFY(!shown.isNull());
    QVERIFY(shown.bottom() < grid.viewport()->height());
}

void TestAdvGrid::mouseSelects()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    grid.setColWidths(3, 100); // leaves room right of the last column
    fill(grid, { { "1", "a" }, { "2", "b" }, { "3", "c" } });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy rows(&grid, &TAdvStringGrid::rowChanged);
    QSignalSpy clicks(&grid, &TAdvStringGrid::cellClicked);
    QSignalSpy doubleClicks(&grid, &TAdvStringGrid::cellDoubleClicked);

    clickCell(grid, 1, 3);
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(rows.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.last(), (QList<QVariant> { 1, 3 }));

    // Below the last row and right of the last column nothing is hit.
    const QRect last = grid.rowRect(3);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(10, last.bottom() + 10));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(last.right() + 2, 30));
    QCOMPARE(grid.Row(), 3);

    // Dragging carries the selection along.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, 1).center());
    QMouseEvent move(QEvent::MouseMove, grid.cellRect(0, 2).center(),
        grid.viewport()->mapToGlobal(grid.cellRect(0, 2).center()), Qt::NoButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QCOMPARE(grid.Row(), 2);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, 2).center());

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(2, 1).center());
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(doubleClicks.count(), 1);
    QCOMPARE(doubleClicks.last(), (QList<QVariant> { 2, 1 }));
}

void TestAdvGrid::rowCountAndHeaders()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    QCOMPARE(grid.RowCount(), 2);
    QCOMPARE(grid.Row(), 1);
    fill(grid, { { "a" }, { "b" }, { "c" }, { "d" } });
    grid.setRow(4);

    QSignalSpy rows(&grid, &TAdvStringGrid::rowChanged);
    grid.setRowCount(3);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(rows.count(), 1);
    grid.setRowCount(5);
    QCOMPARE(column(grid, 0), (QStringList { "a", "b", "", "" }));
    grid.setRowCount(0);
    QCOMPARE(grid.RowCount(), 1);
    QCOMPARE(grid.Cells(0, 0), QStringLiteral("級"));
    grid.setCells(0, 5, QStringLiteral("lost"));
    QCOMPARE(grid.Cells(0, 5), QString());

    grid.setColumnHeaders({ "one", "two", "three", "four", "five" });
    QCOMPARE(rowTexts(grid, 0), (QStringList { "one", "two", "three", "four" }));
    grid.setColumnHeaders({ "only" });
    QCOMPARE(rowTexts(grid, 0), (QStringList { "only", "", "", "" }));
}

void TestAdvGrid::accessibleTable()
{
    TAdvStringGrid grid;
    setUpAsDialog(grid);
    fill(grid, { { "1", "a.txt", "10" }, { "2", "b.txt", "20" } });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&grid);
    QVERIFY(table);
    QCOMPARE(table->role(), QAccessible::Table);
    QAccessibleTableInterface *cells = table->tableInterface();
    QVERIFY(cells);
    QCOMPARE(cells->rowCount(), 2);
    QCOMPARE(cells->columnCount(), 4);
    QCOMPARE(cells->columnDescription(CountCol), QStringLiteral("文字数"));
    QCOMPARE(cells->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("b.txt"));
    QCOMPARE(table->child(1)->role(), QAccessible::ColumnHeader);
    QCOMPARE(cells->selectedRows(), QList<int> { 0 });

    grid.setRow(2);
    QCOMPARE(cells->selectedRows(), QList<int> { 1 });
    QVERIFY(cells->cellAt(1, 0)->state().selected);
    QVERIFY(cells->selectRow(0));
    QCOMPARE(grid.Row(), 1);

    // Cells are places: after a sort the same place reads the new text.
    QAccessibleInterface *top = cells->cellAt(0, 1);
    grid.sortByHeaderClick(CountCol);
    QCOMPARE(top->text(QAccessible::Name), QStringLiteral("b.txt"));
    QCOMPARE(table->indexOfChild(top), 1 * 4 + 1);
}

QTEST_MAIN(TestAdvGrid)
#include "tst_advgrid.moc"
