#include "toolkit/errors.h"
#include "toolkit/form.h"
#include "toolkit/form_slot.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace toolkit;
using Lines = std::vector<std::string>;

// Counts its destructions, so a test can tell a live object from a dangling
// or a leaked one without a sanitizer.
struct TraceForm : Form {
    TraceForm(std::string name, int& destroyed) : Form(std::move(name), FormLook{}), destroyed_(destroyed) {}
    ~TraceForm() override { ++destroyed_; }
    int& destroyed_;
    int score = 7;
};

FormSlot<TraceForm> slot_for(ScriptedRuntime& rt, const std::string& name, int& destroyed) {
    return FormSlot<TraceForm>(rt, [name, &destroyed] { return std::make_unique<TraceForm>(name, destroyed); });
}

// Pumps until the program ends; while unwinding, reads its form's name into `unwound`.
void loop_until_the_end(ScriptedRuntime& rt, Lines& unwound, const Form& form) {
    try {
        for (;;) rt.pump();
    } catch (const ProgramEnding&) {
        unwound.push_back(form.name());
        throw;
    }
}

TEST(Dispatch, an_error_is_reported_and_abandons_only_its_own_handler) {
    ScriptedRuntime rt;
    Lines ran;
    rt.at_pump(1, [] { throw RunTimeError("первая"); });
    rt.at_pump(1, [&] { ran.push_back("second event"); });
    rt.at_pump(2, [] { throw std::out_of_range("за пределами"); });
    rt.at_pump(3, [] { throw 42; });
    rt.dispatch([&] {
        for (int turn = 0; turn < 10; ++turn) rt.pump();
        ran.push_back("outer loop done");
    });
    EXPECT_EQ(ran, (Lines{"second event", "outer loop done"}));
    const Lines errors = rt.calls_starting_with("error ");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(Lines(errors.begin(), errors.begin() + 2), (Lines{"error первая", "error за пределами"}));
    EXPECT_FALSE(rt.ending());
}

TEST(Ending, a_pump_or_an_input_box_during_which_the_program_ends_throws_on_return) {
    ScriptedRuntime pumping, asking;
    pumping.at_pump(1, [&] { pumping.end_program(); });
    EXPECT_THROW(pumping.pump(), ProgramEnding);
    EXPECT_EQ(pumping.pumps(), 1u);
    asking.script_answers({"50"});
    EXPECT_EQ(asking.input_box({}), "50");
    EXPECT_THROW(asking.input_box({}), ProgramEnding);  // no answer left: the box ends the program
}

// Unloading the last form in an event ends the program: every loop unwinds, and
// may still read its unloaded form on the way out.
TEST(Ending, an_event_that_ends_the_program_unwinds_all_nested_loops_silently) {
    ScriptedRuntime rt;
    int destroyed = 0;
    auto court = slot_for(rt, "frm_court", destroyed), hello = slot_for(rt, "frm_hello", destroyed);
    Lines unwound;
    rt.at_pump(3, [&] { loop_until_the_end(rt, unwound, hello()); });
    rt.at_pump(6, [&] { court.unload(); hello.unload(); });
    rt.dispatch([&] { loop_until_the_end(rt, unwound, court()); });
    EXPECT_EQ(unwound, (Lines{"frm_hello", "frm_court"}));
    EXPECT_EQ(destroyed, 0);
    // Once ended, every pump and input box throws at once, and a second end is not announced again.
    rt.end_program();
    EXPECT_THROW(rt.pump(), ProgramEnding);
    EXPECT_THROW(rt.input_box({}), ProgramEnding);
    EXPECT_EQ(rt.pumps(), 6u);  // none after the one whose event ended the program
    EXPECT_EQ(rt.calls(),  // and no error was reported
              (Lines{"load frm_court", "load frm_hello", "unload frm_court", "unload frm_hello", "ending"}));
}

