#pragma once

#include "grid/core/grid_core.h"

#include <exception>

// The update bracket as a scope: beginUpdate on construction, endUpdate when the scope ends,
// also when an exception leaves it. Every list rebuild goes through one.
class ZIVGridUpdate
{
public:
    explicit ZIVGridUpdate(ZIVGridCore &grid) : grid_(grid), exceptions_(std::uncaught_exceptions())
    {
        grid_.beginUpdate();
    }
    // A failing endUpdate on the normal path reaches the caller; while another exception is
    // already on its way out, that one wins and the second is dropped.
    ~ZIVGridUpdate() noexcept(false)
    {
        if (std::uncaught_exceptions() == exceptions_) {
            grid_.endUpdate();
            return;
        }
        try {
            grid_.endUpdate();
        } catch (...) {
        }
    }
    ZIVGridUpdate(const ZIVGridUpdate &) = delete;
    ZIVGridUpdate &operator=(const ZIVGridUpdate &) = delete;

private:
    ZIVGridCore &grid_;
    int exceptions_;
};
