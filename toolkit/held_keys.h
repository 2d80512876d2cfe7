#pragma once

#include <cstdint>
#include <map>

namespace toolkit {

// The keys of the keyboard that are down, by scan code, for a platform that
// reports the keyboard's repeats of a held key as plain presses: a press of
// a key already down is a repeat. Whatever window had the key when it went
// down, its repeats stay repeats for every window that gets them later.
class HeldKeys {
public:
    // Returns whether the press repeats a key already down.
    bool press(std::uint32_t code);
    void release(std::uint32_t code) { presses_.erase(code); }
    // Whether the latest press of the key was a repeat.
    bool repeating(std::uint32_t code) const;
    // Keeps only the keys `down` says are down: releases that went to
    // another program while it had the keyboard are never seen.
    template <typename IsDown>
    void keep_only(IsDown down) {
        std::erase_if(presses_, [&](const auto& key) { return !down(key.first); });
    }

private:
    std::map<std::uint32_t, int> presses_;  // presses since the key went down
};

}  // namespace toolkit
