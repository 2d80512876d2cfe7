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

// Timings on a machine that others share: a measurement is taken up to
// three times, and the best is judged. A fault in the pacing fails all three.
constexpr int kAttempts = 3;

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

struct FrameTimes {
    double lateness_us, period_us, cpu_share;
    bool good(double quanta) const { return lateness_us < 1000 && period_us < quanta * 1.1 && cpu_share < 0.6; }
};

// Frame i is due i frames after the first frame's deadline and never ends
// before it: its end less i frames is that deadline plus its lateness. A
// stall of over 100 ms restarts the budget, and all later deadlines with it,
// so each frame is measured against the earliest of itself and the frames
// after it. Frames that ran ahead of the clock would drift below later ones;
// frames that wait too long make the periods longer than their quanta.
FrameTimes time_frames(Win32Runtime& runtime, int frames, int pumps_per_frame) {
    std::vector<Clock::time_point> ends;
    const double cpu_before = cpu_seconds();
    const auto wall_before = Clock::now();
    runtime.dispatch([&] {
        for (int f = 0; f < frames; ++f) {
            for (int p = 0; p < pumps_per_frame; ++p) runtime.pump();
            runtime.end_frame();
            ends.push_back(Clock::now());
        }
    });
    const double wall = duration<double>(Clock::now() - wall_before).count();
    std::vector<double> offsets, lateness, periods;
    for (std::size_t i = 0; i < ends.size(); ++i)
        offsets.push_back(duration<double, std::micro>(ends[i] - ends[0]).count() - static_cast<double>(i) * pumps_per_frame);
    double earliest_after = offsets.back();
    for (std::size_t i = offsets.size(); i-- > 0;) {
        earliest_after = std::min(earliest_after, offsets[i]);
        lateness.push_back(offsets[i] - earliest_after);
        if (i > 0) periods.push_back(offsets[i] - offsets[i - 1] + pumps_per_frame);
    }
    return {median(lateness), median(periods), (cpu_seconds() - cpu_before) / wall};
}

TEST_F(Pacing, frames_end_their_quanta_apart_and_the_thread_sleeps_between_them) {
    constexpr int kPumpsPerFrame = 3330;  // the shortest delay the prompt takes
    FrameTimes t = time_frames(runtime, 60, kPumpsPerFrame);
    for (int attempt = 1; attempt < kAttempts && !t.good(kPumpsPerFrame); ++attempt)
        t = time_frames(runtime, 60, kPumpsPerFrame);
    EXPECT_LT(t.lateness_us, 1000.0);  // median
    EXPECT_LT(t.period_us, kPumpsPerFrame * 1.1);  // median
    EXPECT_LT(t.cpu_share, 0.6);
}

// A message-only window that notes when its message is handled.
struct Listener {
    static inline Clock::time_point handled{};
    static LRESULT CALLBACK procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
        if (message == WM_APP) handled = Clock::now();
        return DefWindowProcW(w, message, wp, lp);
    }
    Listener() {
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
// delay) is handled during that frame's wait, as it arrives, not when the
// wait is over: well before the frame ends.
TEST_F(Pacing, a_message_is_handled_while_the_frame_waits_for_its_deadline) {
    Listener listener;
    Listener::handled = {};
    Clock::time_point frame_ended{};
    std::thread poster([&] {
        std::this_thread::sleep_for(milliseconds(4));
        PostMessageW(listener.window, WM_APP, 0, 0);
    });
    runtime.dispatch([&] {
        for (int p = 0; p < 33300; ++p) runtime.pump();
        runtime.end_frame();
        frame_ended = Clock::now();
    });
    poster.join();
    ASSERT_NE(Listener::handled, Clock::time_point{}) << "the message was not handled during the frame";
    EXPECT_LT(Listener::handled, frame_ended - milliseconds(10));
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
