#pragma once

#include "toolkit/runtime.h"

#include <functional>
#include <memory>
#include <vector>

namespace toolkit {

// The one instance of a form: created, unshown, on first use. An unloaded form
// loses its window at once but its object lives on until the slot goes, so a
// rally loop that is still unwinding never reads a destroyed control.
template <class F>
class FormSlot {
public:
    FormSlot(Runtime& runtime, std::function<std::unique_ptr<F>()> make)
        : runtime_(runtime), make_(std::move(make)) {}

    F& operator()() {
        if (!form_) {
            form_ = make_();
            runtime_.load(*form_);
        }
        return *form_;
    }

    bool loaded() const { return form_ != nullptr; }

    void unload() {
        if (!form_) return;
        // Retire first: unloading the last form ends the program.
        retired_.push_back(std::move(form_));
        runtime_.unload(*retired_.back());
    }

private:
    Runtime& runtime_;
    std::function<std::unique_ptr<F>()> make_;
    std::unique_ptr<F> form_;
    std::vector<std::unique_ptr<F>> retired_;
};

}  // namespace toolkit
