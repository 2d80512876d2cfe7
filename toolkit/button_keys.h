#pragma once

#include <optional>

namespace toolkit {

// How a push button takes the keys that press it (Space, Enter): a key sends
// it down once and clicks it once, on that key's own release, however long
// the key is held. The keyboard's repeats change nothing, and a release
// whose press the button never saw (the key went down on a box that has
// gone since) does nothing. A backend feeds it the button's key events and
// carries out what it answers.
class ButtonKeys {
public:
    // A pressing key went down; `repeat` when the keyboard repeats a key
    // that is held. Returns whether the button goes down.
    bool press(int key, bool repeat);
    // A pressing key came up; `repeat` for the release some keyboards send
    // between two repeats. Returns whether the button clicks.
    bool release(int key, bool repeat);
    // The button lost the keyboard: the key held gives no click.
    void forget() { held_.reset(); }
    bool held() const { return held_.has_value(); }

private:
    std::optional<int> held_;
};

}  // namespace toolkit
