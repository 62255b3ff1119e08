#pragma once

#include "grid/core/grid_core.h"
#include "grid/widget/qt_canvas.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QHelpEvent;
class QMenu;

// The visible grid of every list window: the model of ZIVGridCore shown in a scroll area with
// one fixed header row, whole-row selection and user column sizing. It paints only the cells in
// view, keeps the view's own state (column widths, current row, top row) and turns mouse, keys,
// wheel, scroll bar, header menu and clipboard into model operations.
class ZIVGrid : public QAbstractScrollArea, public ZIVGridCore
{
    Q_OBJECT
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE setDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE setDefaultRowHeight)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE setGridLineWidth)
    Q_PROPERTY(bool FitColumnToGrid READ FitColumnToGrid WRITE SetFitColumnToGrid)
    Q_PROPERTY(
        bool SmartDrawingSelection READ GetSmartDrawingSelection WRITE SetSmartDrawingSelection)
    Q_PROPERTY(bool GroupShowing READ GetGroupShowing WRITE SetGroupShowing)
    Q_PROPERTY(bool Sorted READ GetSorted WRITE SetSorted)
    Q_PROPERTY(QString SameString READ sameStringText WRITE setSameStringText)
    Q_PROPERTY(uint SelectionColor READ GetSelectionColor WRITE setSelectionColor)
    Q_PROPERTY(uint CellColor READ GetCellColor WRITE setCellColor)
    Q_PROPERTY(uint FixedColor READ FixedColor WRITE setFixedColor)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ gridFont WRITE setGridFont)
    Q_PROPERTY(QStringList Headers READ headerLines WRITE setHeaderLines)
    Q_PROPERTY(QString HeadersString READ headersText WRITE setHeadersText)
    Q_PROPERTY(int topRowNumber READ GettopRowNumber WRITE SettopRowNumber)
    Q_PROPERTY(int FrozenColumns READ frozenColumns WRITE setFrozenColumns)

public:
    // A press this close to a header border resizes instead of sorting.
    static constexpr int borderZone = 5;
    // How close to a border the resizing handle reaches.
    static constexpr int sizingZone = 3;
    static constexpr int minFitWidth = 15;
    static constexpr int minDataWidth = 10;
    static constexpr int minDragWidth = 5;

    explicit ZIVGrid(QWidget *parent = nullptr);
    ~ZIVGrid() override;

    using QAbstractScrollArea::setFont;
    using ZIVGridCore::setFont;

    // Called once the window has set the grid's properties: creates the header menu.
    void Loaded();
    QMenu *headerMenu() const { return headerMenu_; }
    ZIVGridColumn *menuColumn() const { return menuColumn_; }
    // Adds "Sort - Add column ..." with one item per column a user may sort by.
    void createAddColumnMenu();
    // The menu's items by caption (null when there is none), for the windows and the tests.
    QAction *headerMenuItem(const QString &caption) const;

    // ---- properties
    int DefaultColWidth() const { return defaultColWidth; }
    void setDefaultColWidth(int width);
    int DefaultRowHeight() const { return rowHeight; }
    void setDefaultRowHeight(int height);
    int GridLineWidth() const { return lineWidth; }
    void setGridLineWidth(int width);
    bool FitColumnToGrid() const { return fitToGrid; }
    void SetFitColumnToGrid(bool value) { fitToGrid = value; }
    TColor FixedColor() const { return fixedColor; }
    void setFixedColor(TColor color);
    // The background beyond the cells.
    TColor Color() const { return backgroundColor; }
    void setColor(TColor color);
    QString sameStringText() const;
    void setSameStringText(const QString &text);
    QFont gridFont() const;
    void setGridFont(const QFont &font);
    QStringList headerLines() const;
    void setHeaderLines(const QStringList &lines);
    QString headersText() const;
    void setHeadersText(const QString &text);
    int GettopRowNumber() const { return topRow; }
    void SettopRowNumber(int n);
    // The leading visible columns that stay in place while the others scroll sideways; 0, the
    // default, freezes none. They are frozen only while they leave room for the others.
    void setFrozenColumns(int count);
    int frozenColumns() const { return frozenCount; }
    // The frozen columns in effect, and the right edge of their part (0 without any).
    int frozenInView() const;
    int frozenEdge() const;

    // ---- the view's geometry (view rows: 0 is the header, data rows from 1)
    int colCount() const { return static_cast<int>(colWidths.size()); }
    int rowCount() const { return viewRows; }
    int colWidth(int col) const { return colWidths.at(std::size_t(col)); }
    void setColWidth(int col, int width);
    int currentRow() const { return current; }
    // Data rows that fit completely below the header.
    int visibleRowCount() const;
    QRect cellRect(int col, int row) const;
    // The view column and row under a viewport point; -1 where there is no cell.
    int columnAt(int x) const;
    int rowAt(int y) const;

    // ---- widths
    void smartResize();
    void fitColumnsToGrid();
    void fitColumnsToData();
    // The width of the header and of the cells of the rows in view, as a double click on the
    // header's right border fits one column and "Fit all columns" fits them all.
    void fitColumnToContents(int col);
    void fitAllColumns();

    // ---- painting, one cell at a time
    virtual void DrawCell(TCanvas &canvas, int col, int row, const TRect &rect);
    virtual void DrawHeaderCell(TCanvas &canvas, int col, const TRect &rect);
    virtual void DrawDataCell(TCanvas &canvas, int col, int row, const TRect &rect);
    virtual void DrawHeaderCellSortingInfo(TCanvas &canvas, const ZIVGridColumn &column,
                                           const TRect &rect);
    virtual void DrawHeaderCellFilteringInfo(TCanvas &canvas, const ZIVGridColumn &column,
                                             const TRect &rect);
    // Paints the cells that meet `area`, as a paint event does.
    void paintView(QPainter &painter, const QRect &area);
    // The cells of that, on any canvas: the scrolling columns first, then the frozen ones over
    // them.
    void paintCells(TCanvas &canvas, const QRect &area);

    // ---- commands
    void editFilter(ZIVGridColumn &column);
    // Visible columns and all rows in view as tab-separated lines, each ending in a line feed.
    std::string clipboardText(std::optional<std::string_view> extra = std::nullopt) const;
    void copyToClipboard(std::optional<std::string_view> extra = std::nullopt);
    // The rows in view as CSV: on the clipboard, or into a file the user picks.
    void copyAsCsv();
    void exportToCsv();
    // Writes whole or not at all; false with the reason when the file cannot be written.
    static bool writeCsvFile(const QString &path, const std::string &text, QString &reason);
    // "caption: value" of every system-hidden column of the focused row.
    std::string systemHiddenText();
    void showSystemHiddenData();

    // ---- the model's refresh
    void Change() override;
    void invalidateView() override;
    std::string componentName() const override;
    void removeStructure() override;
    void onFiltersChanged() override;
    void settingsImported() override;

