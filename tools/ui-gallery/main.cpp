// SPDX-License-Identifier: MIT
// ui-gallery: renders every DUI control class in its states (normal, hover, pressed,
// checked, disabled, selected) to PNG files, with the offscreen platform:
//
//   QT_QPA_PLATFORM=offscreen ui-gallery [output folder] [data folder]
//   ui-gallery --help
//
// The output folder defaults to docs/gallery of the source tree, the data folder (which
// holds skins/) to data/. Each sheet is written at pixel ratio 1 and, for the first sheet,
// also at 2 to check crispness.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/BatteryCtrl.h"
#include "ui/CArea.h"
#include "ui/CCheckButton.h"
#include "ui/CColorButton.h"
#include "ui/CDeviceList.h"
#include "ui/CDeviceState.h"
#include "ui/CHelpButton.h"
#include "ui/CIconButton.h"
#include "ui/CImageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CRecordList.h"
#include "ui/CRoundArea.h"
#include "ui/CTextButton.h"
#include "ui/DListBox.h"
#include "ui/DPIControl.h"
#include "ui/DPISlider.h"
#include "ui/LightSlider.h"
#include "ui/MButton.h"
#include "ui/MButton2.h"
#include "ui/MButton3.h"
#include "ui/MComboBox.h"
#include "ui/MComboBox2.h"
#include "ui/MDialog.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/MPicture.h"
#include "ui/MProgress.h"
#include "ui/MProgress2.h"
#include "ui/MTabCtrl.h"
#include "ui/MTabLayout.h"
#include "ui/MText.h"
#include "ui/MacroList.h"
#include "ui/Manager.h"
#include "ui/MouseCtrl.h"
#include "ui/MouseKeyCtrl.h"
#include "ui/NumberEdit.h"
#include "ui/ReporteCtrl.h"
#include "ui/Theme.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

using namespace DUI;

namespace {

// A sheet: a window the builder fills, rendered to a file.
class Sheet : public MDialog {
  public:
    std::function<void(Sheet&)> build;
    void InitUI(const Rect&) override {
        if (build) {
            build(*this);
        }
    }

    template <class T>
    T* Make(const std::string& cls, const Rect& rect, const std::string& text = "",
            MControl* parent = nullptr) {
        return CreateControlAs<T>(cls, m_nextId++, rect, text, parent);
    }
    // A caption under a control.
    void Caption(int x, int y, int width, const std::string& text) {
        auto* label = Make<MText>("MText", {x, y, x + width, y + 18}, text);
        label->SetFont(11);
        label->SetFontWidth(400);
        label->SetTextColor(MakeColour(150, 150, 150));
    }
    // A panel with a heading; returns the panel.
    CArea* Section(const Rect& rect, const std::string& title) {
        auto* area = CreateArea(m_nextId++, rect);
        auto* heading = Make<MText>(
            "MText", {rect.left + 24, rect.top + 14, rect.right - 24, rect.top + 40}, title);
        heading->SetFont(18);
        heading->SetTextColor(MakeColour(235, 235, 235));
        return area;
    }

