#include "grid/widget/ziv_grid.h"

#include "Engine/errors.h"
#include "grid/core/csv.h"
#include "grid/core/grid_update.h"
#include "qt_text/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace {

constexpr char filterPrompt[] =
    "Please provide a filter for the column! \nYou can use the ? and * signs for masking and a "
    "leading ! for exclusive filters.\nIn a column of numbers you can also compare: >=7, <=7, "
    ">7, <5, =6, or 6..8 for a range.";

TRect toTRect(const QRect &rect)
{
    return TRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

Qt::KeyboardModifiers withoutKeypad(Qt::KeyboardModifiers modifiers)
{
    return modifiers & ~Qt::KeypadModifier;
}

} // namespace

ZIVGrid::ZIVGrid(QWidget *parent)
    : QAbstractScrollArea(parent), measuringCanvas(nullptr, QPalette())
{
    setCanvas(&measuringCanvas);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Change();
}

ZIVGrid::~ZIVGrid()
{
    // The measuring canvas goes before the model does.
    setCanvas(nullptr);
}

// ---- properties

void ZIVGrid::setDefaultColWidth(int width)
{
    defaultColWidth = std::max(0, width);
    setColumnWidths(std::vector<int>(colWidths.size(), defaultColWidth));
}

void ZIVGrid::setDefaultRowHeight(int height)
{
    rowHeight = std::max(1, height);
    updateScrollBars();
    viewport()->update();
}

void ZIVGrid::setGridLineWidth(int width)
{
    lineWidth = std::max(0, width);
    updateScrollBars();
    viewport()->update();
}

void ZIVGrid::setFixedColor(TColor color)
{
    fixedColor = color;
    viewport()->update();
}

void ZIVGrid::setColor(TColor color)
{
    backgroundColor = color;
    viewport()->update();
}

QString ZIVGrid::sameStringText() const
{
    return toQString(GetSameString());
}

void ZIVGrid::setSameStringText(const QString &text)
{
    SetSameString(toKstring(text));
    viewport()->update();
}

QFont ZIVGrid::gridFont() const
{
    QtCanvas converter(nullptr, palette());
    converter.font = Font();
    return converter.qFont();
}

void ZIVGrid::setGridFont(const QFont &font)
{
    TFont converted = Font();
    converted.name = toKstring(font.family());
    if (font.pointSize() > 0)
        converted.size = font.pointSize();
    converted.style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                      (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
    setFont(converted);
    viewport()->update();
}

QStringList ZIVGrid::headerLines() const
{
    QStringList lines;
    for (const std::string &line : GetHeaders())
        lines << toQString(line);
    return lines;
}

void ZIVGrid::setHeaderLines(const QStringList &lines)
{
    std::vector<std::string> converted;
    converted.reserve(std::size_t(lines.size()));
    for (const QString &line : lines)
        converted.push_back(toKstring(line));
    SetHeaders(converted);
}

QString ZIVGrid::headersText() const
{
    return toQString(GetHeadersString());
}

void ZIVGrid::setHeadersText(const QString &text)
{
    SetHeadersString(toKstring(text));
}

void ZIVGrid::SettopRowNumber(int n)
{
    if (rowNum() == 0)
        return;
    setTopRow(std::min(std::max(n, 1), rowNum() - visibleRowCount() + 1));
}

void ZIVGrid::setFrozenColumns(int count)
{
    frozenCount = std::max(0, count);
    updateScrollBars();
    viewport()->update();
}

int ZIVGrid::frozenInView() const
{
    const int count = std::min(frozenCount, colCount());
    int edge = 0;
    for (int col = 0; col < count; ++col)
        edge += colWidths[std::size_t(col)] + lineWidth;
    // Frozen columns wider than the view would leave nothing to scroll: they scroll as well.
    return edge < viewport()->width() ? count : 0;
}

int ZIVGrid::frozenEdge() const
{
    const int count = frozenInView();
    int edge = 0;
    for (int col = 0; col < count; ++col)
        edge += colWidths[std::size_t(col)] + lineWidth;
    return edge;
}

// ---- geometry

int ZIVGrid::visibleRowCount() const
{
    const int dataHeight = viewport()->height() - rowPitch();
    return std::max(0, (dataHeight + lineWidth) / rowPitch());
}

int ZIVGrid::columnLeft(int col) const
{
    int x = col < frozenInView() ? 0 : -horizontalScrollBar()->value();
    for (int i = 0; i < col; ++i)
        x += colWidths[std::size_t(i)] + lineWidth;
    return x;
}

int ZIVGrid::contentWidth() const
{
    int width = 0;
    for (int w : colWidths)
        width += w + lineWidth;
    // No line is needed after the last column.
    return colWidths.empty() ? 0 : width - lineWidth;
}

QRect ZIVGrid::cellRect(int col, int row) const
{
    const int y = row == 0 ? 0 : (row - topRow + 1) * rowPitch();
    return QRect(columnLeft(col), y, colWidths.at(std::size_t(col)), rowHeight);
}

int ZIVGrid::columnAt(int x) const
{
    const int frozen = frozenInView();
    // Left of the frozen edge only the frozen columns are seen.
    const bool inFrozenPart = frozen > 0 && x < frozenEdge();
    int left = 0;
    for (int col = 0; col < colCount(); ++col) {
        if (col == frozen)
            left -= horizontalScrollBar()->value();
        const int right = left + colWidths[std::size_t(col)] + lineWidth;
        if (x >= left && x < right && (col < frozen) == inFrozenPart)
            return col;
        left = right;
    }
    return -1;
}

int ZIVGrid::rowAt(int y) const
{
    if (y < 0)
        return -1;
    if (y < rowPitch())
        return 0;
    const int row = topRow + (y - rowPitch()) / rowPitch();
    return row < viewRows ? row : -1;
}

int ZIVGrid::lastTopRow() const
{
    return std::max(1, viewRows - 1 - visibleRowCount() + 1);
}

void ZIVGrid::setTopRow(int row)
{
    // Never above the first data row, never so far down that the view runs out of rows.
    topRow = std::clamp(row, 1, lastTopRow());
    updateScrollBars();
    viewport()->update();
}

void ZIVGrid::moveCurrentTo(int row)
{
    current = std::clamp(row, 1, std::max(1, viewRows - 1));
    if (current < topRow)
        setTopRow(current);
    else if (current >= topRow + visibleRowCount())
        setTopRow(current - std::max(1, visibleRowCount()) + 1);
}

void ZIVGrid::updateScrollBars()
{
    QScrollBar *vertical = verticalScrollBar();
    const int visibleRows = visibleRowCount();
    vertical->setRange(0, std::max(0, viewRows - 1 - visibleRows));
    vertical->setPageStep(std::max(1, visibleRows));
    vertical->setSingleStep(1);
    vertical->setValue(topRow - 1);

    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth() - viewport()->width()));
    horizontal->setPageStep(std::max(1, viewport()->width() - frozenEdge()));
    horizontal->setSingleStep(std::max(1, defaultColWidth / 4));
}

