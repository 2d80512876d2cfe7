#pragma once

#include <cstdint>
#include <string>

// The fixed numbers and texts of the court's rules.
namespace engine {

// The form's size in twips is divided by this, not by 20, to give the field in points.
constexpr double kTwipsPerFieldPoint = 20.06;

// A reset puts the goal bar here and gives both bars this height (points).
constexpr float kGoalTopAfterReset = 394.0f;
constexpr float kBarHeightAfterReset = 15.0f;

// How far the ball is pulled back from an edge it went past (points).
constexpr double kEdgePull = 5.0;

// The end-of-game messages, shown in the input box.
inline const std::string kWinMessage = "ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!";
inline const std::string kLossMessage = "ИЗВИНИ, НО ТЫ ПРОИГРАЛ...";
inline const std::string kMessageTitle = "Yes";
inline const std::string kMessageDefault = "Yes";
// Both messages and the delay prompt stand 180 field points from the screen's corner (twips).
constexpr float kBoxPositionTwips = static_cast<float>(180 * kTwipsPerFieldPoint);

// A racket click takes this many pumps off every animation frame.
constexpr std::int16_t kRacketClickSpeedUp = 10;

// The delay prompt: its texts and the default answer, the range of delays it
// takes, and the event pumps per animation frame for each unit of the delay.
inline const std::string kDelayPrompt = "Больше задержка — меньше скорость — 10..100: ";
inline const std::string kDelayTitle = "Задержка анимации...";
inline const std::string kDelayDefault = "50";
constexpr double kMinDelay = 10;
constexpr double kMaxDelay = 100;
constexpr double kPumpsPerDelayUnit = 333;

}  // namespace engine
