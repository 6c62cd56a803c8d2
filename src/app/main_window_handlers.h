#pragma once

#include <string>

#include "app/program_state.h"
#include "runtime/ui.h"

// The main window's own handlers: creation and closing, the "清空" under the
// generation fields, the tab change and opening the secondary windows.
namespace zelvo {

// "Zelvo快递单号生成器V4.30版" followed by the publisher's address, company and
// telephone number, each after a blank.
std::string mainWindowTitle();

// Created: the title and the addresses of the two advertising web views.
void onMainCreated(UiPort& ui);
// About to be destroyed: the program ends with exit code 0.
void onMainAboutToBeDestroyed(ProgramState& state);
// 按钮12 "清空": empties 生成内容 and nothing else.
void clearGenerated(UiPort& ui);
// 高级选择夹1 page changed: the website page points its view at the publisher.
void onTabChanged(UiPort& ui, int page);

// 按钮1 "选择模板", 按钮10 "根据定单生成" (not modal), 按钮4 "过滤并保存" (modal).
void openReferenceTemplates(UiPort& ui);
void openRecentNumbers(UiPort& ui);
void openFilter(UiPort& ui);

}  // namespace zelvo
