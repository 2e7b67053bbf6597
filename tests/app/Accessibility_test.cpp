// SPDX-License-Identifier: MIT
// What a screen reader finds on every view of the main window.

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "ui/AccessibleControl.h"
#include "ui/ControlHost.h"
#include "ui/MControl.h"

namespace kestrix {
namespace {

// The control class and id behind a control's widget, for the failure message.
std::string ControlClass(const QWidget* widget) {
    const auto* host = dynamic_cast<const DUI::ControlHost*>(widget);
    return host != nullptr && host->m_control != nullptr ? host->m_control->GetClassName() : "?";
}
int ControlId(const QWidget* widget) {
    const auto* host = dynamic_cast<const DUI::ControlHost*>(widget);
    return host != nullptr && host->m_control != nullptr ? host->m_control->GetID() : 0;
}

// The visible controls of the window's accessible tree that the user operates but that have
// no name, as "role id" texts.
void CollectUnnamed(QAccessibleInterface* node, std::vector<std::string>& unnamed, int& seen) {
    if (node == nullptr || node->state().invisible) return;
    if (auto* control = dynamic_cast<DUI::AccessibleControl*>(node)) {
        const auto* widget = static_cast<const QWidget*>(control->object());
        if (widget->isVisible() && DUI::AccessibleControl::IsInteractive(control->role())) {
            ++seen;
            if (control->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.push_back(ControlClass(widget) + " " + std::to_string(ControlId(widget)));
        }
    }
    for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed, seen);
}

QWidget* MainWidget() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == "Kestrix") return widget;
    }
    return nullptr;
}

TEST(Accessibility, EveryInteractiveControlOfEveryViewHasAName) {
    test::WindowBench bench;
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->ShowWindow(DUI::kSwShowNormal);
    QWidget* main = MainWidget();
    ASSERT_NE(main, nullptr);
    auto walk = [&](const std::string& view) {
        test::PumpFor(std::chrono::milliseconds(50));
        std::vector<std::string> unnamed;
        int seen = 0;
        CollectUnnamed(QAccessible::queryAccessibleInterface(main), unnamed, seen);
        EXPECT_GT(seen, 0) << view;
        EXPECT_TRUE(unnamed.empty()) << view << ": " << ::testing::PrintToString(unnamed);
    };
    for (int tab = 0; tab < 6; ++tab) {
        bench.window->SelectTab(tab);
        walk("tab " + std::to_string(tab));
    }
    bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
    walk("settings");
}

}  // namespace
}  // namespace kestrix
