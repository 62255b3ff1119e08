#pragma once

#include <QFrame>

class Player;
class ZIVGrid;

// Base of every embedded panel: the player list, the abilities panel and the live frames.
// The refresh chain is not virtual: each derived frame's refresh first calls its base's.
class TframeBase : public QFrame
{
    Q_OBJECT

public:
    explicit TframeBase(QWidget *parent = nullptr);

    // Refreshes each frame nested directly inside this one; nothing else.
    void refresh();
};

// A frame filled by one grid, `lstList`.
class TframeList : public TframeBase
{
    Q_OBJECT

public:
    explicit TframeList(QWidget *parent = nullptr);

    void refresh();

    ZIVGrid *lstList;
};

// A frame that shows one player; it keeps the player, it does not own or watch him.
class TframePlayerInfoBase : public TframeBase
{
    Q_OBJECT

public:
    explicit TframePlayerInfoBase(QWidget *parent = nullptr) : TframeBase(parent) {}

    // Keeps the player; the frame shows him at its next refresh.
    void setPlayer(Player *shown) { player = shown; }
    void refresh();

    Player *player = nullptr;
};
