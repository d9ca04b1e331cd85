#pragma once
// "Data changed, redraw": an input window raises it after a save; windows that show saved data
// (the month calendar) listen. The listeners run at once, in the order they started listening;
// an error raised by one reaches the raising window, which traps it as it traps its own.

#include <functional>

namespace hb {

// Listening lasts as long as the object.
class DataChangedListener {
public:
    DataChangedListener() = default;
    explicit DataChangedListener(std::function<void()> redraw);
    ~DataChangedListener();
    DataChangedListener(const DataChangedListener &) = delete;
    DataChangedListener &operator=(const DataChangedListener &) = delete;

private:
    int id_ = 0;
};

// Calls every listener.
void dataChanged();

}  // namespace hb
