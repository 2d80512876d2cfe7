#include "toolkit/errors.h"
#include "toolkit/form.h"
#include "toolkit/form_slot.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using toolkit::Form;
using toolkit::FormSlot;
using toolkit::InputBoxRequest;
using toolkit::ProgramEnding;
using toolkit::RunTimeError;
using toolkit::ScriptedRuntime;

using Lines = std::vector<std::string>;

// A form that says when its object is destroyed, so a test can tell a live
// object from a dangling one without a sanitizer.
class TraceForm : public Form {
public:
    TraceForm(std::string name, bool* destroyed = nullptr)
        : Form(std::move(name), toolkit::FormLook{}), destroyed_(destroyed) {}
    ~TraceForm() override {
        if (destroyed_) *destroyed_ = true;
    }
    int score = 7;

private:
    bool* destroyed_;
};

std::size_t count_of(const Lines& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

// --- dispatch: the error boundary ------------------------------------------

TEST(Dispatch, a_run_time_error_in_a_handler_is_reported_and_goes_no_further) {
    ScriptedRuntime rt;
    bool after = false;
    EXPECT_NO_THROW(rt.dispatch([&] {
        throw RunTimeError("Переполнение");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(rt.calls(), (Lines{"error Переполнение"}));
    EXPECT_FALSE(rt.ending());
}

TEST(Dispatch, any_other_exception_is_reported_with_its_message) {
    ScriptedRuntime rt;
    rt.dispatch([] { throw std::logic_error("сбой"); });
    rt.dispatch([] { throw std::out_of_range("за пределами"); });
    EXPECT_EQ(rt.calls(), (Lines{"error сбой", "error за пределами"}));
}

TEST(Dispatch, a_thrown_non_exception_is_reported_too) {
    ScriptedRuntime rt;
    EXPECT_NO_THROW(rt.dispatch([] { throw 42; }));
    ASSERT_EQ(rt.calls().size(), 1u);
    EXPECT_EQ(rt.calls()[0].rfind("error ", 0), 0u);
}

TEST(Dispatch, an_error_abandons_only_its_own_handler) {
    ScriptedRuntime rt;
    Lines ran;
    rt.at_pump(1, [&] { throw RunTimeError("первая"); });
    rt.at_pump(1, [&] { ran.push_back("second event"); });
    rt.at_pump(2, [&] { ran.push_back("next pump"); });
    EXPECT_NO_THROW(rt.pump());
    EXPECT_NO_THROW(rt.pump());
    EXPECT_EQ(ran, (Lines{"second event", "next pump"}));
    EXPECT_EQ(rt.calls_starting_with("error"), (Lines{"error первая"}));
}

TEST(Dispatch, an_error_inside_a_nested_handler_leaves_the_outer_loop_running) {
    ScriptedRuntime rt;
    int turns = 0;
    rt.at_pump(3, [] { throw RunTimeError("вложенная"); });
    rt.dispatch([&] {
        for (; turns < 10; ++turns) rt.pump();
    });
    EXPECT_EQ(turns, 10);
    EXPECT_EQ(rt.calls_starting_with("error"), (Lines{"error вложенная"}));
}

// --- ending the program ------------------------------------------------------

TEST(Ending, after_end_program_pump_and_input_box_throw_program_ending) {
    ScriptedRuntime rt;
    rt.script_answers({"50"});
    rt.end_program();
    EXPECT_TRUE(rt.ending());
    EXPECT_THROW(rt.pump(), ProgramEnding);
    EXPECT_THROW(rt.input_box(InputBoxRequest{}), ProgramEnding);
    EXPECT_EQ(rt.pumps(), 0u);
    EXPECT_TRUE(rt.calls_starting_with("input_box").empty());
}

TEST(Ending, the_ending_is_announced_once_however_often_it_is_asked_for) {
    ScriptedRuntime rt;
    rt.end_program();
    rt.end_program();
    EXPECT_EQ(rt.calls(), (Lines{"ending"}));
}

TEST(Ending, dispatch_swallows_program_ending_silently) {
    ScriptedRuntime rt;
    rt.end_program();
    bool after = false;
    EXPECT_NO_THROW(rt.dispatch([&] {
        rt.pump();
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(rt.calls_starting_with("error").empty());
}

TEST(Ending, an_event_that_ends_the_program_makes_its_pump_throw) {
    ScriptedRuntime rt;
    bool later_event_ran = false;
    rt.at_pump(1, [&] { rt.end_program(); });
    rt.at_pump(2, [&] { later_event_ran = true; });
    EXPECT_THROW(rt.pump(), ProgramEnding);
    EXPECT_THROW(rt.pump(), ProgramEnding);
    EXPECT_FALSE(later_event_ran);
    EXPECT_EQ(rt.pumps(), 1u);
}

TEST(Ending, nested_loops_all_unwind_without_an_error) {
    ScriptedRuntime rt;
    Lines unwound;
    // An outer loop whose pump 3 starts an inner loop; pump 6 ends the program.
    rt.at_pump(3, [&] {
        struct Mark {
            Lines& l;
            ~Mark() { l.push_back("inner"); }
        } mark{unwound};
        for (;;) rt.pump();
    });
    rt.at_pump(6, [&] { rt.end_program(); });
    rt.dispatch([&] {
        struct Mark {
            Lines& l;
            ~Mark() { l.push_back("outer"); }
        } mark{unwound};
        for (;;) rt.pump();
    });
    EXPECT_EQ(unwound, (Lines{"inner", "outer"}));
    EXPECT_EQ(rt.pumps(), 6u);
    EXPECT_TRUE(rt.calls_starting_with("error").empty());
    EXPECT_EQ(count_of(rt.calls(), "ending"), 1u);
}

TEST(Ending, an_input_box_with_no_answer_left_ends_the_program) {
    ScriptedRuntime rt;
    rt.script_answers({"50"});
    EXPECT_EQ(rt.input_box(InputBoxRequest{}), "50");
    EXPECT_THROW(rt.input_box(InputBoxRequest{}), ProgramEnding);
    EXPECT_TRUE(rt.ending());
}

TEST(Ending, unloading_the_last_loaded_form_ends_the_program) {
    ScriptedRuntime rt;
    TraceForm a("frm_a"), b("frm_b");
    rt.load(a);
    rt.load(b);
    rt.unload(a);
    EXPECT_FALSE(rt.ending());
    EXPECT_EQ(count_of(rt.calls(), "ending"), 0u);
    rt.unload(b);
    EXPECT_TRUE(rt.ending());
    EXPECT_EQ(rt.calls(), (Lines{"load frm_a", "load frm_b", "unload frm_a", "unload frm_b", "ending"}));
}

// --- FormSlot: the one instance of a form -------------------------------------

FormSlot<TraceForm> slot_for(ScriptedRuntime& rt, const std::string& name, int* made = nullptr,
                             bool* destroyed = nullptr) {
    return FormSlot<TraceForm>(rt, [=] {
        if (made) ++*made;
        return std::make_unique<TraceForm>(name, destroyed);
    });
}

TEST(FormSlot, the_form_is_created_and_loaded_once_on_first_use) {
    ScriptedRuntime rt;
    int made = 0;
    auto slot = slot_for(rt, "frm_x", &made);
    EXPECT_FALSE(slot.loaded());
    EXPECT_EQ(made, 0);
    TraceForm& first = slot();
    TraceForm& second = slot();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(slot.loaded());
    EXPECT_EQ(rt.calls(), (Lines{"load frm_x"}));
}

TEST(FormSlot, an_unloaded_form_stays_readable_through_a_reference_taken_before) {
    ScriptedRuntime rt;
    bool destroyed = false;
    {
        auto other = slot_for(rt, "frm_other");
        other();
        auto slot = slot_for(rt, "frm_x", nullptr, &destroyed);
        TraceForm& form = slot();
        form.score = 12;
        slot.unload();
        EXPECT_FALSE(slot.loaded());
        EXPECT_FALSE(destroyed);
        EXPECT_EQ(form.score, 12);
        EXPECT_EQ(form.name(), "frm_x");
    }
    EXPECT_TRUE(destroyed);  // freed with its slot, not leaked
}

TEST(FormSlot, a_second_unload_is_harmless) {
    ScriptedRuntime rt;
    auto a = slot_for(rt, "frm_a");
    auto b = slot_for(rt, "frm_b");
    a();
    b();
    a.unload();
    a.unload();
    EXPECT_FALSE(rt.ending());  // frm_b is still loaded
    b.unload();
    b.unload();
    EXPECT_EQ(rt.calls(), (Lines{"load frm_a", "load frm_b", "unload frm_a", "unload frm_b", "ending"}));
}

TEST(FormSlot, unloading_a_form_never_used_does_nothing) {
    ScriptedRuntime rt;
    int made = 0;
    auto slot = slot_for(rt, "frm_x", &made);
    slot.unload();
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(rt.calls().empty());
    EXPECT_FALSE(rt.ending());
}

TEST(FormSlot, using_a_form_again_after_unload_creates_a_fresh_one) {
    ScriptedRuntime rt;
    int made = 0;
    auto keep = slot_for(rt, "frm_keep");
    keep();
    bool old_destroyed = false;
    auto slot = FormSlot<TraceForm>(rt, [&] {
        // Only the first instance reports its destruction.
        return std::make_unique<TraceForm>("frm_x", made++ == 0 ? &old_destroyed : nullptr);
    });
    TraceForm& old_form = slot();
    old_form.score = 99;
    slot.unload();
    TraceForm& new_form = slot();
    EXPECT_NE(&old_form, &new_form);
    EXPECT_EQ(new_form.score, 7);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(count_of(rt.calls(), "load frm_x"), 2u);
    // Unloading the fresh one too keeps every retired instance alive.
    slot.unload();
    EXPECT_FALSE(old_destroyed);
    EXPECT_EQ(old_form.score, 99);
}

TEST(FormSlot, a_loop_still_running_when_its_form_is_unloaded_unwinds_safely) {
    ScriptedRuntime rt;
    bool destroyed = false;
    auto slot = slot_for(rt, "frm_court", nullptr, &destroyed);
    int reads_after_unload = 0;
    rt.at_pump(4, [&] { slot.unload(); });
    rt.dispatch([&] {
        TraceForm& court = slot();
        for (;;) {
            try {
                rt.pump();
            } catch (const ProgramEnding&) {
                // The loop's own frame still reads its form while it unwinds.
                reads_after_unload += court.score;
                throw;
            }
        }
    });
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(reads_after_unload, 7);
    EXPECT_TRUE(rt.calls_starting_with("error").empty());
    EXPECT_EQ(rt.calls(), (Lines{"load frm_court", "unload frm_court", "ending"}));
}

}  // namespace