void ZIVGrid::scrollContentsBy(int, int)
{
    topRow = std::clamp(verticalScrollBar()->value() + 1, 1, lastTopRow());
    viewport()->update();
}

// ---- the model's refresh

void ZIVGrid::Change()
{
    if (!ZIVGridCore::updatesEnabled())
        return;
    viewRows = viewRowCount();
    followVisibleColumns();
    current = std::clamp(current, 1, std::max(1, viewRows - 1));
    topRow = std::clamp(topRow, 1, lastTopRow());
    updateScrollBars();
    viewport()->update();
}

void ZIVGrid::invalidateView()
{
    viewport()->update();
}

std::string ZIVGrid::componentName() const
{
    return toKstring(objectName());
}

void ZIVGrid::removeStructure()
{
    menuColumn_ = nullptr;
    widthOwners.clear();
    ZIVGridCore::removeStructure();
}

void ZIVGrid::onFiltersChanged()
{
    emit filtersChanged();
}

// Remembered widths are shown at once, as a resize would show them.
void ZIVGrid::settingsImported()
{
    if (ZIVGridCore::updatesEnabled())
        Change();
    else
        followVisibleColumns();
    WMSize();
    emit filtersChanged();
}

// Widths belong to columns, not to view positions: a column hidden and shown again keeps its
// width, and a newly shown one takes its remembered size or the default.
void ZIVGrid::followVisibleColumns()
{
    const TZIVGridVisibleColumns &columns = visibleColumns();
    if (std::equal(columns.begin(), columns.end(), widthOwners.begin(), widthOwners.end()))
        return;
    std::vector<int> widths;
    widths.reserve(columns.size());
    for (const ZIVGridColumn *column : columns) {
        const auto known = std::find(widthOwners.begin(), widthOwners.end(), column);
        if (known != widthOwners.end())
            widths.push_back(colWidths[std::size_t(known - widthOwners.begin())]);
        else
            widths.push_back(column->size() > 0 ? column->size() : defaultColWidth);
    }
    widthOwners.assign(columns.begin(), columns.end());
    setColumnWidths(std::move(widths));
}

// ---- widths

void ZIVGrid::setColWidth(int col, int width)
{
    std::vector<int> widths = colWidths;
    widths.at(std::size_t(col)) = std::max(0, width);
    setColumnWidths(std::move(widths));
}

void ZIVGrid::setColumnWidths(std::vector<int> widths)
{
    colWidths = std::move(widths);
    ColWidthsChanged();
}

