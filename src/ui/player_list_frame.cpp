#include "ui/player_list_frame.h"

#include "grid/widget/ziv_grid.h"

#include <QVBoxLayout>

TframeListPlayers::TframeListPlayers(QWidget *parent) : TframeBase(parent), lstList(new ZIVGrid(this))
{
    setObjectName("frPlayers");
    lstList->setObjectName("lstList");
    lstList->Loaded();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstList);
}
