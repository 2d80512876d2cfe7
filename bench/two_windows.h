#pragma once

#include <QWidget>
#include <memory>

namespace bench {

// The game's two windows as the player first sees them, made of plain Qt
// widgets: the court with its picture, ball, rackets and bars, and the
// welcome window owned by it. No form, control, runtime or game behind them.
struct TwoWindows {
    std::unique_ptr<QWidget> court;
    QWidget* welcome = nullptr;  // a child window of the court, deleted with it
};

TwoWindows make_two_windows();

}  // namespace bench
