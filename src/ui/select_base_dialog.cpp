#include "ui/select_base_dialog.h"

#include "grid/core/grid_core.h"
#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "ui/window_placement.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int buttonsPanelHeight = 41;
constexpr int okCancelWidth = 185;
constexpr int okCancelHeight = 25;
constexpr int buttonWidth = 88;

} // namespace

TfrmSelectBase::TfrmSelectBase(QWidget *parent)
    : QDialog(parent), panTopBase(new QWidget(this)), lstList(new ZIVGrid(this)),
      panBaseButtons(new QWidget(this)), panOkCancel(new QWidget(panBaseButtons)),
      btnOk(new QPushButton("OK", panOkCancel)), btnCancel(new QPushButton("Cancel", panOkCancel)),
      lblHint(new QLabel(this))
{
    setObjectName("frmSelectBase");
    panTopBase->setObjectName("panTopBase");
    lstList->setObjectName("lstList");
    lstList->SetHeaders({"id", "name"});
    lstList->SetHeadersString("frmSelectBase");
    lstList->SetFitColumnToGrid(true);
    lstList->SetSorted(true);
    lstList->Loaded();
    connect(lstList, &ZIVGrid::OnDblClick, this, &TfrmSelectBase::lstListDblClick);
    buildButtons();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panTopBase);
    layout->addWidget(lstList, 1);
    layout->addWidget(lblHint);
    layout->addWidget(panBaseButtons);
    resize(420, 360);
}

void TfrmSelectBase::buildButtons()
{
    panBaseButtons->setObjectName("panBaseButtons");
    panBaseButtons->setFixedHeight(buttonsPanelHeight);
    panBaseButtons->installEventFilter(this);
    panOkCancel->setObjectName("panOkCancel");
    panOkCancel->setGeometry(0, (buttonsPanelHeight - okCancelHeight) / 2, okCancelWidth,
                             okCancelHeight);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    btnOk->setGeometry(0, 0, buttonWidth, okCancelHeight);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setGeometry(okCancelWidth - buttonWidth, 0, buttonWidth, okCancelHeight);
    lblHint->setObjectName("lblHint");
    lblHint->setTextFormat(Qt::PlainText);
    lblHint->setWordWrap(true);
    lblHint->setContentsMargins(8, 4, 8, 0);
    QFont bold = lblHint->font();
    bold.setBold(true);
    lblHint->setFont(bold);
    lblHint->setVisible(false);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSelectBase::btnOkClick);
    // Escape rejects the dialog, as this button does.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmSelectBase::select(TSelection &selection)
{
    showHint({});
    reset();
    refill();
    if (exec() != QDialog::Accepted) {
        selection.clear();
        return false;
    }
    const ZIVGridColumn &id = *lstList->getColumn("id", true);
    const ZIVGridColumn &name = *lstList->getColumn("name", true);
    for (ZIVGridRow *row : lstList->GetSelectedRows())
        selection[row->cell(id).getLong()] = row->cell(name).getString();
    return true;
}

void TfrmSelectBase::btnOkClick()
{
    if (lstList->rowNum() > 0 && lstList->GetSelectedRows().empty()) {
        if (!lstList->GetFocusedRow()) {
            showHint(selectFirstHint());
            lstList->setFocus();
            return;
        }
        lstList->selectFocusedRow();
    }
    accept();
}

void TfrmSelectBase::showHint(const QString &text)
{
    lblHint->setText(text);
    lblHint->setVisible(!text.isEmpty());
}

void TfrmSelectBase::lstListDblClick()
{
    if (lstList->GetFocusedRow())
        btnOkClick();
}

// The buttons stay centred however wide the dialog is.
void TfrmSelectBase::FormResize()
{
    panOkCancel->move((panBaseButtons->width() - panOkCancel->width()) / 2, panOkCancel->y());
}

void TfrmSelectBase::fillIdNameList(ZIVGrid &grid, const TSelection &entries)
{
    const auto columns = resolveColumns(grid, {"id", "name"});
    refillGrid(grid, entries, [&columns](ZIVGridRow &row, const auto &entry) {
        row.cell(*columns[0]).setLong(entry.first);
        row.cell(*columns[1]).setString(entry.second);
    });
}

void TfrmSelectBase::searchOnEnter(ZIVEdit *edit, QPushButton *button)
{
    enterButtons.emplace_back(edit->edit(), button);
    edit->edit()->installEventFilter(this);
}

bool TfrmSelectBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panBaseButtons && event->type() == QEvent::Resize)
        FormResize();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        for (const auto &[box, button] : enterButtons) {
            if (watched == box && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                button->click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Centred on the desktop, not on the main window, and inside it.
void TfrmSelectBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
}