void ZIVGrid::ColWidthsChanged()
{
    const bool wasResizing = resizing;
    {
        const QScopedValueRollback scope(resizing, true);
        updateScrollBars();
        viewport()->update();
    }
    if (wasResizing)
        return;
    const QScopedValueRollback scope(resizing, true);
    const TZIVGridVisibleColumns &columns = visibleColumns();
    for (std::size_t i = 0; i < colWidths.size() && i < columns.size(); ++i)
        columns[i]->setSize(colWidths[i]);
}

int ZIVGrid::availableWidth() const
{
    return viewport()->width() - std::max(0, colCount() - 1) * lineWidth;
}

void ZIVGrid::smartResize()
{
    const TZIVGridVisibleColumns &columns = visibleColumns();
    std::int64_t total = 0;
    for (const ZIVGridColumn *column : columns)
        total += column->size();
    if (total == 0)
        return;
    const double scale = std::max(1.0, double(availableWidth()) / double(total));
    std::vector<int> widths = colWidths;
    for (std::size_t i = 0; i < widths.size() && i < columns.size(); ++i)
        widths[i] = int(columns[i]->size() * scale);
    setColumnWidths(std::move(widths));
}

void ZIVGrid::fitColumnsToGrid()
{
    std::int64_t total = 0;
    for (int width : colWidths)
        total += width;
    if (total < 1)
        return;
    const std::int64_t available = availableWidth();
    std::vector<int> widths = colWidths;
    for (int &width : widths)
        width = std::max(minFitWidth, int(width * available / total));
    setColumnWidths(std::move(widths));
}

void ZIVGrid::fitColumns(const std::function<int(ZIVGridColumn &)> &measure, int first, int end)
{
    const TZIVGridVisibleColumns &columns = visibleColumns();
    std::vector<int> widths = colWidths;
    const int last = std::min({end, int(widths.size()), int(columns.size())});
    for (int col = std::max(0, first); col < last; ++col)
        widths[std::size_t(col)] = std::max(measure(*columns[std::size_t(col)]), minDataWidth);
    setColumnWidths(std::move(widths));
}

void ZIVGrid::fitColumnsToData()
{
    fitColumns([](ZIVGridColumn &column) { return column.dataWidth(); }, 0, colCount());
}

// The caption as the header paints it, with room for the sort mark beside it; and the cells of
// the rows in view, not those a filter hides.
int ZIVGrid::contentsWidth(ZIVGridColumn &column)
{
    TCanvas &canvas = ZIVGridCore::canvas();
    canvas.font = Font();
    canvas.font.style = fsBold;
    int widest = canvas.textWidth(column.caption()) + 5;
    canvas.font.name = "Tahoma";
    canvas.font.size = 6;
    canvas.font.style = 0;
    widest += canvas.textWidth("9") + 9;
    for (const ZIVGridRow *row : rows())
        widest = std::max(widest, row->cell(column).dataWidth());
    return widest;
}

void ZIVGrid::fitColumnToContents(int col)
{
    fitColumns([this](ZIVGridColumn &column) { return contentsWidth(column); }, col, col + 1);
}

void ZIVGrid::fitAllColumns()
{
    fitColumns([this](ZIVGridColumn &column) { return contentsWidth(column); }, 0, colCount());
}

void ZIVGrid::WMSize()
{
    if (resizing)
        return;
    const QScopedValueRollback scope(resizing, true);
    if (fitToGrid)
        fitColumnsToGrid();
    else
        smartResize();
}

void ZIVGrid::resizeEvent(QResizeEvent *)
{
    guarded([this] {
        WMSize();
        topRow = std::clamp(topRow, 1, lastTopRow());
        updateScrollBars();
    });
}

// ---- painting

void ZIVGrid::DrawCell(TCanvas &canvas, int col, int row, const TRect &rect)
{
    canvas.font = Font();
    try {
        if (row == 0)
            DrawHeaderCell(canvas, col, rect);
        else
            DrawDataCell(canvas, col, row, rect);
    } catch (...) {
        canvas.brush = cellBrush();
        throw;
    }
    canvas.brush = cellBrush();
}

void ZIVGrid::DrawHeaderCell(TCanvas &canvas, int col, const TRect &rect)
{
    if (col >= viewColumnCount()) {
        canvas.fillRect(rect);
        return;
    }
    const ZIVGridColumn &column = *visibleColumns()[std::size_t(col)];
    canvas.brush.color = fixedColor;
    canvas.fillRect(rect);
    canvas.font.style = fsBold;
    canvas.textRect(rect, rect.left + 5, rect.top + 1, column.caption());
    DrawHeaderCellSortingInfo(canvas, column, rect);
    DrawHeaderCellFilteringInfo(canvas, column, rect);
}

