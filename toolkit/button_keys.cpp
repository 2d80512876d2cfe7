#include "toolkit/button_keys.h"

namespace toolkit {

bool ButtonKeys::press(int key, bool repeat) {
    // A repeat of a key the button did not see go down, or a second key while
    // one is held, presses nothing.
    if (repeat || held_) return false;
    held_ = key;
    return true;
}

bool ButtonKeys::release(int key, bool repeat) {
    if (repeat || held_ != key) return false;
    held_.reset();
    return true;
}

}  // namespace toolkit
