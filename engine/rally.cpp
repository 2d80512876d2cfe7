// The rally loop: one whole game, turn by turn, on the user-interface thread.
#include "engine/court.h"
#include "engine/court_rules.h"
#include "toolkit/conversions.h"

#include <cmath>
#include <cstdint>

namespace engine {

using toolkit::Int;
using toolkit::NumberCell;

namespace {

// A point for the side whose racket this is: its caption counts " 1", " 2", ...
// A caption that is no number, or one that cannot take one more, is a run-time error.
void add_point(toolkit::Control& racket) {
    const NumberCell score = NumberCell(toolkit::text_to_int16(racket.caption())) + NumberCell(std::int16_t{1});
    racket.set_caption(toolkit::number_to_text(static_cast<std::int32_t>(score.value())));
}

// A new vertical speed, 2 to 6 points per turn.
double vertical_speed(toolkit::Runtime& rt) { return Int(rt.rnd() * 5.0f + 1.0f) + 1; }

// A new horizontal speed, 1 to 3 points per turn.
double horizontal_speed(toolkit::Runtime& rt) { return Int(rt.rnd() * 3.0f + 1.0f); }

// Where the opponent stands for one approach of the ball: on it with chance
// 4/6, one step to its left or right with chance 1/6 each.
int opponent_offset(toolkit::Runtime& rt) {
    const double k = Int(rt.rnd() * 6.0f);
    if (k == 2) return -1;
    if (k == 1) return +1;
    return 0;
}

// The pumps of a turn whose bound is `bound`: one for each count 1, 2, ... up
// to it, so none below 1 (or for no number at all) and a fractional bound's
// whole part. A count in doubles never gets past 2^53, where adding 1 no
// longer changes it: from there on the pumping does not end.
std::uint64_t whole_pumps(double bound) {
    constexpr double kCountsEnd = 9007199254740992.0;  // 2^53
    if (!(bound >= 1)) return 0;
    return bound < kCountsEnd ? static_cast<std::uint64_t>(bound) : UINT64_MAX;
}

}  // namespace

void Court::end_game(const std::string& message) {
    show_message(message);
    start_settings();
    quit_game = true;
}

void Court::move_ball() {
    toolkit::Runtime& rt = runtime();
    const double W = field_width();
    const double H = field_height();
    rt.randomize(rt.timer());
    double sx = 1;
    double sy = vertical_speed(rt);
    // The ball starts from the middle of the field, wherever its control stands.
    double x = W / 2;
    double y = H / 2;
    const float size = I_ball.width() + 2;
    const float half = size / 2;
    bool chosen = false;
    int off = 0;
    const float step = b_rack_opp.width() + 2;
    const double mid = std::nearbyint(H / 2);  // halves to even, as a 16-bit integer conversion rounds

    // Every property is read afresh in every turn: handlers that run during the
    // pumping may move the racket or reset the court. The compound tests use
    // `|` and `&` so that every comparison is evaluated and every property read.
    for (;;) {
        if (quit_game) return;

        x = x + kx.value() * sx;
        y = y + ky * sy;
        I_ball.set_left(static_cast<float>(x));

        if (y < mid) {
            // The opponent chooses once per approach and follows the ball, unclamped.
            if (!chosen) {
                rt.randomize(rt.timer());
                off = opponent_offset(rt);
                chosen = true;
            }
            b_rack_opp.set_left(static_cast<float>(x + off * step));
        }
        I_ball.set_top(static_cast<float>(y));

        // The bound is read once; a fractional one counts its whole pumps.
        rt.pump_times(whole_pumps(Delay_game.value()));
        // The next turn's moves show when this turn's time is up.
        rt.end_frame();

        if ((x + size > W) | (x < 0)) {
            sx = horizontal_speed(rt);
            kx = -kx;
        }
        if (x + size > W) x = x - kEdgePull;
        if (x < 0) x = x + kEdgePull;

        if (y + size > H) {
            // The goal bar loses height at its top; its bottom edge stays.
            if (b_goal.height() - 1 > 0) {
                b_goal.set_height(b_goal.height() - 1);
                b_goal.set_top(b_goal.top() + 1);
            }
            add_point(b_rack_opp);
        }
        if (b_goal.height() == 1) return end_game(kLossMessage);

        // The player's racket; the test does not look at the ball's direction.
        if ((y + size > H) |
            ((y + size > b_racket.top()) & (x + half > b_racket.left()) &
             (x + half < b_racket.left() + b_racket.width()))) {
            sy = vertical_speed(rt);
            y = y - kEdgePull;
            ky = static_cast<std::int16_t>(-ky);
            chosen = false;
        }

        // The opponent's racket turns the ball and nothing else.
        if ((y < b_rack_opp.top() + b_rack_opp.height()) & (x + half > b_rack_opp.left()) &
            (x + half < b_rack_opp.left() + b_rack_opp.width()))
            ky = static_cast<std::int16_t>(-ky);

        // The contact line is y = the wall bar's height; its top is not read.
        if (y < b_wall.height()) {
            if (b_wall.height() - 1 > 0) {
                b_wall.set_height(b_wall.height() - 1);
                add_point(b_racket);
            }
        }
        if (b_wall.height() == 1) return end_game(kWinMessage);

        if ((y + size > H) | (y < b_wall.height())) ky = static_cast<std::int16_t>(-ky);
        if (y + size > H) chosen = false;
    }
}

}  // namespace engine