void ZIVGrid::DrawHeaderCellSortingInfo(TCanvas &canvas, const ZIVGridColumn &column,
                                        const TRect &rect)
{
    const TSortInfo info = sorter().sortInfo(column);
    if (info.position < 0)
        return;
    canvas.font.style = 0;
    canvas.font.name = "Tahoma";
    canvas.font.size = 6;
    const std::string number = std::to_string(info.position);
    TRect area = rect;
    area.left = rect.right - canvas.textWidth(number) - 7;
    canvas.textRect(area, area.left, area.top, number);

    canvas.penColor = clBlack;
    const int x = rect.right - 5;
    const int yTop = rect.top + 2;
    const int yBottom = rect.bottom - (rect.bottom - rect.top) / 3;
    canvas.moveTo(x, yBottom);
    canvas.lineTo(x, yTop);
    if (info.ascending) {
        canvas.lineTo(x + 3, yTop + 3);
    } else {
        canvas.moveTo(x, yBottom);
        canvas.lineTo(x + 3, yBottom - 3);
    }
}

void ZIVGrid::DrawHeaderCellFilteringInfo(TCanvas &canvas, const ZIVGridColumn &column,
                                          const TRect &rect)
{
    if (!column.isFiltered())
        return;
    canvas.brush.color = clRed;
    canvas.fillRect(TRect{rect.left, rect.top, rect.left + 3, rect.top + 3});
}

void ZIVGrid::DrawDataCell(TCanvas &canvas, int col, int row, const TRect &rect)
{
    canvas.brush.color = GetCellColor();
    // Counts lag behind the model while updates are suspended.
    if (rows().empty() || row - 1 >= rowNum() || col >= viewColumnCount()) {
        canvas.fillRect(rect);
        return;
    }
    ZIVGridRow &gridRow = *rows()[std::size_t(row - 1)];
    const bool selected = gridRow.isSelected();
    const bool focused = &gridRow == GetFocusedRow();
    const TGridDrawState state = (selected ? gdSelected : 0u) | (focused ? gdFocused : 0u);
    ZIVGridCell &cell = gridRow.cell(*visibleColumns()[std::size_t(col)]);
    if (!cell.isEmpty()) {
        cell.draw(canvas, rect, state);
    } else {
        if (selected)
            canvas.brush.color = GetSelectionColor();
        canvas.fillRect(rect);
    }
    if (focused) {
        canvas.brush.color = clBtnFace;
        canvas.frameRect(TRect{0, rect.top, viewport()->width(), rect.bottom});
    }
}

void ZIVGrid::paintGridLines(QPainter &painter, int firstCol, int lastCol, int lastRow)
{
    if (lineWidth <= 0 || lastCol < firstCol)
        return;
    const int bottom = cellRect(firstCol, lastRow).bottom() + 1;
    const int right = cellRect(lastCol, 0).right() + 1;
    const QColor line = palette().color(QPalette::Mid);
    for (int col = firstCol; col <= lastCol; ++col) {
        const QRect cell = cellRect(col, 0);
        painter.fillRect(QRect(cell.right() + 1, 0, lineWidth, bottom + lineWidth), line);
    }
    for (int y = rowHeight; y < bottom; y += rowPitch())
        painter.fillRect(QRect(0, y, right + lineWidth, lineWidth), line);
}

std::vector<ZIVGrid::Zone> ZIVGrid::zones() const
{
    const int frozen = frozenInView();
    const int edge = frozenEdge();
    const QRect view = viewport()->rect();
    return {{QRect(edge, 0, view.width() - edge, view.height()), frozen, colCount()},
            {QRect(0, 0, edge, view.height()), 0, frozen}};
}

std::pair<int, int> ZIVGrid::columnsMeeting(const Zone &zone, const QRect &part) const
{
    int first = zone.end, end = zone.first;
    for (int col = zone.first; col < zone.end; ++col) {
        const QRect rect = cellRect(col, 0);
        if (rect.right() + lineWidth < part.left() || rect.left() > part.right())
            continue;
        first = std::min(first, col);
        end = col + 1;
    }
    return {first, end};
}

int ZIVGrid::lastPaintedRow() const
{
    return std::min(viewRows - 1,
                    topRow + std::max(0, viewport()->height() - rowPitch()) / rowPitch());
}

void ZIVGrid::paintZoneCells(TCanvas &canvas, const QRect &part, std::pair<int, int> columns)
{
    const int lastRow = lastPaintedRow();
    const auto paintCell = [&](int col, int row) {
        const QRect rect = cellRect(col, row);
        if (rect.intersects(part))
            DrawCell(canvas, col, row, toTRect(rect));
    };
    for (int col = columns.first; col < columns.second; ++col) {
        paintCell(col, 0);
        for (int row = topRow; row <= lastRow; ++row)
            paintCell(col, row);
    }
}