TEST(FormSlot, a_form_is_made_on_first_use_and_after_each_unload_and_the_last_unload_ends_the_program) {
    ScriptedRuntime rt;
    int kept_destroyed = 0, destroyed = 0;
    auto keep = slot_for(rt, "frm_keep", kept_destroyed);
    keep();
    {
        auto never_used = slot_for(rt, "frm_never", destroyed), slot = slot_for(rt, "frm_x", destroyed);
        TraceForm& first = slot();
        EXPECT_EQ(&slot(), &first);
        first.score = 12;
        never_used.unload();
        slot.unload();
        slot.unload();  // a second unload is harmless
        EXPECT_FALSE(slot.loaded());
        TraceForm& second = slot();
        EXPECT_NE(&second, &first);
        EXPECT_EQ(second.score, 7);
        slot.unload();
        EXPECT_EQ(destroyed, 0);  // still readable through a reference taken before
        EXPECT_EQ(first.score, 12);
    }
    EXPECT_EQ(destroyed, 2);  // freed with their slot, not leaked
    keep.unload();
    EXPECT_EQ(rt.calls(), (Lines{"load frm_keep", "load frm_x", "unload frm_x", "load frm_x", "unload frm_x",
                                 "unload frm_keep", "ending"}));
}

// A pacing backend as far as pumping goes: each pump that reaches it counts
// itself and those let pass before it, then lets the next `batch - 1` pass.
// Its n-th call may run a nested loop, as a click during a pump does.
class PassingRuntime : public Runtime {
public:
    explicit PassingRuntime(std::uint32_t batch) : batch_(batch) {}
    std::uint64_t calls = 0, counted = 0;
    std::uint64_t nest_at_call = 0;
    std::function<void()> nested_loop;

    float rnd() override { return 0; }
    void randomize(float) override {}
    float timer() override { return 0; }

private:
    void attach_form(Form&) override {}
    void detach_form(Form&) override {}
    void show_form(Form&, const Form*) override {}
    void hide_form(Form&) override {}
    std::string ask(const InputBoxRequest&) override { return {}; }
    void pump_events() override {
        counted += take_passed_pumps() + 1;
        if (++calls == nest_at_call) dispatch(nested_loop);
        let_pumps_pass(batch_ - 1);
    }
    void finish_frame() override { counted += take_passed_pumps(); }
    void report_unhandled(const std::string&) override {}
    void program_ending() override {}

    std::uint32_t batch_;
};

TEST(Pumping, pumps_let_pass_skip_the_backend_yet_each_is_counted_once_nested_or_not) {
    const struct {
        const char* what;
        std::uint64_t outer_pumps, nest_at_call, nested_pumps, calls;
    } table[] = {
        {"whole batches", 100, 0, 0, 10},
        {"a frame ending inside a batch", 95, 0, 0, 10},
        {"a nested loop at the third call", 100, 3, 25, 13},
        {"a nested loop shorter than a batch", 100, 3, 4, 11},
    };
    // Pumping one by one and pumping many in one call are the same pumps.
    for (const bool in_one_call : {false, true}) {
        const auto pump_times = [&](PassingRuntime& rt, std::uint64_t times) {
            if (in_one_call) return rt.pump_times(times);
            for (std::uint64_t i = 0; i < times; ++i) rt.pump();
        };
        for (const auto& row : table) {
            SCOPED_TRACE(std::string(row.what) + (in_one_call ? ", in one call" : ", one by one"));
            PassingRuntime rt(10);
            rt.nest_at_call = row.nest_at_call;
            rt.nested_loop = [&] {
                pump_times(rt, row.nested_pumps);
                rt.end_frame();
            };
            pump_times(rt, row.outer_pumps);
            rt.end_frame();
            EXPECT_EQ(rt.counted, row.outer_pumps + row.nested_pumps);
            EXPECT_EQ(rt.calls, row.calls);
        }
    }
}

TEST(Pumping, once_the_program_is_ending_a_pump_let_pass_throws_as_any_other) {
    PassingRuntime rt(250);
    rt.pump();
    rt.pump();
    rt.end_program();
    EXPECT_THROW(rt.pump(), ProgramEnding);
    EXPECT_THROW(rt.pump_times(3), ProgramEnding);
}

TEST(Pumping, a_program_ending_inside_many_pumps_in_one_call_stops_them_at_that_pump) {
    PassingRuntime rt(10);
    rt.nest_at_call = 3;
    rt.nested_loop = [&] { rt.end_program(); };
    EXPECT_THROW(rt.pump_times(1000), ProgramEnding);
    EXPECT_EQ(rt.calls, 3u);
    EXPECT_EQ(rt.counted, 21u);  // two batches of ten, and the pump that ended it
}

}  // namespace
