#include "ui/frame_base.h"

#include "grid/widget/ziv_grid.h"

#include <QVBoxLayout>

namespace {

// Frames inside plain containers count as nested directly; a frame's own frames are its to
// refresh.
void refreshNestedFrames(const QObject &parent)
{
    for (QObject *child : parent.children()) {
        if (auto *frame = qobject_cast<TframeBase *>(child))
            frame->refresh();
        else
            refreshNestedFrames(*child);
    }
}

} // namespace

TframeBase::TframeBase(QWidget *parent) : QFrame(parent)
{
    resize(320, 240);
}

void TframeBase::refresh()
{
    refreshNestedFrames(*this);
}

TframeList::TframeList(QWidget *parent) : TframeBase(parent), lstList(new ZIVGrid(this))
{
    lstList->setObjectName("lstList");
    lstList->SetHeaders({"id"});
    lstList->SetHeadersString("frameList");
    lstList->SetSorted(true);
    lstList->setSelectionColor(clHighlight);
    lstList->setCellColor(clWhite);
    lstList->setDefaultColWidth(70);
    lstList->setDefaultRowHeight(15);
    lstList->Loaded();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lstList);
}

void TframeList::refresh()
{
    TframeBase::refresh();
}

void TframePlayerInfoBase::refresh()
{
    TframeBase::refresh();
}
