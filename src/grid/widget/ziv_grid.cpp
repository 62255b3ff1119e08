#include "grid/widget/ziv_grid.h"

#include "Engine/errors.h"
#include "grid/core/grid_update.h"
#include "qt_text/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace {

constexpr char filterPrompt[] = "Please provide a filter for the column! \nYou can use the ? and * "
                                "signs for masking and a leading ! for exclusive filters.";

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

// ---- geometry

int ZIVGrid::visibleRowCount() const
{
    const int dataHeight = viewport()->height() - rowPitch();
    return std::max(0, (dataHeight + lineWidth) / rowPitch());
}

int ZIVGrid::columnLeft(int col) const
{
    int x = -horizontalScrollBar()->value();
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
    int left = -horizontalScrollBar()->value();
    for (int col = 0; col < colCount(); ++col) {
        const int right = left + colWidths[std::size_t(col)] + lineWidth;
        if (x >= left && x < right)
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
    horizontal->setPageStep(std::max(1, viewport()->width()));
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

void ZIVGrid::fitColumnsToData()
{
    const TZIVGridVisibleColumns &columns = visibleColumns();
    std::vector<int> widths = colWidths;
    for (std::size_t i = 0; i < widths.size() && i < columns.size(); ++i)
        widths[i] = std::max(columns[i]->dataWidth(), minDataWidth);
    setColumnWidths(std::move(widths));
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

void ZIVGrid::paintView(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, toQColor(backgroundColor, palette()));
    if (colCount() == 0)
        return;
    // Only the columns and rows that meet the area are painted.
    const int left = columnAt(area.left());
    const int firstCol = left >= 0 ? left : (area.left() < columnLeft(0) ? 0 : colCount());
    const int right = columnAt(area.right());
    const int endCol = right >= 0 ? right : colCount() - 1;
    const int lastRow = std::min(
        viewRows - 1, topRow + std::max(0, viewport()->height() - rowPitch()) / rowPitch());
    paintGridLines(painter, firstCol, endCol, lastRow);

    QtCanvas canvas(&painter, palette());
    canvas.brush = cellBrush();
    const auto paintCell = [&](int col, int row) {
        const QRect rect = cellRect(col, row);
        if (rect.intersects(area))
            DrawCell(canvas, col, row, toTRect(rect));
    };
    for (int col = firstCol; col <= endCol; ++col) {
        paintCell(col, 0);
        for (int row = topRow; row <= lastRow; ++row)
            paintCell(col, row);
    }
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
    for (int col = 0; col < colCount(); ++col) {
        const int border = columnLeft(col) + colWidths[std::size_t(col)];
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
    const int row = rowAt(event->position().toPoint().y());
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
// arrow key would, so the next arrow key moves on from there; Left and Right scroll sideways;
// anything else is left to the window.
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
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    default:
        return false;
    }
    return true;
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
    for (QAction *item : {itemFilterEdit, itemSortClear, itemSortAdd, itemSortRemove})
        connect(item, &QAction::triggered, this, [this, item] { DoMenuClick(item); });
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
    QMenu *submenu = headerMenu_->addMenu("Sort - Add column ...");
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
