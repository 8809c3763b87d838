#pragma once

// A control whose display surfaces show a hot look while the pointer is over
// them. The leave-tracking hook calls PreMouseLeave when the pointer has left
// the surface the control armed tracking for.
class iLeaveTracked {
public:
    virtual ~iLeaveTracked() = default;
    virtual void PreMouseLeave() = 0;
};
