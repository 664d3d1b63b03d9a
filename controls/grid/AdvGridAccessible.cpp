#include "controls/grid/AdvGridAccessible.h"

#include "controls/grid/AdvGrid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include <utility>

namespace {

// A cell is known by its place, not its text: sorting moves texts between
// places, and a screen reader asks again.
class CellAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    CellAccessible(TAdvStringGrid *grid, int col, int row)
        : m_grid(grid)
        , m_col(col)
        , m_row(row)
    { }

    TAdvStringGrid *grid() const { return m_grid.data(); }
    int col() const { return m_col; }
    int row() const { return m_row; }

    bool isValid() const override
    {
        return m_grid && m_row < m_grid->RowCount() && m_col < m_grid->ColCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return QString();
        return m_grid->Cells(m_col, m_row);
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect local = m_grid->cellRect(m_col, m_row);
        if (local.isNull())
            return QRect();
        return QRect(m_grid->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override
    {
        return m_row == 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.readOnly = true;
        if (m_grid->cellRect(m_col, m_row).isNull())
            state.offscreen = true;
        if (m_row > 0) {
            state.selectable = true;
            state.focusable = true;
            state.selected = isSelected();
            state.focused = state.selected && m_col == m_grid->Col() && m_grid->hasFocus();
        }
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && m_row > 0)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override { return isValid() && m_row > 0 && m_row == m_grid->Row(); }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_col; }
    int rowIndex() const override { return m_row - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QPointer<TAdvStringGrid> m_grid;
    int m_col;
    int m_row;
};

// The grid as a table. Its children are all cells, header row first, row by
// row; as a table it counts data rows from 0 and describes columns by their headers.
class GridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(TAdvStringGrid *grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    { }

    ~GridAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    TAdvStringGrid *grid() const { return static_cast<TAdvStringGrid *>(widget()); }

    QAccessibleInterface *cell(int col, int row) const
    {
        if (col < 0 || row < 0 || col >= grid()->ColCount() || row >= grid()->RowCount())
            return nullptr;
        const quint64 key = (quint64(quint32(row)) << 32) | quint32(col);
        const auto found = m_cells.constFind(key);
        if (found != m_cells.cend())
            return QAccessible::accessibleInterface(*found);
        auto *cell = new CellAccessible(grid(), col, row);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    int childCount() const override { return grid()->RowCount() * grid()->ColCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const int cols = grid()->ColCount();
        return index >= 0 ? cell(index % cols, index / cols) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *cell = dynamic_cast<const CellAccessible *>(child);
        if (!cell || !cell->isValid() || cell->grid() != grid())
            return -1;
        return cell->row() * grid()->ColCount() + cell->col();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = grid()->cellAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return at.x() >= 0 ? cell(at.x(), at.y()) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (!grid()->hasFocus() || grid()->RowCount() < 2)
            return nullptr;
        return cell(grid()->Col(), grid()->Row());
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        return row >= 0 ? cell(column, row + 1) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        if (selectedRowCount() > 0) {
            for (int col = 0; col < columnCount(); ++col)
                cells.append(cell(col, grid()->Row()));
        }
        return cells;
    }
    QString columnDescription(int column) const override { return grid()->Cells(column, 0); }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return rowCount() > 0 ? 1 : 0; }
    int columnCount() const override { return grid()->ColCount(); }
    int rowCount() const override { return grid()->RowCount() - 1; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        return rowCount() > 0 ? QList<int> { grid()->Row() - 1 } : QList<int> {};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return rowCount() > 0 && row == grid()->Row() - 1;
    }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rowCount())
            return false;
        grid()->setRow(row + 1);
        return true;
    }
    bool selectColumn(int) override { return false; }
    // One row is always the current one.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

private:
    mutable QHash<quint64, QAccessible::Id> m_cells;
};

QList<QAccessibleInterface *> CellAccessible::columnHeaderCells() const
{
    const auto *table = dynamic_cast<GridAccessible *>(parent());
    QAccessibleInterface *header = table ? table->cell(m_col, 0) : nullptr;
    return header ? QList<QAccessibleInterface *> { header } : QList<QAccessibleInterface *> {};
}

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("TAdvStringGrid"))
        return nullptr;
    auto *grid = qobject_cast<TAdvStringGrid *>(object);
    return grid ? new GridAccessible(grid) : nullptr;
}

} // namespace

void installAdvGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void TAdvStringGrid::BeginUpdate()
{
    ++m_updateDepth;
}

void TAdvStringGrid::EndUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    viewport()->update();
    if (std::exchange(m_accessibleResetPending, false))
        notifyAccessibleReset();
}

void TAdvStringGrid::notifyAccessibleReset()
{
    if (!QAccessible::isActive())
        return;
    if (m_updateDepth > 0) {
        m_accessibleResetPending = true;
        return;
    }
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void TAdvStringGrid::notifyAccessibleCell(int col, int row)
{
    if (!QAccessible::isActive())
        return;
    if (m_updateDepth > 0) {
        m_accessibleResetPending = true;
        return;
    }
    QAccessibleEvent event(this, QAccessible::NameChanged);
    event.setChild(row * ColCount() + col);
    QAccessible::updateAccessibility(&event);
}

void TAdvStringGrid::notifyAccessibleSelection()
{
    if (!QAccessible::isActive() || RowCount() < 2)
        return;
    const int child = m_row * ColCount() + m_col;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(child);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(child);
        QAccessible::updateAccessibility(&focus);
    }
}