  private:
    int m_nextId = 1000;
};

bool Render(const std::string& folder, const std::string& name, int width, int height,
            const std::function<void(Sheet&)>& build, bool twoRatios) {
    Sheet sheet;
    sheet.build = build;
    if (!sheet.Create(nullptr, "Gallery", kWsPopup, 0, {0, 0, width, height})) {
        return false;
    }
    sheet.ShowWindow(kSwShow);
    for (int i = 0; i < 5; ++i) {
        ProcessPendingEvents();
    }
    QWidget* widget = WindowImpl::WidgetOf(&sheet);
    bool ok = true;
    for (const int ratio : {1, 2}) {
        if (ratio == 2 && !twoRatios) {
            break;
        }
        QPixmap pixmap(width * ratio, height * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(QColor(26, 26, 26));
        widget->render(&pixmap);
        const std::string file = folder + "/" + name + (ratio == 2 ? "@2x" : "") + ".png";
        if (!pixmap.save(QString::fromStdString(file))) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            ok = false;
        } else {
            std::printf("%s\n", file.c_str());
        }
    }
    sheet.DestroyWindow();
    ProcessPendingEvents();
    return ok;
}

// ---- sheets ----

void Buttons(Sheet& s) {
    s.Section({16, 16, 1284, 250}, "Buttons  (MButton, MButton2, MButton3)");
    const char* states[] = {"normal", "hover", "pressed", "focused", "disabled"};
    for (int i = 0; i < 5; ++i) {
        const int x = 40 + i * 150;
        auto* b = s.Make<MButton>("MButton", {x, 64, x + 120, 100}, "Apply");
        b->SetImage("img_button.png");
        if (i == 1) b->SetPreviewState(true, false);
        if (i == 2) b->SetPreviewState(true, true);
        if (i == 3) b->OnFocus();
        if (i == 4) b->SetEnabled(false);
        s.Caption(x, 104, 120, states[i]);
    }
    for (int i = 0; i < 3; ++i) {
        const int x = 40 + i * 150;
        auto* b = s.Make<MButton>("MButton", {x, 140, x + 120, 176}, "OK");
        b->SetPrimary(true);
        if (i == 1) b->SetPreviewState(true, false);
        if (i == 2) b->SetEnabled(false);
        s.Caption(x, 180, 120,
                  std::string("primary ") + (i == 0   ? "normal"
                                             : i == 1 ? "hover"
                                                      : "disabled"));
    }
    auto* marked = s.Make<MButton2>("MButton2", {490, 140, 650, 176}, "Fixed function");
    marked->SetCheck(1);
    s.Caption(490, 180, 160, "MButton2 checked");
    auto* plain2 = s.Make<MButton2>("MButton2", {670, 140, 830, 176}, "Key combination");
    (void)plain2;
    s.Caption(670, 180, 160, "MButton2 normal");
    const char* mods[] = {"Ctrl", "Win", "Alt", "Shift"};
    for (int i = 0; i < 4; ++i) {
        const int x = 860 + i * 100;
        auto* t = s.Make<MButton3>("MButton3", {x, 140, x + 88, 176}, mods[i]);
        t->SetCheck(i % 2 == 0);
    }
    s.Caption(860, 180, 390, "MButton3 toggles (Ctrl, Alt on)");
    s.Make<MButton>("MButton", {820, 64, 856, 100})->SetImage("img_recorditem_up.png");
    s.Make<MButton>("MButton", {866, 64, 902, 100})->SetImage("img_recorditem_down.png");
    s.Caption(820, 104, 140, "image buttons");

    s.Section({16, 266, 640, 520}, "Icon buttons  (CImageButton, CIconButton, CHelpButton)");
    const char* images[] = {"sysbtn_setting.png", "sysbtn_min.png",   "sysbtn_maximize.png",
                            "sysbtn_restore.png", "sysbtn_close.png", "btn_reset.png",
                            "img_return.png",     "img_btn_pre.png",  "img_btn_next.png"};
    for (int i = 0; i < 9; ++i) {
        const int x = 40 + i * 48;
        auto* b = s.Make<CImageButton>("CImageButton", {x, 316, x + 36, 352});
        b->SetImage(images[i]);
    }
    s.Caption(40, 356, 430,
              "settings, minimise, maximise, restore, close, reset, return, prev, next");
    auto* hoverClose = s.Make<CImageButton>("CImageButton", {40, 384, 76, 420});
    hoverClose->SetImage("sysbtn_close.png");
    hoverClose->SetPreviewState(true, false);
    auto* hoverSet = s.Make<CImageButton>("CImageButton", {88, 384, 124, 420});
    hoverSet->SetImage("sysbtn_setting.png");
    hoverSet->SetPreviewState(true, false);
    s.Caption(40, 424, 120, "hover");
    auto* rec = s.Make<CIconButton>("CIconButton", {200, 376, 330, 500}, "Record");
    rec->SetIcon("icon\\icon_rec.png");
    rec->SetFont(15);
    auto* stop = s.Make<CIconButton>("CIconButton", {350, 376, 480, 500}, "Stop");
    stop->SetIcon("icon\\icon_stop_rec.png");
    stop->SetFont(15);
    s.Caption(200, 502, 280, "CIconButton idle / recording");
    s.Make<CHelpButton>("CHelpButton", {520, 392, 544, 416})->SetToolTip("Help");
    auto* helpHover = s.Make<CHelpButton>("CHelpButton", {560, 392, 584, 416});
    helpHover->SetPreviewState(true, false);
    s.Caption(510, 424, 100, "CHelpButton");

    s.Section({656, 266, 1284, 520}, "CCheckButton, CRadioButton, CColorButton, CTextButton");
    auto* c1 = s.Make<CCheckButton>("CCheckButton", {680, 316, 880, 340}, "Start with the desktop");
    c1->SetCheck(1);
    s.Make<CCheckButton>("CCheckButton", {680, 350, 880, 374}, "Start minimised");
    auto* c3 = s.Make<CCheckButton>("CCheckButton", {680, 384, 880, 408}, "Hovered");
    c3->SetPreviewState(true, false);
    auto* c4 = s.Make<CCheckButton>("CCheckButton", {680, 418, 880, 442}, "Disabled");
    c4->SetEnabled(false);
    auto* r1 = s.Make<CRadioButton>("CRadioButton", {920, 316, 1120, 340}, "1.0 mm");
    r1->SetGroupName("LOD");
    auto* r2 = s.Make<CRadioButton>("CRadioButton", {920, 350, 1120, 374}, "2.0 mm");
    r2->SetGroupName("LOD");
    r2->SetCheck(1);
    auto* r3 = s.Make<CRadioButton>("CRadioButton", {920, 384, 1120, 408}, "Hovered");
    r3->SetPreviewState(true, false);
    auto* r4 = s.Make<CRadioButton>("CRadioButton", {920, 418, 1120, 442}, "Disabled");
    r4->SetEnabled(false);
    const int presets[] = {0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00,
                           0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        const int x = 680 + i * 36;
        auto* sw = s.Make<CColorButton>("CColorButton", {x, 460, x + 30, 490});
        sw->SetGroupName("DEFAULTCOLOR");
        sw->SetColor(presets[i]);
        if (i == 2) sw->SetCheck(1);
        if (i == 5) sw->SetPreviewState(true, false);
    }
    s.Caption(680, 494, 300, "CColorButton group (third checked, sixth hovered)");
    s.Make<CTextButton>("CTextButton", {1010, 460, 1120, 484}, "Website");
    auto* link = s.Make<CTextButton>("CTextButton", {1130, 460, 1260, 484}, "Feedback");
    link->SetPreviewState(true, false);
    s.Caption(1010, 494, 250, "CTextButton normal / hover");

    s.Section(
        {16, 536, 1284, 784},
        "Text, pictures and areas  (MText, MPicture, CArea, CRoundArea, MProgress, MProgress2)");
    auto* heading = s.Make<MText>("MText", {40, 586, 400, 616}, "Heading 20 px");
    heading->SetFont(20);
    heading->SetTextColor(MakeColour(235, 235, 235));
    s.Make<MText>("MText", {40, 620, 400, 640}, "Body text 14 px in the primary grey")->SetFont(14);
    auto* secondary = s.Make<MText>("MText", {40, 644, 400, 664}, "Secondary text 13 px");
    secondary->SetTextColor(MakeColour(150, 150, 150));
    auto* big = s.Make<MText>("MText", {40, 676, 240, 730}, "1600");
    big->SetFont(36);
    big->SetFontWidth(700);
    big->SetTextColor(Manager::m_select_color);
    auto* unit = s.Make<MText>("MText", {150, 694, 240, 726}, "DPI");
    unit->SetFont(20);
    auto* logo = s.Make<MPicture>("MPicture", {420, 586, 600, 626});
    logo->SetImage("logo.png");
    s.Caption(420, 630, 180, "MPicture logo.png");
    auto* preview = s.Make<CArea>("CArea", {640, 586, 740, 636});
    preview->SetBkColor(0xFB27D0);
    s.Caption(640, 640, 120, "CArea colour");
    auto* panel = s.Make<CArea>("CArea", {760, 586, 900, 636});
    panel->SetImage("img_area_content.png");
    s.Caption(760, 640, 140, "CArea image");
    auto* dot = s.Make<CRoundArea>("CRoundArea", {920, 596, 950, 626});
    dot->SetBkColor(Manager::m_select_color);
    s.Caption(910, 640, 100, "CRoundArea");
    auto* progress = s.Make<MProgress>("MProgress", {420, 690, 800, 706});
    progress->SetRange(16000);
    progress->SetPos(6400);
    s.Caption(420, 710, 300, "MProgress 6400 / 16000");
    auto* busy = s.Make<MProgress2>("MProgress2", {840, 690, 1220, 706});
    busy->Start(true);
    s.Caption(840, 710, 300, "MProgress2 endless (animated)");
}

void Inputs(Sheet& s) {
    s.Section({16, 16, 640, 300}, "MComboBox, MComboBox2, MEdit, NumberEdit");
    auto* combo = s.Make<MComboBox>("MComboBox", {40, 64, 300, 100});
    for (int i = 1; i <= 6; ++i) combo->AddItem(std::to_string(i), i);
    combo->SelectData(4);
    s.Caption(40, 104, 260, "MComboBox");
    auto* comboHover = s.Make<MComboBox>("MComboBox", {320, 64, 600, 100});
    comboHover->AddItem("English", 1033);
    comboHover->SelectData(1033);
    comboHover->SetPreviewState(true, false);
    s.Caption(320, 104, 260, "hover");
    auto* marked = s.Make<MComboBox2>("MComboBox2", {40, 130, 300, 166});
    marked->AddItem("Right button", 3);
    marked->SelectData(3);
    marked->SetCheck(1);
    s.Caption(40, 170, 260, "MComboBox2 marked (current assignment)");
    auto* disabled = s.Make<MComboBox>("MComboBox", {320, 130, 600, 166});
    disabled->AddItem("5 min", 30);
    disabled->SelectData(30);
    disabled->SetEnabled(false);
    s.Caption(320, 170, 260, "disabled");
    auto* edit = s.Make<MEdit>("MEdit", {40, 200, 180, 236}, "255");
    edit->SetNumber(true);
    edit->SetLimitText(3);
    s.Caption(40, 240, 140, "MEdit numeric");
    auto* tip = s.Make<MEdit>("MEdit", {200, 200, 380, 236});
    tip->SetTip("Press a key");
    tip->SetReadOnly(true);
    s.Caption(200, 240, 180, "MEdit with tip");
    auto* focused = s.Make<MEdit>("MEdit", {400, 200, 600, 236}, "Shift + A");
    focused->OnFocus();
    s.Caption(400, 240, 200, "focused");
    auto* number = s.Make<NumberEdit>("NumberEdit", {40, 256, 180, 290}, "8");
    number->SetRange(4, 20);
    s.Caption(200, 264, 300, "NumberEdit with step buttons");

    s.Section({656, 16, 1284, 300}, "Colour  (MPalette)");
    auto* palette = s.Make<MPalette>("MPalette", {680, 60, 900, 280});
    palette->SetSelectColor(0xFB27D0);
    auto* preview = s.Make<CArea>("CArea", {930, 60, 1030, 120});
    preview->SetBkColor(palette->GetSelectColor());
    s.Caption(930, 124, 200, "preview (CArea)");
    const char* labels[] = {"R:", "G:", "B:"};
    const int channels[] = {0xD0, 0x27, 0xFB};
    for (int i = 0; i < 3; ++i) {
        const int y = 150 + i * 44;
        s.Make<MText>("MText", {930, y, 960, y + 32}, labels[i]);
        auto* field = s.Make<MEdit>("MEdit", {960, y, 1040, y + 32}, std::to_string(channels[i]));
        field->SetImage("img_edit.png");
        field->SetNumber(true);
    }

    s.Section({16, 316, 1284, 520}, "Tabs  (MTabCtrl)");
    auto* tabs = s.Make<MTabCtrl>("MTabCtrl", {40, 360, 1000, 420});
    tabs->SetImage("img_tabitem_bkg.png");
    const char* names[] = {"Home", "Buttons", "Performance", "Macros", "Lighting", "Settings"};
    const char* icons[] = {"icon\\tab_home.png",  "icon\\tab_key.png",   "icon\\tab_dpi.png",
                           "icon\\tab_macro.png", "icon\\tab_light.png", "icon\\tab_set.png"};
    const int ids[] = {1, 2, 3, 4, 5, 7};
    for (int i = 0; i < 6; ++i) tabs->AddItem(ids[i], names[i], icons[i]);
    tabs->SetCurSel(2);
    s.Caption(40, 424, 600, "selected: Performance (accent underline, accent icon)");
    auto* tabsNoLight = s.Make<MTabCtrl>("MTabCtrl", {40, 450, 1000, 500});
    for (int i = 0; i < 6; ++i) tabsNoLight->AddItem(ids[i], names[i], icons[i]);
    tabsNoLight->SetItemVisible(4, false);
    tabsNoLight->SetCurSel(1);
    s.Caption(1010, 466, 260, "lighting tab hidden");

    s.Section({16, 536, 1284, 784}, "Sliders and rates  (DPISlider, LightSlider, ReporteCtrl)");
    auto* dpi = s.Make<DPISlider>("DPISlider", {40, 590, 640, 640});
    dpi->SetImage("img_dpi_bar.png");
    dpi->SetDPIDesc("50", "26000");
    dpi->SetSteps(520);
    dpi->SetProgress(160);
    s.Caption(40, 646, 400, "DPISlider 50 .. 26000, value 8000");
    auto* bright = s.Make<LightSlider>("LightSlider", {700, 590, 960, 620});
    bright->SetImage("img_slider_bar.png");
    bright->SetSteps(4);
    bright->SetPos(3);
    s.Caption(700, 624, 260, "LightSlider 3 of 4");
    auto* speed = s.Make<LightSlider>("LightSlider", {990, 590, 1250, 620});
    speed->SetSteps(4);
    speed->SetPos(1);
    speed->OnFocus();
    s.Caption(990, 624, 260, "focused");
    auto* rates = s.Make<ReporteCtrl>("ReporteCtrl", {40, 690, 1250, 730});
    const char* rateNames[] = {"125Hz", "250Hz", "500Hz", "1000Hz", "2000Hz", "4000Hz", "8000Hz"};
    const int codes[] = {8, 4, 2, 1, 16, 32, 64};
    const int colours[] = {0x0108F1, 0xED6B00, 0x4DF600, 0x20A3FF, 0xC9012B, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 7; ++i) rates->AddItem(rateNames[i], codes[i], colours[i]);
    rates->SelectData(1);
    s.Caption(40, 736, 400, "ReporteCtrl, 1000 Hz selected");
}

void Lists(Sheet& s) {
    s.Section({16, 16, 420, 440}, "DListBox and MacroList");
    auto* list = s.Make<DListBox>("DListBox", {40, 60, 396, 240});
    list->SetImage("img_list_bkg.png");
    list->SetAlignment(kAlignCenter);
    const char* profiles[] = {"Profile 1", "Profile 2", "Profile 3", "Profile 4"};
    for (int i = 0; i < 4; ++i) list->AddItem(profiles[i], i + 1);
    list->SetCurSel(1);
    s.Caption(40, 244, 300, "profiles, second selected");
    auto* macros = s.Make<MacroList>("MacroList", {40, 270, 396, 420});
    const char* names[] = {"Custom 1", "Quick build", "Reload"};
    for (int i = 0; i < 3; ++i) macros->AddItem(names[i], i + 1);
    macros->SetCurSel(0);
    macros->EditItem(2);

    s.Section({436, 16, 860, 784}, "CRecordList");
    auto* events = s.Make<CRecordList>("CRecordList", {460, 60, 836, 560});
    const RecordEntry entries[] = {{"\u2193  Ctrl", 2, 162, 1}, {"10 ms", 1, 10, 2},
                                   {"\u2193  C", 2, 67, 3},     {"52 ms", 1, 52, 4},
                                   {"\u2191  C", 3, 67, 5},     {"10 ms", 1, 10, 6},
                                   {"\u2191  Ctrl", 3, 162, 7}, {"\u2193  LB", 4, 1, 8},
                                   {"10 ms", 1, 10, 9},         {"\u2191  LB", 5, 1, 8}};
    for (const RecordEntry& e : entries) events->AddEntry(e);
    events->SetCurSel(2);
    s.Caption(460, 566, 376, "entries with number, kind icon and text; third selected");
    auto* up = s.Make<MButton>("MButton", {460, 600, 496, 636});
    up->SetImage("img_recorditem_up.png");
    auto* down = s.Make<MButton>("MButton", {506, 600, 542, 636});
    down->SetImage("img_recorditem_down.png");
    s.Make<MButton>("MButton", {560, 600, 680, 636}, "Insert")->SetImage("img_button.png");
    s.Make<MButton>("MButton", {690, 600, 810, 636}, "Delete")->SetImage("img_button.png");

    s.Section({876, 16, 1284, 784}, "MouseKeyCtrl");
    auto* keys = s.Make<MouseKeyCtrl>("MouseKeyCtrl", {900, 60, 1260, 420});
    const char* buttonNames[] = {"Left button", "Right button", "Middle button", "Back",
                                 "Forward",     "DPI button",   "Fire"};
    const char* functions[] = {"Left click", "Right click", "Middle click", "Back",
                               "Forward",    "DPI cycle",   "Fire key"};
    for (int i = 0; i < 7; ++i) keys->AddItem(buttonNames[i], functions[i], i);
    keys->SetCurSel(1);
    keys->SetItemKeyDesc(6, "Macro: Quick build");
    s.Caption(900, 424, 360, "second selected; seventh assigned a macro");
    auto* boxes = s.Make<MComboBox2>("MComboBox2", {900, 470, 1260, 506});
    boxes->AddItem("Right click", 3);
    boxes->SelectData(3);
    boxes->SetCheck(1);
    auto* media = s.Make<MComboBox2>("MComboBox2", {900, 516, 1260, 552});
    media->AddItem("Volume up", 6);
    media->SelectData(6);
    auto* fixed = s.Make<MButton2>("MButton2", {900, 570, 1070, 606}, "Key combination");
    (void)fixed;
    s.Make<MButton2>("MButton2", {1090, 570, 1260, 606}, "Fire key");
}

void Device(Sheet& s) {
    s.Section({16, 16, 1284, 430}, "CDeviceList");
    auto* devices = s.Make<CDeviceList>("CDeviceList", {40, 56, 1260, 420});
    devices->AddDevice(101, "Kestrix Vireo", "device/vireo.png");
    devices->AddDevice(102, "Kestrix Falco", "device/falco.png");
    devices->AddDevice(201, "Kestrix Harrier Pro", "device/harrier_pro.png");
    devices->SetDeviceState(101, 0, 1);
    devices->SetDeviceState(102, 1, 1);
    devices->SetDeviceState(201, 1, 0);
    devices->SetDeviceBattery(102, 0, 72);
    devices->SetDeviceBattery(201, 1, 15);
    devices->SetDeviceVersion(101, 0x103);
    devices->SetDeviceVersion(102, 0x112);
    devices->SetSelectDevice(102);
    devices->SetHighlight(0);

    s.Section({16, 446, 640, 784}, "DPIControl");
    auto* stages = s.Make<DPIControl>("DPIControl", {40, 496, 616, 596});
    const int values[] = {400, 800, 1600, 3200, 6400, 12000};
    const int colours[] = {0x0000FF, 0x00FF00, 0xFF8800, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    for (int i = 0; i < 6; ++i) stages->AddItem(values[i], colours[i]);
    stages->SetCurSel(2);
    s.Caption(40, 600, 400, "six stages, stage 3 selected");
    auto* editing = s.Make<DPIControl>("DPIControl", {40, 630, 400, 730});
    for (int i = 0; i < 3; ++i) editing->AddItem(values[i], colours[i]);
    editing->SetCurSel(1);
    editing->BeginEdit();
    s.Caption(40, 734, 400, "value edit open on stage 2");

    s.Section({656, 446, 1284, 784}, "CDeviceState and BatteryCtrl");
    auto* wired = s.Make<CDeviceState>("CDeviceState", {680, 496, 960, 526}, "Wired");
    wired->SetState(0, 1);
    auto* receiver = s.Make<CDeviceState>("CDeviceState", {680, 536, 960, 566}, "2.4G receiver");
    receiver->SetState(1, 1);
    auto* offline = s.Make<CDeviceState>("CDeviceState", {680, 576, 960, 606}, "No device");
    offline->SetState(1, 0);
    const int levels[] = {100, 60, 15, 40};
    const int charging[] = {0, 0, 0, 1};
    for (int i = 0; i < 4; ++i) {
        auto* battery =
            s.Make<BatteryCtrl>("BatteryCtrl", {1000, 496 + i * 40, 1200, 526 + i * 40});
        battery->SetBatteryInfo(levels[i], charging[i]);
    }
    s.Caption(1000, 656, 260, "100 %, 60 %, 15 %, charging");
}

void Mouse(Sheet& s) {
    s.Section({16, 16, 1284, 560}, "MouseCtrl  (Kestrix Harrier Pro, button 2 selected)");
    auto* mouse = s.Make<MouseCtrl>("MouseCtrl", {40, 56, 1260, 540});
    mouse->SetImage("device/harrier_pro_top.png");
    struct K {
        int value;
        const char* text;
        int direction;
        int x;
        int y;
    };
    const K keys[] = {{0, "Left click", 0, 88, 112},   {1, "Right click", 1, 254, 112},
                      {2, "Middle click", 1, 171, 88}, {3, "Back", 0, 76, 262},
                      {4, "Forward", 0, 80, 218},      {5, "DPI cycle", 1, 171, 162},
                      {6, "Fire key", 0, 74, 178},     {7, "Profile", 1, 171, 300}};
    for (const K& k : keys) mouse->AddKey(k.value, k.text, k.direction, k.x, k.y, 150);
    mouse->SetCurSel(1);

    s.Section({16, 576, 1284, 784}, "Theme fallbacks (skin images missing)");
    s.Make<MPicture>("MPicture", {40, 616, 140, 760})->SetImage("device/missing_model.png");
    s.Caption(40, 762, 120, "MPicture device");
    const char* missing[] = {"sysbtn_close_x.png", "sysbtn_setting_x.png", "btn_reset_x.png",
                             "img_return_x.png"};
    for (int i = 0; i < 4; ++i) {
        auto* b = s.Make<CImageButton>("CImageButton", {180 + i * 48, 640, 216 + i * 48, 676});
        b->SetImage(missing[i]);
    }
    s.Caption(180, 680, 220, "CImageButton glyphs");
    auto* button = s.Make<MButton>("MButton", {420, 640, 560, 676}, "No image");
    button->SetImage("img_button_missing.png");
    auto* empty = s.Make<CDeviceList>("CDeviceList", {600, 590, 1260, 776});
    empty->SetEmptyText("No device", "Connect a Kestrix mouse or its receiver");
}

constexpr const char* kUsage =
    "usage: ui-gallery [output folder] [data folder]\n"
    "Renders every toolkit control in its states to PNG sheets in the output folder\n"
    "(default: docs/gallery of the source tree); the data folder holds skins/\n"
    "(default: data/ of the source tree).\n";

// Reads the command line: --help prints the usage; an option this program does not know, or
// more than two folders, is refused (exit status 2) instead of being taken for a folder name.
// "--" ends the options, for a folder whose name starts with '-'.
int ReadArguments(int argc, char** argv, std::vector<std::string>& folders) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "--help" || argument == "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "ui-gallery: unknown option %s\n%s", argument.c_str(), kUsage);
            return 2;
        } else {
            folders.push_back(argument);
        }
    }
    if (folders.size() > 2) {
        std::fprintf(stderr, "ui-gallery: too many arguments\n%s", kUsage);
        return 2;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> folders;
    if (const int status = ReadArguments(argc, argv, folders); status >= 0) return status;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const std::string output =
        folders.size() > 0 ? folders[0] : std::string(KESTRIX_SOURCE_DOCS) + "/gallery";
    const std::string data = folders.size() > 1 ? folders[1] : std::string(KESTRIX_SOURCE_DATA);
    Manager::SetResourceFolder(data);
    Manager::SetFontName("Open Sans Semibold");
    if (!QDir().mkpath(QString::fromStdString(output))) {
        std::fprintf(stderr, "ui-gallery: cannot create the folder %s\n", output.c_str());
        return 1;
    }
    bool ok = true;
    ok &= Render(output, "buttons", 1300, 800, Buttons, true);
    ok &= Render(output, "inputs", 1300, 800, Inputs, false);
    ok &= Render(output, "lists", 1300, 800, Lists, false);
    ok &= Render(output, "device", 1300, 800, Device, true);
    ok &= Render(output, "mouse", 1300, 800, Mouse, false);
    return ok ? 0 : 1;
}
