// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace DUI {

// Process-wide toolkit settings: program name, skin folder, default font and the
// selection (accent) colour. Set once at start-up on the UI thread; read from anywhere.
class Manager {
  public:
    // Records the program instance; on Linux this only creates the application object of
    // the toolkit when none exists yet (argc/argv of the process are taken from /proc).
    static void SetInstance(void* instance);
    // Holds the program name (window titles, tray tip, single-instance lookups).
    static void SetDeviceName(const std::string& name);
    // The desktop entry the windows belong to ("kestrix" for kestrix.desktop): the Wayland
    // app_id and the X11 WM_CLASS, so the desktop finds the entry's name and icon whatever the
    // executable is called. Call after SetInstance and before the first window is created.
    static void SetDesktopEntry(const std::string& name);
    // The program name given to SetDeviceName, "" before.
    static const std::string& GetDeviceName();
    // Skin sub-folder below "skins/" ("default").
    static const std::string& GetTheme();
    // Chooses another skin sub-folder.
    static void SetTheme(const std::string& theme);
    // Folder that holds "skins/" (the program folder, with or without a trailing slash).
    static void SetResourceFolder(const std::string& folder);
    // The folder given to SetResourceFolder, with a trailing slash; "" before.
    static const std::string& GetResourceFolder();
    // Full path of a skin image: resource folder + "skins/" + theme + "/" + name; a
    // Windows-style "icon\tab_home.png" is accepted and its backslashes turned into slashes.
    static std::string GetSkinPath(const std::string& imageName);
    // Sets the default font family of every control ("Open Sans Semibold"); when the family
    // is not installed the toolkit falls back to a clean sans family.
    static void SetFontName(const std::string& family);
    // The font family controls actually use (the requested one when installed).
    static const std::string& GetFontName();
    // Families that supply the glyphs the main family lacks (Chinese, Japanese, Korean), in
    // the order they are tried; the first CJK family decides how shared Han characters look.
    static void SetFallbackFonts(const std::vector<std::string>& families);
    // The families given to SetFallbackFonts.
    static const std::vector<std::string>& GetFallbackFonts();

    // Accent colour (colour integer, red in bits 0-7): selected tab underline, selected
    // stage, slider fill, focus ring, primary buttons. RGB(0, 174, 239) by default.
    static int m_select_color;
};

}  // namespace DUI
