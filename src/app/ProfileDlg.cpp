// SPDX-License-Identifier: MIT
#include "app/ProfileDlg.h"

#include "app/ShellStyle.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/DListBox.h"
#include "ui/MButton.h"
#include "ui/MPicture.h"

namespace kestrix {
namespace {

constexpr unsigned kWmProfilePopupMessage = 1705;
constexpr std::uintptr_t kChoose = 0;
constexpr std::uintptr_t kImportAction = 1;
constexpr std::uintptr_t kExportAction = 2;

}  // namespace

ProfileDlg::ProfileDlg(DUI::MWindow& mainWindow, DataStore& store, ProfileId currentProfile)
    : m_main(mainWindow), m_store(store), m_current(currentProfile) {}

DUI::Rect ProfileDlg::PlaceAbove(const DUI::Rect& anchor) {
    return {anchor.left, anchor.top - 210, anchor.right, anchor.top - 5};
}

void ProfileDlg::ShowAbove(DUI::MWindow& mainWindow, const DUI::Rect& anchor, DataStore& store,
                           ProfileId currentProfile) {
    ProfileDlg dialog(mainWindow, store, currentProfile);
    if (!dialog.Create(&mainWindow, kProfileDlgTitle, kShellWindowStyle, DUI::kWsExAnchored,
                       PlaceAbove(anchor)))
        return;
    dialog.ShowModal(DUI::kSwShowNormal);
    dialog.DestroyWindow();
}

bool ProfileDlg::OnInitDialog() {
    SetTopMost(true);
    BringToFront();
    // The arrow keys move through the profiles from the start.
    SetFocusControl(kList);
    return true;
}

void ProfileDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    const int h = rect.Height();
    if (auto* background =
            CreateControlAs<DUI::MPicture>("MPicture", kBackground, {10, 10, w - 10, h - 45})) {
        background->SetImage("img_area_content.png");
        background->SetStretch(true);
    }
    if (auto* list = CreateControlAs<DUI::DListBox>("DListBox", kList, {10, 10, w - 10, h - 45})) {
        // Choosing a profile switches to it and closes the pop-up: the keys move first.
        list->SetChooseByEnter(true);
        list->SetFont(14);
        list->SetAlignment(DUI::kAlignCenter);
        list->SetImage("img_list_bkg.png");
        std::vector<ProfileRow> rows;
        m_store.ListProfiles(rows);
        for (const ProfileRow& row : rows) {
            list->AddItem(LocaliseProfileName(row.name), row.profile);
        }
        list->SelectData(m_current);
    }
    const int centre = w / 2;
    const std::pair<int, int> buttons[] = {{kImport, text::kImport}, {kExport, text::kExport}};
    for (const auto& [id, textId] : buttons) {
        const DUI::Rect r = id == kImport ? DUI::Rect{10, h - 35, centre - 5, h - 7}
                                          : DUI::Rect{centre + 5, h - 35, w - 10, h - 7};
        if (auto* button = CreateControlAs<DUI::MButton>("MButton", id, r, GetLanText(textId))) {
            button->SetImage("img_button.png");
            button->SetFont(13);
        }
    }
}

ProfileId ProfileDlg::SelectedProfile() const {
    auto* list = GetControlAs<DUI::DListBox>(kList);
    return list != nullptr ? static_cast<ProfileId>(list->GetItemData(list->GetCurSel())) : 0;
}

void ProfileDlg::PostToMain(std::uintptr_t action, ProfileId profile) {
    m_main.PostMessage(kWmProfilePopupMessage, action, profile);
}

void ProfileDlg::Finish() {
    if (m_finished) return;
    m_finished = true;
    DestroyWindow();
}

void ProfileDlg::OnMessage(int id, int code, std::intptr_t param) {
    if (m_finished) return;
    auto* list = GetControlAs<DUI::DListBox>(kList);
    if (id == kList && code == DUI::kNotifyClick && list != nullptr) {
        const ProfileId chosen = static_cast<ProfileId>(list->GetItemData(static_cast<int>(param)));
        if (chosen > 0) PostToMain(kChoose, chosen);
        Finish();
        return;
    }
    if (id == kList && code == DUI::kNotifyEditDone && list != nullptr) {
        const ProfileId profile =
            static_cast<ProfileId>(list->GetItemData(static_cast<int>(param)));
        const std::string name = RemoveControlCharacters(list->GetEditText());
        // An empty name keeps the stored one.
        if (profile > 0 && !name.empty() && m_store.RenameProfile(profile, name))
            m_edited = profile;
        return;
    }
    if ((id == kImport || id == kExport) && code == DUI::kNotifyClick) {
        if (m_edited > 0) PostToMain(kChoose, m_edited);
        PostToMain(id == kImport ? kImportAction : kExportAction, SelectedProfile());
        Finish();
    }
}

int ProfileDlg::OnNcActivate(bool active) {
    if (!active && !m_finished) {
        if (m_edited > 0) PostToMain(kChoose, m_edited);
        Finish();
    }
    return 0;
}

void ProfileDlg::OnUserCloseWindow() { OnNcActivate(false); }

}  // namespace kestrix
