// SPDX-License-Identifier: MIT
#include "ui/MWindow.h"

#include <gtest/gtest.h>

#include <QPixmap>

#include "ControlTestDialog.h"
#include "ui/CArea.h"
#include "ui/KeyScanCode.h"
#include "ui/MButton.h"
#include "ui/MTabLayout.h"
#include "ui/Manager.h"
#include "ui/Theme.h"

namespace {

// A message-box-like dialog: its buttons end the modal loop from inside their click.
class BoxDialog : public DUI::MDialog {
  public:
    std::function<void(BoxDialog&)> onShown;
    void InitUI(const DUI::Rect&) override {
        CreateControl("MButton", 33, {10, 10, 110, 46}, "Yes");
        CreateControl("MButton", 34, {120, 10, 220, 46}, "No");
    }
    void OnMessage(int id, int code, std::intptr_t) override {
        if (code != DUI::kNotifyClick) {
            return;
        }
        if (id == 33) {
            DoOK();
        } else if (id == 34) {
            DoCancel();
        }
    }
    void ClickButton(int x) {
        QWidget* root = DUI::WindowImpl::WidgetOf(this);
        QTest::mouseClick(root->childAt(x, 28), Qt::LeftButton, Qt::NoModifier, QPoint(20, 18));
    }
};

bool CreateBox(BoxDialog& box, DUI::MWindow* parent = nullptr) {
    uitest::App();
    return box.Create(parent, "MessageBox", DUI::kWsPopup | DUI::kWsVisible, DUI::kWsExToolWindow,
                      {100, 100, 330, 160});
}

TEST(MWindow, ButtonsEndTheModalLoopFromInsideTheirClick) {
    for (const auto& [x, expected] : {std::pair{40, DUI::kIdOk}, std::pair{150, DUI::kIdCancel}}) {
        BoxDialog box;
        ASSERT_TRUE(CreateBox(box));
        DUI::PostToUiThread([&box, x = x] { box.ClickButton(x); });
        EXPECT_EQ(box.ShowModal(1), expected);
        DUI::ProcessPendingEvents();  // the released controls go here, after their click returned
    }
}

TEST(MWindow, NestedModalLoopsEndInnerFirst) {
    BoxDialog outer;
    ASSERT_TRUE(CreateBox(outer));
    int innerResult = -1;
    DUI::PostToUiThread([&] {
        BoxDialog inner;
        ASSERT_TRUE(CreateBox(inner, &outer));
        DUI::PostToUiThread([&inner] { inner.DoOK(); });
        innerResult = inner.ShowModal(1);
        EXPECT_TRUE(outer.IsWindow()) << "the outer window lives on";
        outer.DoCancel();
    });
    EXPECT_EQ(outer.ShowModal(1), DUI::kIdCancel);
    EXPECT_EQ(innerResult, DUI::kIdOk);
}

TEST(MWindow, WindowManagerCloseEndsAsCancel) {
    BoxDialog box;
    ASSERT_TRUE(CreateBox(box));
    DUI::PostToUiThread([&box] { DUI::WindowImpl::WidgetOf(&box)->close(); });
    box.SetResult(DUI::kIdOk);
    EXPECT_EQ(box.ShowModal(1), DUI::kIdCancel);
}

TEST(MWindow, DeletingTheWindowObjectEndsItsLoop) {
    auto* box = new BoxDialog;
    ASSERT_TRUE(CreateBox(*box));
    DUI::PostToUiThread([box] { delete box; });
    EXPECT_EQ(box->ShowModal(1), DUI::kIdCancel);
}

TEST(MWindow, CreateWithVisibleStyleShowsOnTheNextTurnUnlessHiddenFirst) {
    BoxDialog shown;
    BoxDialog hidden;
    ASSERT_TRUE(CreateBox(shown));
    ASSERT_TRUE(CreateBox(hidden));
    hidden.ShowWindow(DUI::kSwHide);
    EXPECT_FALSE(shown.IsWindowVisible());
    DUI::ProcessPendingEvents();
    EXPECT_TRUE(shown.IsWindowVisible());
    EXPECT_FALSE(hidden.IsWindowVisible());
}

TEST(MWindow, TabLayoutShowsOnePageAndAreasHideTheirChildren) {
    uitest::ControlTestDialog dialog;
    auto* layout = dialog.Make<DUI::MTabLayout>("MTabLayout", 1, {0, 0, 400, 300});
    std::vector<DUI::MControl*> pages;
    for (int i = 0; i < 3; ++i) {
        pages.push_back(dialog.CreateControl("CArea", 10 + i, {0, 0, 400, 300}, "", layout));
    }
    auto* button = dialog.CreateControl("MButton", 20, {10, 10, 100, 40}, "In page 2", pages[1]);
    EXPECT_EQ(layout->GetCount(), 3);
    EXPECT_EQ(layout->GetCurSel(), 0);
    EXPECT_TRUE(layout->SetCurSel(1));
    EXPECT_FALSE(pages[0]->IsVisible());
    EXPECT_TRUE(pages[1]->IsVisible());
    EXPECT_FALSE(layout->SetCurSel(3));
    DUI::ProcessPendingEvents();
    dialog.Click(50, 25);
    EXPECT_EQ(dialog.Codes(20), (std::vector<int>{2}));
    pages[1]->SetVisible(false);
    dialog.Click(50, 25);
    EXPECT_EQ(dialog.Codes(20), (std::vector<int>{2})) << "hidden with its area";
    (void)button;
}

TEST(MWindow, SkinPathsImagesAndFallback) {
    uitest::App();
    EXPECT_EQ(DUI::Manager::GetTheme(), "default");
    const std::string path = DUI::Manager::GetSkinPath("icon\\tab_key.png");
    EXPECT_TRUE(path.ends_with("/skins/default/icon/tab_key.png")) << path;
    EXPECT_TRUE(DUI::Theme::HasSkinImage("img_button.png"));
    EXPECT_FALSE(DUI::Theme::HasSkinImage("no_such_image.png"));
    const QPixmap hiDpi = DUI::Theme::SkinImage("sysbtn_close.png", 2.0);
    ASSERT_FALSE(hiDpi.isNull());
    EXPECT_EQ(hiDpi.devicePixelRatio(), 2.0);
    EXPECT_EQ(hiDpi.width(), 72) << "the @2x image, twice the 36 px button";
    EXPECT_EQ(DUI::Theme::GlyphForImage("sysbtn_close.png"), "close");
    EXPECT_EQ(DUI::Theme::GlyphForImage("icon\\icon_stop_rec.png"), "stop");
}

TEST(MWindow, EvdevScanCodes) {
    struct Case {
        std::uint32_t native;
        int qtKey;
        int evdev;
    };
    for (const Case& c :
         {Case{38, Qt::Key_A, 30}, Case{38, 0, 30}, Case{0, Qt::Key_A, 30},
          Case{0, Qt::Key_F12, 88}, Case{0, Qt::Key_Control, 29}, Case{0, Qt::Key_Enter, 96},
          Case{0, Qt::Key_unknown, 0}, Case{5, Qt::Key_Escape, 1}}) {
        EXPECT_EQ(DUI::EvdevScanCode(c.native, c.qtKey), c.evdev) << c.native << " " << c.qtKey;
    }
}

}  // namespace