signals:
    // A column's filter changed, all were cleared, or settings were imported.
    void filtersChanged();
    void OnClick();
    void OnDblClick();
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    // Boxes the grid shows; tests replace them.
    virtual void showMessage(const QString &text);
    virtual void showError(const QString &message);
    // The filter input box; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &caption, const QString &prompt,
                                           const QString &text);
    // The file to export to; empty when cancelled.
    virtual QString askSaveFileName(const QString &suggested);

    bool viewportEvent(QEvent *event) override;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Runs an event's work; an error goes to the error box instead of through Qt.
    void guarded(const std::function<void()> &work);

    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos,
                   QPoint globalPos);
    void headerMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos,
                         QPoint globalPos);
    void rowMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, ZIVGridRow &row);
    // False for a key the grid leaves to its window.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void MoveByKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool baseKeyDown(int key);
    void selectDisplayRange(int from, int to);
    void emptySelection() { GetSelectedRows().clear(); }

    void createMenu();
    void addViewItems();
    void prepareHeaderMenu();
    void fillColumnsMenu();
    void DoMenuClick(QAction *item);
    void DoMenuAddSortClick(const std::string &columnName);

    void ColWidthsChanged();
    void WMSize();
    void setColumnWidths(std::vector<int> widths);
    void fitColumns(const std::function<int(ZIVGridColumn &)> &measure, int first, int end);
    int contentsWidth(ZIVGridColumn &column);
    void followVisibleColumns();
    int availableWidth() const;
    int sizingBorderAt(QPoint pos) const;

    int rowPitch() const { return rowHeight + lineWidth; }
    int columnLeft(int col) const;
    int contentWidth() const;
    int lastTopRow() const;
    void setTopRow(int row);
    void moveCurrentTo(int row);
    void syncCurrentWithFocus();
    void focusCurrentRow(int old);
    void updateScrollBars();
    void paintGridLines(QPainter &painter, int firstCol, int lastCol, int lastRow);
    // The scrolling part, then the frozen part: their rectangles and columns [first, end).
    struct Zone
    {
        QRect rect;
        int first, end;
    };
    std::vector<Zone> zones() const;
    // The columns of a zone that meet `part`, as [first, end); empty when none.
    std::pair<int, int> columnsMeeting(const Zone &zone, const QRect &part) const;
    int lastPaintedRow() const;
    void paintZoneCells(TCanvas &canvas, const QRect &part, std::pair<int, int> columns);
    // Left and Right: the next or previous scrolling column moves to the frozen edge.
    void scrollByColumn(int direction);
    void showHeaderHint(QHelpEvent *event);

    // The view's own state.
    std::vector<int> colWidths;
    std::vector<const ZIVGridColumn *> widthOwners; // the column each width belongs to
    int viewRows = 2;
    int defaultColWidth = 64;
    int rowHeight = 14;
    int lineWidth = 1;
    int current = 1;
    int topRow = 1;
    TColor fixedColor = clBtnFace;
    TColor backgroundColor = 0x80000005; // window background
    bool fitToGrid = false;
    bool resizing = false;
    int frozenCount = 0;

    QMenu *headerMenu_ = nullptr;
    QAction *itemFilterEdit = nullptr;
    QAction *itemSortClear = nullptr;
    QAction *itemSortAdd = nullptr;
    QAction *itemSortRemove = nullptr;
    QAction *itemClearFilter = nullptr;
    QAction *itemHideColumn = nullptr;
    QAction *itemFitAll = nullptr;
    QAction *itemCopyCsv = nullptr;
    QAction *itemExportCsv = nullptr;
    QMenu *columnsMenu = nullptr;
    QAction *viewItemsStart = nullptr; // the separator before the items above
    ZIVGridColumn *menuColumn_ = nullptr;

    QtCanvas measuringCanvas;
    int sizingColumn = -1;
    int wheelRemainder = 0;
    bool paintErrorPending = false;
};
