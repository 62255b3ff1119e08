#pragma once

#include "ui/select_base_dialog.h"

// The team search.
class TfrmSelectTeam : public TfrmSelectBase
{
    Q_OBJECT

public:
    explicit TfrmSelectTeam(QWidget *parent = nullptr) : TfrmSelectBase(parent) {}
};

extern TfrmSelectTeam *frmSelectTeam;