void ZIVGrid::paintCells(TCanvas &canvas, const QRect &area)
{
    for (const Zone &zone : zones()) {
        const QRect part = zone.rect & area;
        if (!part.isEmpty())
            paintZoneCells(canvas, part, columnsMeeting(zone, part));
    }
}

void ZIVGrid::paintView(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, toQColor(backgroundColor, palette()));
    if (colCount() == 0)
        return;
    QtCanvas canvas(&painter, palette());
    canvas.brush = cellBrush();
    // Only the columns and rows that meet the area are painted; a scrolled cell never shows
    // in the frozen part.
    for (const Zone &zone : zones()) {
        const QRect part = zone.rect & area;
        if (part.isEmpty())
            continue;
        const auto columns = columnsMeeting(zone, part);
        if (columns.first >= columns.second)
            continue;
        painter.setClipRect(part);
        paintGridLines(painter, columns.first, columns.second - 1, lastPaintedRow());
        paintZoneCells(canvas, part, columns);
    }
    painter.setClipping(false);
}

void ZIVGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    try {
        paintView(painter, event->rect());
    } catch (const std::exception &error) {
        // No box inside a paint event: it would paint again beneath it. Show it once, later.
        if (paintErrorPending)
            return;
        paintErrorPending = true;
        const QString message = toQString(error.what());
        QTimer::singleShot(0, this, [this, message] {
            showError(message);
            paintErrorPending = false;
        });
    }
}

// ---- boxes

void ZIVGrid::showMessage(const QString &text)
{
    QMessageBox::information(this, QGuiApplication::applicationDisplayName(), text);
}

void ZIVGrid::showError(const QString &message)
{
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), message);
}

std::optional<QString> ZIVGrid::askText(const QString &caption, const QString &prompt,
                                        const QString &text)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

void ZIVGrid::guarded(const std::function<void()> &work)
{
    reportingErrors(work, [this](const std::string &message) { showError(toQString(message)); });
}

// ---- mouse

int ZIVGrid::sizingBorderAt(QPoint pos) const
{
    if (rowAt(pos.y()) != 0)
        return -1;
    const int frozen = frozenInView();
    const int edge = frozenEdge();
    for (int col = 0; col < colCount(); ++col) {
        const int border = columnLeft(col) + colWidths[std::size_t(col)];
        // A scrolled border under the frozen part cannot be grabbed.
        if (col >= frozen && border < edge)
            continue;
        if (std::abs(pos.x() - border) <= sizingZone)
            return col;
    }
    return -1;
}

void ZIVGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        sizingColumn = sizingBorderAt(pos);
    guarded([&] {
        MouseDown(event->button(), withoutKeypad(event->modifiers()), pos,
                  event->globalPosition().toPoint());
    });
}

void ZIVGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos,
                        QPoint globalPos)
{
    const int row = rowAt(pos.y());
    if (row == 0) {
        headerMouseDown(button, modifiers, pos, globalPos);
        return;
    }
    // A press below the last row or on the empty grid's blank row touches no row.
    if (row <= 0 || rowNum() == 0 || row - 1 >= rowNum())
        return;
    current = row;
    ZIVGridRow &clicked = *getRow(row - 1, true);
    rowMouseDown(button, modifiers, clicked);
    SetFocusedRow(&clicked);
    viewport()->update();
    if (button == Qt::LeftButton)
        emit OnClick();
}

void ZIVGrid::headerMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos,
                              QPoint globalPos)
{
    if (!GetSorted())
        return;
    const int col = columnAt(pos.x() - borderZone);
    // Near a border the press resizes; beyond the last column there is nothing to sort.
    if (col < 0 || col != columnAt(pos.x() + borderZone) || col >= viewColumnCount())
        return;
    menuColumn_ = visibleColumns()[std::size_t(col)];
    if (button == Qt::LeftButton)
        headerClick(*menuColumn_, modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
    else if (button == Qt::RightButton && headerMenu_)
        headerMenu_->popup(globalPos);
}

void ZIVGrid::rowMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, ZIVGridRow &row)
{
    if (button == Qt::LeftButton) {
        if (modifiers & Qt::ControlModifier) {
            row.toggleSelection();
        } else if (modifiers & Qt::ShiftModifier) {
            if (!GetFocusedRow())
                SetFocusedRow(&row);
            const ZIVGridUpdate update(*this);
            selectDisplayRange(GetFocusedRow()->index(), row.index());
        } else {
            emptySelection();
            row.select();
        }
    } else if (button == Qt::RightButton && !row.isSelected()) {
        emptySelection();
        row.select();
    }
}

