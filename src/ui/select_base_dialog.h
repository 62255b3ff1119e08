#pragma once

#include "Engine/kstring.h"

#include <QDialog>

#include <cstdint>
#include <map>

class QPushButton;
class QWidget;
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

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildButtons();
    void FormResize();
    void lstListDblClick();
};

extern TfrmSelectBase *frmSelectBase;
