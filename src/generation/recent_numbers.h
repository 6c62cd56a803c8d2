#pragma once

#include <functional>

#include "runtime/ui.h"

// The recent-number window: candidate numbers that share the leading part of
// one real, recent waybill number, counting up from it or with random
// trailing digits, appended to 生成内容 and then verified at once.
namespace zelvo {

// Consecutive draws that only repeat lines already present, after which
// random mode gives up instead of drawing forever.
inline constexpr int kRecentRedrawLimit = 50;

// Window created: without a courier chosen, or with one whose tracking page
// the program cannot read, the window tells so and closes.
void requireCourier(UiPort& ui);

// 按钮1 clicked. startVerification is the main window's "验证定单".
void generateFromRecentNumber(UiPort& ui, const std::function<void()>& startVerification,
                              int redrawLimit = kRecentRedrawLimit);

}  // namespace zelvo
