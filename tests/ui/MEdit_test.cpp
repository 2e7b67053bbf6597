// SPDX-License-Identifier: MIT
#include "ui/MEdit.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "ControlTestDialog.h"
#include "ui/NumberEdit.h"

namespace {

using uitest::ControlTestDialog;

TEST(MEdit, FocusTypingEnterAndLeavingSendTheirCodesInOrder) {
    ControlTestDialog dialog;
    auto* red = dialog.Make<DUI::MEdit>("MEdit", 231, {10, 10, 110, 40}, "255");
    dialog.Make<DUI::MEdit>("MEdit", 232, {10, 60, 110, 90}, "0");
    dialog.Click(60, 25);
    dialog.Key(Qt::Key_End);
    dialog.Key(Qt::Key_Backspace);
    dialog.Type("9");
    dialog.Key(Qt::Key_Return);
    dialog.Click(60, 75);  // focus moves to the other field
    EXPECT_EQ(dialog.Codes(231), (std::vector<int>{30, 26, 26, 2, 29}));
    EXPECT_EQ(red->GetTitle(), "259");
    EXPECT_EQ(red->GetInt(), 259);
}

TEST(MEdit, TextSetByTheProgramSendsNoChangeCode) {
    ControlTestDialog dialog;
    auto* field = dialog.Make<DUI::MEdit>("MEdit", 37, {10, 10, 110, 40}, "255");
    field->SetTitle("128");
    field->SetInt(64);
    EXPECT_TRUE(dialog.notes.empty());
    EXPECT_EQ(field->GetTitle(), "64");
}

TEST(MEdit, NumericModeAndLengthLimitFilterTyping) {
    ControlTestDialog dialog;
    auto* field = dialog.Make<DUI::MEdit>("MEdit", 37, {10, 10, 110, 40});
    field->SetNumber(true);
    field->SetLimitText(3);
    dialog.Click(60, 25);
    dialog.Type("-5a");
    EXPECT_EQ(field->GetTitle(), "-5") << "digits and a leading minus only";
    dialog.Type("123");
    EXPECT_EQ(field->GetTitle(), "-51") << "at most three characters";
    // The limit is for typing: text the program sets is shown whole, and the user can
    // shorten it but not make it longer again.
    field->SetTitle("99999");
    EXPECT_EQ(field->GetTitle(), "99999");
    dialog.Key(Qt::Key_End);
    dialog.Type("1");
    EXPECT_EQ(field->GetTitle(), "99999");
    dialog.Key(Qt::Key_Backspace);
    dialog.Key(Qt::Key_Backspace);
    dialog.Type("12");
    EXPECT_EQ(field->GetTitle(), "999") << "back within the limit, it holds again";
}

TEST(MEdit, ReadOnlyFieldTakesFocusButNotText) {
    ControlTestDialog dialog;
    auto* capture = dialog.Make<DUI::MEdit>("MEdit", 93, {10, 10, 210, 40});
    capture->SetReadOnly(true);
    dialog.Click(60, 25);
    dialog.Type("a");
    EXPECT_TRUE(capture->HasFocus());
    EXPECT_EQ(capture->GetTitle(), "");
    EXPECT_EQ(dialog.Codes(93), (std::vector<int>{30}));
    capture->KillFocus();
    DUI::ProcessPendingEvents();
    EXPECT_EQ(dialog.Codes(93), (std::vector<int>{30, 29}));
}

// The alignment reaches the text at once, also when the text set afterwards is the one the
// field already shows (no title change follows to apply it).
TEST(MEdit, AlignmentAppliesWithoutATextChange) {
    struct Case {
        const char* cls;
        int alignment;
        Qt::Alignment horizontal;
    };
    const Case cases[] = {
        {"MEdit", DUI::kAlignCenter, Qt::AlignHCenter},
        {"MEdit", DUI::kAlignRight, Qt::AlignRight},
        {"NumberEdit", DUI::kAlignCenter, Qt::AlignHCenter},
    };
    for (const Case& c : cases) {
        ControlTestDialog dialog;
        auto* field = dialog.Make<DUI::MEdit>(c.cls, 231, {10, 10, 110, 40}, "255");
        field->SetAlignment(c.alignment);
        field->SetInt(255);
        auto* line =
            qobject_cast<QLineEdit*>(dialog.At(40, 25));  // the text part, left of any step buttons
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, c.horizontal) << c.cls;
        EXPECT_TRUE(line->alignment() & Qt::AlignVCenter) << c.cls;
    }
}

TEST(NumberEdit, StepButtonsAndArrowKeysStayInRangeAndCommit) {
    ControlTestDialog dialog;
    auto* response = dialog.Make<DUI::NumberEdit>("NumberEdit", 139, {10, 10, 130, 42}, "19");
    response->SetRange(4, 20);
    dialog.Click(120, 14);  // upper step button
    dialog.Click(120, 14);  // stays at 20
    EXPECT_EQ(response->GetInt(), 20);
    dialog.Click(40, 26);
    dialog.Key(Qt::Key_Down);
    EXPECT_EQ(response->GetInt(), 19);
    const std::vector<int> codes = dialog.Codes(139);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), DUI::kNotifyClick), 3);
}

}  // namespace
