#pragma once

// Disables a button, menu item or other control while it lives and enables it again at the
// end, also on an error. A handler that waits for the service keeps the window's events going,
// so without it a second press would start the same work inside the first (a modal dialog
// cannot even open a second time).
template <typename Control> class DisabledWhile
{
public:
    explicit DisabledWhile(Control *control) : control_(control) { control_->setEnabled(false); }
    ~DisabledWhile() { control_->setEnabled(true); }
    DisabledWhile(const DisabledWhile &) = delete;
    DisabledWhile &operator=(const DisabledWhile &) = delete;

private:
    Control *control_;
};
