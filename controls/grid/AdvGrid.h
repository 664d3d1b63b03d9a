#pragma once

#include "core/grid/AdvGridSort.h"
#include "core/settings/ColorNames.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QStringList>

#include <vector>

class QFontMetrics;

// A grid of text cells under one header row, with whole-row selection and
// sorting by a column; the problem-open dialog lists the practice texts in it.
// Rows scroll by whole rows under the header; there is no horizontal scrolling.
class TAdvStringGrid : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE setColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE setRowCount)
    Q_PROPERTY(int Row READ Row WRITE setRow NOTIFY rowChanged)
    Q_PROPERTY(int Col READ Col)
    Q_PROPERTY(int TopRow READ TopRow WRITE setTopRow)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE setDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE setDefaultRowHeight)
    Q_PROPERTY(int FixedRowHeight READ FixedRowHeight WRITE setFixedRowHeight)
    Q_PROPERTY(QStringList ColumnHeaders READ ColumnHeaders WRITE setColumnHeaders)
    Q_PROPERTY(int SortColumn READ SortColumn WRITE setSortColumn NOTIFY sortChanged)
    Q_PROPERTY(
        TSortDirection SortDirection READ SortDirection WRITE setSortDirection NOTIFY sortChanged)
    Q_PROPERTY(bool SortFull READ SortFull WRITE setSortFull)
    Q_PROPERTY(bool SortAutoFormat READ SortAutoFormat WRITE setSortAutoFormat)
    Q_PROPERTY(bool SortShow READ SortShow WRITE setSortShow)
    Q_PROPERTY(bool AutoNumAlign READ AutoNumAlign WRITE setAutoNumAlign)
    Q_PROPERTY(bool EnhTextSize READ EnhTextSize WRITE setEnhTextSize)
    Q_PROPERTY(bool Multilinecells READ Multilinecells WRITE setMultilinecells)
    Q_PROPERTY(TVAlignment VAlignment READ VAlignment WRITE setVAlignment)
    Q_PROPERTY(quint32 SelectionColor READ SelectionColor WRITE setSelectionColor)
    Q_PROPERTY(quint32 SelectionTextColor READ SelectionTextColor WRITE setSelectionTextColor)
    Q_PROPERTY(bool ShowSelection READ ShowSelection WRITE setShowSelection)
    Q_PROPERTY(bool HideFocusRect READ HideFocusRect WRITE setHideFocusRect)
    Q_PROPERTY(QFont FixedFont READ FixedFont WRITE setFixedFont)

public:
    enum TSortDirection { sdAscending, sdDescending };
    Q_ENUM(TSortDirection)
    enum TVAlignment { vtaCenter, vtaTop, vtaBottom };
    Q_ENUM(TVAlignment)

    // The indicator's room beside the sort column's header text.
    static constexpr int SortIndicatorRoom = 14;
    static constexpr int TextInset = 2;

    explicit TAdvStringGrid(QWidget *parent = nullptr);
    ~TAdvStringGrid() override;

    // Cells by column and row, row 0 being the header. Cells outside the grid
    // read as empty, and writes to them are dropped.
    QString Cells(int col, int row) const;
    int ColCount() const { return int(m_colWidths.size()); }
    int RowCount() const { return int(m_rows.size()); }
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    int TopRow() const;
    int ColWidths(int col) const;
    int RowHeights(int row) const;
    int DefaultColWidth() const { return m_defaultColWidth; }
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    int FixedRowHeight() const { return RowHeights(0); }
    QStringList ColumnHeaders() const { return m_columnHeaders; }
    int SortColumn() const { return m_sortColumn; }
    TSortDirection SortDirection() const { return m_sortDirection; }
    bool SortFull() const { return m_sortFull; }
    bool SortAutoFormat() const { return m_sortAutoFormat; }
    bool SortShow() const { return m_sortShow; }
    bool AutoNumAlign() const { return m_autoNumAlign; }
    bool EnhTextSize() const { return m_enhTextSize; }
    bool Multilinecells() const { return m_multilineCells; }
    TVAlignment VAlignment() const { return m_vAlignment; }
    ColorValue SelectionColor() const { return m_selectionColor; }
    ColorValue SelectionTextColor() const { return m_selectionTextColor; }
    bool ShowSelection() const { return m_showSelection; }
    bool HideFocusRect() const { return m_hideFocusRect; }
    QFont FixedFont() const { return m_fixedFont; }
    AdvGridSort::CompareLocale compareLocale() const { return m_locale; }

    void setCells(int col, int row, const QString &text);
    void setColCount(int count);
    // Growing adds empty rows at the end, shrinking drops rows from the end;
    // the header row always stays. Adding a row costs no relayout.
    void setRowCount(int count);
    void setRow(int row);
    void setTopRow(int row);
    void setColWidths(int col, int width);
    void setRowHeights(int row, int height);
    void setDefaultColWidth(int width);
    // Applies to every data row, as the rows are all of one height.
    void setDefaultRowHeight(int height);
    void setFixedRowHeight(int height);
    void setColumnHeaders(const QStringList &headers);
    void setSortColumn(int col);
    void setSortDirection(TSortDirection direction);
    void setSortFull(bool on);
    void setSortAutoFormat(bool on);
    void setSortShow(bool on);
    void setAutoNumAlign(bool on);
    void setEnhTextSize(bool on);
    void setMultilinecells(bool on);
    void setVAlignment(TVAlignment alignment);
    void setSelectionColor(ColorValue color);
    void setSelectionTextColor(ColorValue color);
    void setShowSelection(bool on);
    void setHideFocusRect(bool on);
    void setFixedFont(const QFont &font);
    void setCompareLocale(const AdvGridSort::CompareLocale &locale);

    // Between these two calls (which nest) filling and sorting tell screen
    // readers nothing cell by cell; the last EndUpdate sends one reset instead.
    void BeginUpdate();
    void EndUpdate();

    // Appends a data row in amortised constant time and returns its number.
    // Many rows appended and then one SortRowsByColumn end in the same order
    // as sorting after every append, for far less work.
    int appendRow(const QStringList &cells);

    // 1 when the cell of row1 sorts after that of row2 (ascending), -1 before,
    // 0 equal. The format is read from row1's cell alone.
    int CompareCells(int col, int row1, int row2) const;
    // Stable sort of the data rows on one column in SortDirection, with no
    // tie-break; the current row keeps its number and so may show other data.
    void SortRowsByColumn(int col);
    // What a click on a header cell does: choose or flip the sort, sort with
    // the tie-break on the following columns, and keep the current row's data
    // selected.
    void sortByHeaderClick(int col);

    // Geometry in the viewport's coordinates; an empty rectangle for a cell scrolled away.
    QRect cellRect(int col, int row) const;
    QRect rowRect(int row) const;
    // (column, row) under a viewport point, or (-1, -1).
    QPoint cellAt(const QPoint &pos) const;
    int visibleRowCount() const;

    // The text a cell shows after shortening to its width.
    QString shownText(int col, int row) const;
    // The text cut by whole characters until it and "..." fit in width pixels;
    // empty when not even one character does. Texts that fit, or hold a line
    // break, come back unchanged.
    static QString shortenedText(const QString &text, const QFontMetrics &metrics, int width);

    QSize sizeHint() const override;

