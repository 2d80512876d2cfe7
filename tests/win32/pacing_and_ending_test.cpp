// Pacing carried out: frames never end before their number of pump quanta,
// the thread sleeps between them, and messages are handled while it waits. And
// the one way of ending: every way of leaving, during nested pumps, unwinds
// them all and leaves the message loop with status 0.
#include "win32_test_support.h"

#include "toolkit/errors.h"
#include "toolkit/pacer.h"

#include <chrono>
#include <optional>
#include <thread>

namespace win32_test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono;

using Pacing = GameOnWin32;

// What a run of frames did, read without judging the machine's speed: the
// time it took at least, and the waits it slept in.
struct FramesRun {
    Clock::duration elapsed;
    std::uint64_t sleeps, timer_wakes;
};

FramesRun run_frames(Win32Runtime& runtime, int frames, int pumps_per_frame) {
    // Pumps of the fixture, if any, are left more than the pacer's lag
    // behind, so its budget starts afresh at the first pump here.
    Sleep(static_cast<DWORD>(duration_cast<milliseconds>(toolkit::Pacer::kMaxLag).count()) + 20);
    const toolkit::win32::DeadlineTimer& timer = runtime.deadline_timer();
    const std::uint64_t sleeps = timer.sleeps(), wakes = timer.timer_wakes();
    const auto before = Clock::now();
    runtime.dispatch([&] {
        for (int f = 0; f < frames; ++f) {
            for (int p = 0; p < pumps_per_frame; ++p) runtime.pump();
            runtime.end_frame();
        }
    });
    return {Clock::now() - before, timer.sleeps() - sleeps, timer.timer_wakes() - wakes};
}

// However slow or busy the machine, frames never end before their quanta
// are due (a load only makes them later), and the thread waits for the
// deadlines asleep: the timer wakes it, and it goes to sleep a few times a
// frame at most, where a loop that spun on the queue or on a timer set
// wrongly would go thousands of times. How close to their deadlines the
// frames end is a figure of the benchmark (bench/x_figures.sh, the turn
// periods under Wine), not a test.
TEST_F(Pacing, frames_never_end_before_their_quanta_and_the_thread_sleeps_between_them) {
    constexpr int kFrames = 20, kPumpsPerFrame = 33300;  // the longest delay the prompt takes
    const FramesRun run = run_frames(runtime, kFrames, kPumpsPerFrame);
    // The budget is due from the first check of the clock, a check's quanta in.
    const auto due = microseconds(kFrames * kPumpsPerFrame - toolkit::Pacer::kPumpsPerCheck);
    EXPECT_GE(run.elapsed, due);
    EXPECT_GE(run.timer_wakes, 1u);
    EXPECT_LE(run.sleeps, 4u * kFrames);
}

// A message-only window that notes, when its message is handled, how often
// the runtime's timer had woken the thread by then.
struct Listener {
    static inline const toolkit::win32::DeadlineTimer* timer = nullptr;
    static inline std::optional<std::uint64_t> timer_wakes_when_handled;
    static LRESULT CALLBACK procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
        if (message == WM_APP) timer_wakes_when_handled = timer->timer_wakes();
        return DefWindowProcW(w, message, wp, lp);
    }
    explicit Listener(const toolkit::win32::DeadlineTimer& deadline_timer) {
        timer = &deadline_timer;
        timer_wakes_when_handled.reset();
        WNDCLASSW c{};
        c.lpfnWndProc = procedure;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"bounzo_test_listener";
        RegisterClassW(&c);
        window = CreateWindowExW(0, c.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, c.hInstance, nullptr);
    }
    ~Listener() { DestroyWindow(window); }
    HWND window;
};

// A message posted by another thread 4 ms into a 33.3 ms frame (the longest
// delay) is handled as it arrives, not when the wait is over: before the
// timer wakes the thread for the frame's deadline, the one wake-up a frame
// that runs ahead has.
TEST_F(Pacing, a_message_is_handled_while_the_frame_waits_for_its_deadline) {
    Listener listener(runtime.deadline_timer());
    const std::uint64_t wakes_before = runtime.deadline_timer().timer_wakes();
    std::thread poster([&] {
        std::this_thread::sleep_for(milliseconds(4));
        PostMessageW(listener.window, WM_APP, 0, 0);
    });
    runtime.dispatch([&] {
        for (int p = 0; p < 33300; ++p) runtime.pump();
        runtime.end_frame();
    });
    poster.join();
    ASSERT_TRUE(Listener::timer_wakes_when_handled) << "the message was not handled during the frame";
    EXPECT_EQ(*Listener::timer_wakes_when_handled, wakes_before);
}

// Pumps until the program ends, `depth` loops nested in each other's pumps,
// as racket clicks nest rallies; counts the levels that unwound.
void nested_loops(Win32Runtime& runtime, int depth, int& unwound, const std::function<void()>& leave) {
    try {
        for (int p = 0;; ++p) {
            runtime.pump();
            if (p == 500 && depth > 1) runtime.dispatch([&] { nested_loops(runtime, depth - 1, unwound, leave); });
            if (p == 500 && depth == 1) leave();
        }
    } catch (const toolkit::ProgramEnding&) {
        ++unwound;
        throw;
    }
}

TEST(Ending, every_way_of_leaving_during_nested_loops_unwinds_them_all_and_ends_with_status_0) {
    const struct {
        const char* way;
        std::function<void(forms::Program&, Win32Runtime&)> leave;
    } ways[] = {
        {"ВЫЙТИ", [](forms::Program& g, Win32Runtime& rt) {
             PostMessageW(rt.window_of(g.hello())->window_of(g.hello().CommandButton2), BM_CLICK, 0, 0);
         }},
        {"court closed", [](forms::Program& g, Win32Runtime& rt) { PostMessageW(rt.window_of(g.court())->handle(), WM_CLOSE, 0, 0); }},
        {"welcome closed", [](forms::Program& g, Win32Runtime& rt) { PostMessageW(rt.window_of(g.hello())->handle(), WM_CLOSE, 0, 0); }},
        {"Alt+F4 on the court", [](forms::Program& g, Win32Runtime& rt) {
             PostMessageW(rt.window_of(g.court())->handle(), WM_SYSKEYDOWN, VK_F4, LPARAM{1} | (LPARAM{1} << 29));
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        Win32Runtime runtime;
        forms::Program game(runtime);
        game.start();
        // Asked for after the ending, a form slot would make the form anew.
        const toolkit::Form& court = game.court();
        const toolkit::Form& hello = game.hello();
        int unwound = 0;
        runtime.dispatch([&] { nested_loops(runtime, 3, unwound, [&] { w.leave(game, runtime); }); });
        EXPECT_EQ(unwound, 3);
        EXPECT_TRUE(runtime.ending());
        EXPECT_FALSE(runtime.window_of(court));
        EXPECT_FALSE(runtime.window_of(hello));
        EXPECT_EQ(runtime.run(), 0);
    }
}

}  // namespace
}  // namespace win32_test
