#pragma once

#include "ui/frame_base.h"

// The live-match manager that fills the Live page.
class TframeLive : public TframeBase
{
    Q_OBJECT

public:
    explicit TframeLive(QWidget *parent = nullptr) : TframeBase(parent) {}
};