signals:
    void rowChanged(int row);
    void sortChanged();
    void cellClicked(int col, int row);
    void cellDoubleClicked(int col, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct GridRow
    {
        QStringList cells;
        int height = 0;
    };

    // Settings that change only how cells look or compare.
    template <typename T> void setLook(T &member, const T &value)
    {
        if (member == value)
            return;
        member = value;
        viewport()->update();
    }

    int colLeft(int col) const;
    int dataTop() const;
    int rowAtY(int y) const;
    int lastFullyVisibleRow() const;
    int maxTopRow() const;
    void updateScrollBars();
    void ensureRowVisible(int row);
    void rowsChanged();
    std::vector<AdvGridSort::CellKey> columnKeys(int col) const;
    void applyOrder(const std::vector<int> &order);

    struct CellLayout;
    CellLayout layoutCell(int col, int row, const QRect &cell) const;
    void drawCell(QPainter &painter, int col, int row, const QRect &cell) const;
    void drawRaisedEdge(QPainter &painter, const QRect &cell) const;
    void drawCellText(QPainter &painter, const CellLayout &layout, const QColor &color) const;
    void drawSortIndicator(QPainter &painter, const CellLayout &layout) const;
    static void drawFocusDots(QPainter &painter, const QRect &rect);

    void notifyAccessibleReset();
    void notifyAccessibleCell(int col, int row);
    void notifyAccessibleSelection();

    std::vector<GridRow> m_rows;
    std::vector<int> m_colWidths;
    QStringList m_columnHeaders;
    int m_row = 1;
    int m_col = 0;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 19;
    int m_sortColumn = 0;
    TSortDirection m_sortDirection = sdAscending;
    bool m_sortFull = true;
    bool m_sortAutoFormat = true;
    bool m_sortShow = true;
    bool m_autoNumAlign = true;
    bool m_enhTextSize = true;
    bool m_multilineCells = true;
    TVAlignment m_vAlignment = vtaCenter;
    ColorValue m_selectionColor = ColorNames::clHighlight;
    ColorValue m_selectionTextColor = ColorNames::clWhite;
    bool m_showSelection = true;
    bool m_hideFocusRect = true;
    QFont m_fixedFont;
    AdvGridSort::CompareLocale m_locale;

    int m_updateDepth = 0; // BeginUpdate calls not yet ended
    bool m_accessibleResetPending = false;
    // A header click sorts only when both the press and the release were on the header.
    bool m_pressOnHeader = false;
    bool m_selecting = false;
    int m_pressRow = -1;
};
