#include "controls/grid/AdvGrid.h"

#include "controls/grid/AdvGridAccessible.h"
#include "controls/layout/FormFont.h"

#include <QScrollBar>

#include <algorithm>
#include <numeric>

namespace {

constexpr int DefaultColCount = 5;
constexpr int MinimumRowHeight = 1;

std::vector<int> identityOrder(int count)
{
    std::vector<int> order(std::size_t(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

bool isIdentity(const std::vector<int> &order)
{
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] != int(k))
            return false;
    }
    return true;
}

} // namespace

TAdvStringGrid::TAdvStringGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_fixedFont(FormFont::font())
    , m_locale(AdvGridSort::CompareLocale::system())
{
    installAdvGridAccessibility();
    m_colWidths.assign(DefaultColCount, m_defaultColWidth);
    m_rows.resize(2, GridRow { QStringList(DefaultColCount), m_defaultRowHeight });
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

TAdvStringGrid::~TAdvStringGrid() = default;

QString TAdvStringGrid::Cells(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return QString();
    return m_rows[std::size_t(row)].cells.at(col);
}

void TAdvStringGrid::setCells(int col, int row, const QString &text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return;
    QString &cell = m_rows[std::size_t(row)].cells[col];
    if (cell == text)
        return;
    cell = text;
    viewport()->update();
    notifyAccessibleCell(col, row);
}

int TAdvStringGrid::appendRow(const QStringList &cells)
{
    GridRow row { cells, m_defaultRowHeight };
    row.cells.resize(ColCount());
    m_rows.push_back(std::move(row));
    rowsChanged();
    return RowCount() - 1;
}

void TAdvStringGrid::setColCount(int count)
{
    count = std::max(1, count);
    if (count == ColCount())
        return;
    m_colWidths.resize(std::size_t(count), m_defaultColWidth);
    for (GridRow &row : m_rows)
        row.cells.resize(count);
    rowsChanged();
}

void TAdvStringGrid::setRowCount(int count)
{
    count = std::max(1, count);
    if (count == RowCount())
        return;
    if (count > RowCount()) {
        while (RowCount() < count)
            m_rows.push_back(GridRow { QStringList(ColCount()), m_defaultRowHeight });
    } else {
        m_rows.resize(std::size_t(count));
    }
    const int lastRow = std::max(1, count - 1);
    if (m_row > lastRow) {
        m_row = lastRow;
        emit rowChanged(m_row);
    }
    rowsChanged();
}

void TAdvStringGrid::setRow(int row)
{
    if (RowCount() < 2)
        return;
    row = std::clamp(row, 1, RowCount() - 1);
    ensureRowVisible(row);
    if (row == m_row)
        return;
    m_row = row;
    viewport()->update();
    notifyAccessibleSelection();
    emit rowChanged(m_row);
}

int TAdvStringGrid::TopRow() const
{
    return verticalScrollBar()->value() + 1;
}

void TAdvStringGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(row - 1);
}

int TAdvStringGrid::ColWidths(int col) const
{
    return col >= 0 && col < ColCount() ? m_colWidths[std::size_t(col)] : 0;
}

int TAdvStringGrid::RowHeights(int row) const
{
    return row >= 0 && row < RowCount() ? m_rows[std::size_t(row)].height : 0;
}

void TAdvStringGrid::setColWidths(int col, int width)
{
    width = std::max(0, width);
    if (col < 0 || col >= ColCount() || m_colWidths[std::size_t(col)] == width)
        return;
    m_colWidths[std::size_t(col)] = width;
    updateGeometry();
    viewport()->update();
}

void TAdvStringGrid::setRowHeights(int row, int height)
{
    height = std::max(MinimumRowHeight, height);
    if (row < 0 || row >= RowCount() || m_rows[std::size_t(row)].height == height)
        return;
    m_rows[std::size_t(row)].height = height;
    updateScrollBars();
    viewport()->update();
}

void TAdvStringGrid::setDefaultColWidth(int width)
{
    width = std::max(0, width);
    if (width == m_defaultColWidth)
        return;
    m_defaultColWidth = width;
    std::fill(m_colWidths.begin(), m_colWidths.end(), width);
    updateGeometry();
    viewport()->update();
}

void TAdvStringGrid::setDefaultRowHeight(int height)
{
    height = std::max(MinimumRowHeight, height);
    if (height == m_defaultRowHeight)
        return;
    m_defaultRowHeight = height;
    for (std::size_t row = 1; row < m_rows.size(); ++row)
        m_rows[row].height = height;
    updateScrollBars();
    updateGeometry();
    viewport()->update();
}

void TAdvStringGrid::setFixedRowHeight(int height)
{
    setRowHeights(0, height);
}

void TAdvStringGrid::setColumnHeaders(const QStringList &headers)
{
    m_columnHeaders = headers;
    QStringList &header = m_rows.front().cells;
    for (int col = 0; col < ColCount(); ++col)
        header[col] = col < headers.size() ? headers.at(col) : QString();
    viewport()->update();
    notifyAccessibleReset();
}