void ZIVGrid::selectDisplayRange(int from, int to)
{
    const int first = std::max(0, std::min(from, to));
    const int last = std::min(rowNum() - 1, std::max(from, to));
    for (int index = first; index <= last; ++index)
        getRow(index, true)->select();
}

void ZIVGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (sizingColumn >= 0 && (event->buttons() & Qt::LeftButton)) {
        guarded([&] {
            setColWidth(sizingColumn, std::max(minDragWidth, pos.x() - columnLeft(sizingColumn)));
        });
        return;
    }
    viewport()->setCursor(sizingBorderAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void ZIVGrid::mouseReleaseEvent(QMouseEvent *)
{
    sizingColumn = -1;
}

void ZIVGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int border = sizingBorderAt(pos);
    if (border >= 0 && event->button() == Qt::LeftButton) {
        guarded([&] { fitColumnToContents(border); });
        return;
    }
    const int row = rowAt(pos.y());
    if (row > 0 && row - 1 < rowNum())
        guarded([this] { emit OnDblClick(); });
}

void ZIVGrid::wheelEvent(QWheelEvent *event)
{
    // One row per notch, whatever the system's wheel setting.
    wheelRemainder += event->angleDelta().y();
    const int notches = wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder %= QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        guarded([&] { SettopRowNumber(topRow - notches); });
    event->accept();
}

// ---- keys

void ZIVGrid::keyPressEvent(QKeyEvent *event)
{
    bool handled = true;
    guarded([&] { handled = KeyDown(event->key(), withoutKeypad(event->modifiers())); });
    // Keys the grid has no use for go to the window (Return, Escape).
    if (!handled)
        event->ignore();
}

bool ZIVGrid::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveByKeyDown(key, modifiers);
        return true;
    case Qt::Key_C:
        if (ctrl)
            copyToClipboard();
        return true;
    case Qt::Key_I:
        if (ctrl)
            showSystemHiddenData();
        return true;
    case Qt::Key_N:
        if (ctrl)
            showMessage("The number of the rows is " + QString::number(rowNum()));
        return true;
    case Qt::Key_F9:
        SetSmartDrawingSelection(!GetSmartDrawingSelection());
        Change();
        return true;
    case Qt::Key_F11:
        if (modifiers & Qt::ShiftModifier)
            fitColumnsToData();
        else
            fitColumnsToGrid();
        return true;
    default:
        emit OnKeyDown(key, modifiers);
        return baseKeyDown(key);
    }
}

// The platform grid's own keys: Home and End go to the first and last row and focus it as an
// arrow key would, so the next arrow key moves on from there; Left and Right scroll sideways by
// a column; anything else is left to the window.
bool ZIVGrid::baseKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End: {
        syncCurrentWithFocus();
        const int old = current;
        moveCurrentTo(key == Qt::Key_Home ? 1 : viewRows - 1);
        focusCurrentRow(old);
        viewport()->update();
        emit OnClick();
        break;
    }
    case Qt::Key_Left:
        scrollByColumn(-1);
        break;
    case Qt::Key_Right:
        scrollByColumn(1);
        break;
    default:
        return false;
    }
    return true;
}

// As a row-selecting grid does: the first scrolling column in view steps by one, and the one it
// steps to starts at the frozen edge, so it is seen whole and never under the frozen columns.
void ZIVGrid::scrollByColumn(int direction)
{
    QScrollBar *bar = horizontalScrollBar();
    const int value = bar->value();
    int target = direction < 0 ? 0 : bar->maximum();
    int offset = 0;
    for (int col = frozenInView(); col < colCount(); ++col) {
        if (direction > 0 && offset > value) {
            target = offset;
            break;
        }
        if (direction < 0 && offset < value)
            target = offset;
        offset += colWidths[std::size_t(col)] + lineWidth;
    }
    bar->setValue(std::min(target, bar->maximum()));
}

// After a sort or a rebuild the focused row may stand elsewhere than the current row; keys move
// from where the user sees the focus.
void ZIVGrid::syncCurrentWithFocus()
{
    ZIVGridRow *focused = GetFocusedRow();
    if (focused && getRow(focused->index(), false) == focused)
        current = focused->index() + 1;
}

// The row under the moved current position becomes the only selected, focused one.
void ZIVGrid::focusCurrentRow(int old)
{
    ZIVGridRow *row = getRow(current - 1, false);
    if (current != old && row) {
        emptySelection();
        SetFocusedRow(row);
        row->select();
    }
}

