#pragma once

#include "ui/select_base_dialog.h"

// The match search.
class TfrmSelectMatches : public TfrmSelectBase
{
    Q_OBJECT

public:
    explicit TfrmSelectMatches(QWidget *parent = nullptr) : TfrmSelectBase(parent) {}
};

extern TfrmSelectMatches *frmSelectMatches;
