// The rule description's colour on real Qt widgets (offscreen platform): red
// for a courier without a rule, black for one with a rule.
#include <gtest/gtest.h>

#include <QPalette>
#include <QPlainTextEdit>
#include <string>

#include "config/config.h"
#include "forms/reference_templates_controls.h"
#include "generation/rule_record.h"
#include "runtime/text_colour.h"
#include "qt_test_program.h"

namespace zelvo::qt {
namespace {

constexpr WindowId kTemplates = WindowId::ReferenceTemplates;

class QtApplyRule : public ::testing::Test {
  protected:
    QtApplyRule() {
        ui.LoadWindow(WindowId::Main, false);
        ui.LoadWindow(kTemplates, false);
        box = testing::ControlWidget<QPlainTextEdit>(ui, kTemplates,
                                                     templates_window::kDescriptionBox);
        disabledText = box ? box->palette().color(QPalette::Disabled, QPalette::Text) : QColor();
    }
    ~QtApplyRule() override {
        ui.Shutdown();
        testing::DeleteClosedWindows();
    }

    void apply(std::string_view courier) { applyRule(ui, ruleText, queryUrlPrefix, courier); }
    // The colour the box's text is drawn in, whether its window is active or not.
    void expectTextColour(const QColor& expected) {
        EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Text), expected);
        EXPECT_EQ(box->palette().color(QPalette::Inactive, QPalette::Text), expected);
        EXPECT_EQ(box->palette().color(QPalette::Disabled, QPalette::Text), disabledText);
    }

    QtUi ui;
    QPlainTextEdit* box = nullptr;
    QColor disabledText;
    std::string ruleText = std::string(config::kBuiltInRuleRecord) + "\r\n";
    std::string queryUrlPrefix;
};

TEST_F(QtApplyRule, TheDescriptionIsRedWithoutARuleAndBlackWithOne) {
    ASSERT_NE(box, nullptr);
    ASSERT_NE(dynamic_cast<TextColourControl*>(static_cast<UiPort*>(&ui)), nullptr);

    apply("申通快递");  // no line holds this name
    expectTextColour(QColor(255, 0, 0));
    EXPECT_EQ(ui.GetText(kTemplates, templates_window::kDescriptionBox),
              "\r\n没有找到该快递公司的规则数据。");

    apply("中通快递");
    expectTextColour(QColor(0, 0, 0));
    EXPECT_EQ(ui.GetText(kTemplates, templates_window::kDescriptionBox).substr(0, 10),
              "\r\n参考定单");

    apply("申通快递");
    expectTextColour(QColor(255, 0, 0));
}

TEST_F(QtApplyRule, ColoursAreTakenInThePlatformsByteOrder) {
    ASSERT_NE(box, nullptr);
    ui.SetTextColour(kTemplates, templates_window::kDescriptionBox,
                     0x00FF8000);  // blue 255, green 128
    expectTextColour(QColor(0, 128, 255));
    // Controls other than edit boxes, and unknown names, are left alone.
    ui.SetTextColour(kTemplates, templates_window::kAutoCloseBox, kColourRed);
    ui.SetTextColour(kTemplates, "没有这个控件", kColourRed);
    expectTextColour(QColor(0, 128, 255));
}

}  // namespace
}  // namespace zelvo::qt