void ZIVGrid::MoveByKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    syncCurrentWithFocus();
    const int old = current;
    const int page = std::max(1, visibleRowCount());
    switch (key) {
    case Qt::Key_Up:
        moveCurrentTo(current - 1);
        break;
    case Qt::Key_Down:
        moveCurrentTo(current + 1);
        break;
    case Qt::Key_PageUp:
        moveCurrentTo(current - page);
        break;
    default:
        moveCurrentTo(current + page);
    }
    if (modifiers == Qt::NoModifier) {
        focusCurrentRow(old);
    } else if (modifiers == Qt::ShiftModifier) {
        selectDisplayRange(old - 1, current - 1);
        if (ZIVGridRow *row = getRow(current - 1, false))
            SetFocusedRow(row);
    }
    viewport()->update();
    emit OnClick();
    emit OnKeyDown(key, modifiers);
}

// ---- header menu

void ZIVGrid::Loaded()
{
    if (!headerMenu_)
        createMenu();
}

void ZIVGrid::createMenu()
{
    headerMenu_ = new QMenu(this);
    headerMenu_->setObjectName("headerMenu");
    itemFilterEdit = headerMenu_->addAction("Filter - Edit");
    headerMenu_->addSeparator();
    itemSortClear = headerMenu_->addAction("Sort - Clear");
    itemSortAdd = headerMenu_->addAction("Sort - Add this column");
    itemSortRemove = headerMenu_->addAction("Sort - Remove this column");
    addViewItems();
    for (QAction *item : {itemFilterEdit, itemSortClear, itemSortAdd, itemSortRemove,
                          itemClearFilter, itemHideColumn, itemFitAll, itemCopyCsv, itemExportCsv})
        connect(item, &QAction::triggered, this, [this, item] { DoMenuClick(item); });
    connect(headerMenu_, &QMenu::aboutToShow, this, [this] { prepareHeaderMenu(); });
}

// What the user does with the view itself: filters off, columns shown and hidden, widths,
// the rows as CSV.
void ZIVGrid::addViewItems()
{
    viewItemsStart = headerMenu_->addSeparator();
    itemClearFilter = headerMenu_->addAction("Clear filter");
    itemHideColumn = headerMenu_->addAction("Hide column");
    columnsMenu = headerMenu_->addMenu("Columns");
    columnsMenu->setObjectName("columnsMenu");
    headerMenu_->addSeparator();
    itemFitAll = headerMenu_->addAction("Fit all columns");
    itemCopyCsv = headerMenu_->addAction("Copy as CSV");
    itemExportCsv = headerMenu_->addAction("Export to CSV…");
}

// The items that depend on the column under the click and on which columns are shown.
void ZIVGrid::prepareHeaderMenu()
{
    itemClearFilter->setVisible(menuColumn_ && menuColumn_->isFiltered());
    // The last shown column stays: without a header there is no menu to bring the others back.
    itemHideColumn->setEnabled(menuColumn_ && viewColumnCount() > 1);
    fillColumnsMenu();
}

void ZIVGrid::fillColumnsMenu()
{
    columnsMenu->clear();
    std::vector<const ZIVGridColumn *> choosable;
    for (const auto &entry : columns())
        if (entry.second->visibility() != ZIVGridColumn::systemHidden)
            choosable.push_back(entry.second.get());
    std::sort(choosable.begin(), choosable.end(),
              [](const auto *a, const auto *b) { return a->position() < b->position(); });
    for (const ZIVGridColumn *column : choosable) {
        QAction *item = columnsMenu->addAction(toQString(column->caption()));
        const bool shown = column->visibility() == ZIVGridColumn::visible;
        item->setCheckable(true);
        item->setChecked(shown);
        item->setEnabled(!shown || viewColumnCount() > 1);
        // By name: the columns may be rebuilt while the menu lives.
        const std::string name = column->name();
        connect(item, &QAction::toggled, this, [this, name](bool show) {
            guarded([&] {
                if (ZIVGridColumn *chosen = getColumn(name, false))
                    chosen->setVisibility(show ? ZIVGridColumn::visible : ZIVGridColumn::hidden);
            });
        });
    }
}

