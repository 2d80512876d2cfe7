// Pacing carried out: frames end their number of pump quanta apart, the
// thread sleeps between them, and messages are handled while it waits. And
// the one way of ending: every way of leaving, during nested pumps, unwinds
// them all and leaves the message loop with status 0.
#include "win32_test_support.h"

#include "toolkit/errors.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace win32_test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono;

using Pacing = GameOnWin32;

double cpu_seconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

TEST_F(Pacing, frames_end_their_quanta_apart_and_the_thread_sleeps_between_them) {
    constexpr int kFrames = 60, kPumpsPerFrame = 3330;  // the shortest delay the prompt takes
    std::vector<Clock::time_point> ends;
    const double cpu_before = cpu_seconds();
    const auto wall_before = Clock::now();
    runtime.dispatch([&] {
        for (int f = 0; f < kFrames; ++f) {
            for (int p = 0; p < kPumpsPerFrame; ++p) runtime.pump();
            runtime.end_frame();
            ends.push_back(Clock::now());
        }
    });
    const double wall = duration<double>(Clock::now() - wall_before).count();
    // Frame i is due i frames after the first frame's deadline and never ends
    // before it: its end less i frames is that deadline plus its lateness.
    // A stall of over 100 ms (a busy machine) restarts the budget, and all
    // later deadlines with it, so each frame is measured against the
    // earliest of itself and the frames after it. Most frames come within a
    // millisecond of their deadlines; frames that ran ahead of the clock
    // would drift below later ones, and frames that wait too long make
    // periods longer than their quanta.
    std::vector<double> offsets, lateness, periods;
    for (std::size_t i = 0; i < ends.size(); ++i)
        offsets.push_back(duration<double, std::micro>(ends[i] - ends[0]).count() - static_cast<double>(i) * kPumpsPerFrame);
    double earliest_after = offsets.back();
    for (std::size_t i = offsets.size(); i-- > 0;) {
        earliest_after = std::min(earliest_after, offsets[i]);
        lateness.push_back(offsets[i] - earliest_after);
        if (i > 0) periods.push_back(offsets[i] - offsets[i - 1] + kPumpsPerFrame);
    }
    const auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    EXPECT_LT(median(lateness), 1000.0);  // µs
    EXPECT_LT(median(periods), kPumpsPerFrame * 1.1);
    EXPECT_LT((cpu_seconds() - cpu_before) / wall, 0.6);
}

TEST_F(Pacing, a_message_is_handled_while_the_frame_waits_for_its_deadline) {
    HWND court_window = window(court).handle();
    Clock::time_point handled{}, posted_at{};
    // Posted from another thread 4 ms into a 33.3 ms frame (the longest
    // delay): handled at once, not when the frame ends 29 ms later. The
    // bound leaves room for a busy machine.
    std::thread poster([&] {
        std::this_thread::sleep_for(milliseconds(4));
        posted_at = Clock::now();
        PostMessageW(court_window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 250));
    });
    const float before = court.b_racket.left();
    runtime.dispatch([&] {
        for (int p = 0; p < 33300; ++p) {
            runtime.pump();
            if (handled == Clock::time_point{} && court.b_racket.left() != before) handled = Clock::now();
        }
        runtime.end_frame();
        if (handled == Clock::time_point{} && court.b_racket.left() != before) handled = Clock::now();
    });
    poster.join();
    ASSERT_NE(handled, Clock::time_point{}) << "the move was never handled";
    const double latency_ms = duration<double, std::milli>(handled - posted_at).count();
    EXPECT_LT(latency_ms, 12.0);
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