void TAdvStringGrid::setSortColumn(int col)
{
    if (col == m_sortColumn)
        return;
    m_sortColumn = col;
    viewport()->update();
    emit sortChanged();
}

void TAdvStringGrid::setSortDirection(TSortDirection direction)
{
    if (direction == m_sortDirection)
        return;
    m_sortDirection = direction;
    viewport()->update();
    emit sortChanged();
}

void TAdvStringGrid::setSortFull(bool value)
{
    setLook(m_sortFull, value);
}

void TAdvStringGrid::setSortAutoFormat(bool value)
{
    setLook(m_sortAutoFormat, value);
}

void TAdvStringGrid::setSortShow(bool value)
{
    setLook(m_sortShow, value);
}

void TAdvStringGrid::setAutoNumAlign(bool value)
{
    setLook(m_autoNumAlign, value);
}

void TAdvStringGrid::setEnhTextSize(bool value)
{
    setLook(m_enhTextSize, value);
}

void TAdvStringGrid::setMultilinecells(bool value)
{
    setLook(m_multilineCells, value);
}

void TAdvStringGrid::setVAlignment(TVAlignment value)
{
    setLook(m_vAlignment, value);
}

void TAdvStringGrid::setSelectionColor(ColorValue value)
{
    setLook(m_selectionColor, value);
}

void TAdvStringGrid::setSelectionTextColor(ColorValue value)
{
    setLook(m_selectionTextColor, value);
}

void TAdvStringGrid::setShowSelection(bool value)
{
    setLook(m_showSelection, value);
}

void TAdvStringGrid::setHideFocusRect(bool value)
{
    setLook(m_hideFocusRect, value);
}

void TAdvStringGrid::setFixedFont(const QFont &value)
{
    setLook(m_fixedFont, value);
}

void TAdvStringGrid::setCompareLocale(const AdvGridSort::CompareLocale &locale)
{
    m_locale = locale;
}

int TAdvStringGrid::CompareCells(int col, int row1, int row2) const
{
    return AdvGridSort::compareTexts(
        Cells(col, row1), Cells(col, row2), m_locale, m_sortAutoFormat);
}

std::vector<AdvGridSort::CellKey> TAdvStringGrid::columnKeys(int col) const
{
    std::vector<AdvGridSort::CellKey> keys;
    keys.reserve(m_rows.size() - 1);
    for (int row = 1; row < RowCount(); ++row)
        keys.push_back(AdvGridSort::makeKey(Cells(col, row), m_locale, m_sortAutoFormat));
    return keys;
}

// order[k] names the data row (counted from 0) that comes to stand k-th.
void TAdvStringGrid::applyOrder(const std::vector<int> &order)
{
    std::vector<GridRow> sorted;
    sorted.reserve(m_rows.size());
    sorted.push_back(std::move(m_rows.front()));
    for (int from : order)
        sorted.push_back(std::move(m_rows[std::size_t(from) + 1]));
    m_rows.swap(sorted);
    viewport()->update();
    notifyAccessibleReset();
}

void TAdvStringGrid::SortRowsByColumn(int col)
{
    if (RowCount() < 3 || col < 0 || col >= ColCount())
        return;
    const std::vector<AdvGridSort::CellKey> keys = columnKeys(col);
    const int sign = m_sortDirection == sdAscending ? 1 : -1;
    std::vector<int> order = identityOrder(RowCount() - 1);
    AdvGridSort::stableSort(order, [&](int left, int right) {
        return AdvGridSort::compareKeys(keys[std::size_t(left)], keys[std::size_t(right)]) == sign;
    });
    if (!isIdentity(order))
        applyOrder(order);
}

void TAdvStringGrid::sortByHeaderClick(int col)
{
    if (!m_sortShow || RowCount() < 3 || col < 0 || col >= ColCount())
        return;
    if (col != m_sortColumn) {
        m_sortColumn = col;
        m_sortDirection = sdAscending;
    } else {
        m_sortDirection = m_sortDirection == sdAscending ? sdDescending : sdAscending;
    }

    // Columns left of the sort column never break a tie.
    std::vector<std::vector<AdvGridSort::CellKey>> keys;
    const int lastCol = m_sortFull ? ColCount() - 1 : m_sortColumn;
    for (int c = m_sortColumn; c <= lastCol; ++c)
        keys.push_back(columnKeys(c));
    const int sign = m_sortDirection == sdAscending ? 1 : -1;
    std::vector<int> order = identityOrder(RowCount() - 1);
    AdvGridSort::quickSort(order, [&](int a, int b) {
        for (const auto &column : keys) {
            const int result
                = AdvGridSort::compareKeys(column[std::size_t(a)], column[std::size_t(b)]);
            if (result != 0)
                return result == sign;
        }
        return false;
    });

    const int currentData = m_row - 1;
    const int newRow = int(std::find(order.begin(), order.end(), currentData) - order.begin()) + 1;
    applyOrder(order);
    emit sortChanged();
    setRow(newRow);
}
