#pragma once

#include "Engine/kstring.h"

#include <QDialog>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;
class ZIVEdit;
class ZIVGrid;

// What a selection dialog hands back: the chosen ids with their names, ascending by id.
using TSelection = std::map<std::int32_t, kstring>;

// The shared selection dialog of the team and match searches: a search area at the top, the
// list of candidates, OK and Cancel. Each kind of dialog supplies reset and refill.
class TfrmSelectBase : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectBase(QWidget *parent = nullptr);

    // Resets and refills, shows the dialog modally and, on OK, sets the entry of every selected
    // row of lstList (other entries stay) and returns true; on Cancel empties the map.
    bool select(TSelection &selection);

    // Forgets what the previous opening found; called first by select.
    virtual void reset() {}
    // Rebuilds the lists from the dialog's data.
    virtual void refill() {}

    QWidget *panTopBase;
    ZIVGrid *lstList;
    QWidget *panBaseButtons;
    QWidget *panOkCancel;
    QPushButton *btnOk;
    QPushButton *btnCancel;
    // What the dialog tells the user to do next, above the buttons; hidden while empty.
    QLabel *lblHint;

    // OK: with rows listed but none selected, takes the focused row, or says what to do.
    void btnOkClick();
    void showHint(const QString &text);

protected:
    // What OK says when rows are listed but none is selected or focused.
    virtual QString selectFirstHint() const { return "Select a row first."; }

    // Rebuilds a list of "id" and "name" rows from the entries, ascending by id.
    static void fillIdNameList(ZIVGrid &grid, const TSelection &entries);
    // Enter in the box presses the button instead of OK.
    void searchOnEnter(ZIVEdit *edit, QPushButton *button);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::vector<std::pair<QObject *, QPushButton *>> enterButtons;

    void buildButtons();
    void FormResize();
    void lstListDblClick();
};

extern TfrmSelectBase *frmSelectBase;