QAction *ZIVGrid::headerMenuItem(const QString &caption) const
{
    if (!headerMenu_)
        return nullptr;
    for (QAction *item : headerMenu_->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

void ZIVGrid::createAddColumnMenu()
{
    if (!headerMenu_)
        return;
    std::vector<const ZIVGridColumn *> sortable;
    for (const auto &entry : columns())
        if (entry.second->visibility() != ZIVGridColumn::systemHidden)
            sortable.push_back(entry.second.get());
    std::stable_sort(sortable.begin(), sortable.end(),
                     [](const auto *a, const auto *b) { return a->caption() < b->caption(); });
    // With the sort items, before the view's own.
    QMenu *submenu = new QMenu("Sort - Add column ...", headerMenu_);
    headerMenu_->insertMenu(viewItemsStart, submenu);
    for (const ZIVGridColumn *column : sortable) {
        // By name: the columns may be rebuilt while the menu lives.
        const std::string name = column->name();
        connect(submenu->addAction(toQString(column->caption())), &QAction::triggered, this,
                [this, name] { DoMenuAddSortClick(name); });
    }
}

void ZIVGrid::DoMenuClick(QAction *item)
{
    guarded([&] {
        if (item == itemSortClear)
            menuSortClear();
        else if (menuColumn_ && item == itemFilterEdit)
            editFilter(*menuColumn_);
        else if (menuColumn_ && item == itemSortAdd)
            menuSortAddThisColumn(*menuColumn_);
        else if (menuColumn_ && item == itemSortRemove)
            menuSortRemoveThisColumn(*menuColumn_);
        else if (menuColumn_ && item == itemClearFilter)
            menuColumn_->setFilter("");
        else if (menuColumn_ && item == itemHideColumn && viewColumnCount() > 1)
            menuColumn_->setVisibility(ZIVGridColumn::hidden);
        else if (item == itemFitAll)
            fitAllColumns();
        else if (item == itemCopyCsv)
            copyAsCsv();
        else if (item == itemExportCsv)
            exportToCsv();
        Change();
    });
}

void ZIVGrid::DoMenuAddSortClick(const std::string &columnName)
{
    guarded([&] {
        if (ZIVGridColumn *column = getColumn(columnName, false))
            menuSortAddColumn(*column);
    });
}

void ZIVGrid::editFilter(ZIVGridColumn &column)
{
    const std::optional<QString> answer = askText("Filter for " + toQString(column.caption()),
                                                  filterPrompt, toQString(column.filterText()));
    if (answer)
        column.setFilter(answer->toStdString());
}

// ---- clipboard and system-hidden values

std::string ZIVGrid::clipboardText(std::optional<std::string_view> extra) const
{
    std::string text;
    const TZIVGridVisibleColumns &shown = visibleColumns();
    for (std::size_t i = 0; i < shown.size(); ++i)
        text.append(i ? "\t" : "").append(shown[i]->caption());
    if (extra)
        text.append("\t").append(*extra);
    text += '\n';
    for (const ZIVGridRow *row : rows()) {
        for (std::size_t i = 0; i < shown.size(); ++i)
            text.append(i ? "\t" : "").append(row->cell(*shown[i]).asString());
        text += '\n';
    }
    return text;
}

void ZIVGrid::copyToClipboard(std::optional<std::string_view> extra)
{
    QGuiApplication::clipboard()->setText(toQString(clipboardText(extra)));
}

void ZIVGrid::copyAsCsv()
{
    QGuiApplication::clipboard()->setText(toQString(csvText(*this)));
}

void ZIVGrid::exportToCsv()
{
    const QString name = objectName().isEmpty() ? QString("table") : objectName();
    const QString path = askSaveFileName(QDir::home().filePath(name + ".csv"));
    if (path.isEmpty())
        return;
    // A byte order mark, so that spreadsheets read the file as UTF-8.
    QString reason;
    if (!writeCsvFile(path, "\xEF\xBB\xBF" + csvText(*this), reason))
        showError("The CSV file could not be written.\n" + path + ": " + reason);
}

bool ZIVGrid::writeCsvFile(const QString &path, const std::string &text, QString &reason)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), qint64(text.size())) == qint64(text.size()) &&
                         file.commit();
    if (!written) {
        reason = file.errorString();
        file.cancelWriting();
    }
    return written;
}

QString ZIVGrid::askSaveFileName(const QString &suggested)
{
    return QFileDialog::getSaveFileName(this, "Export to CSV", suggested,
                                        "CSV files (*.csv);;All files (*)");
}

// ---- header tooltips

bool ZIVGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        showHeaderHint(static_cast<QHelpEvent *>(event));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ZIVGrid::showHeaderHint(QHelpEvent *event)
{
    const int col = rowAt(event->pos().y()) == 0 ? columnAt(event->pos().x()) : -1;
    const std::string *hint =
        col >= 0 && col < viewColumnCount() ? &visibleColumns()[std::size_t(col)]->hint() : nullptr;
    if (!hint || hint->empty()) {
        QToolTip::hideText();
        event->ignore();
        return;
    }
    QToolTip::showText(event->globalPos(), toQString(*hint), viewport(), cellRect(col, 0));
}

std::string ZIVGrid::systemHiddenText()
{
    std::string text;
    const ZIVGridRow *focused = GetFocusedRow();
    if (!focused)
        return text;
    for (const auto &[name, column] : columns())
        if (column->visibility() == ZIVGridColumn::systemHidden)
            text.append(column->caption())
                .append(": ")
                .append(focused->cell(*column).asString())
                .append("\n");
    return text;
}

void ZIVGrid::showSystemHiddenData()
{
    showMessage(toQString(systemHiddenText()));
}
