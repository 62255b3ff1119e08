#pragma once

#include <QFrame>

// Base of every embedded panel: the player list, the abilities panel and the live frames.
class TframeBase : public QFrame
{
    Q_OBJECT

public:
    explicit TframeBase(QWidget *parent = nullptr) : QFrame(parent) {}
};
