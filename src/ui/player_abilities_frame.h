#pragma once

#include "ui/frame_base.h"

// The level words of one player's skills.
class TframePlayerAbilities : public TframeBase
{
    Q_OBJECT

public:
    explicit TframePlayerAbilities(QWidget *parent = nullptr) : TframeBase(parent) {}
};
