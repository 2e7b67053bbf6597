// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kestrix {

// What start-up takes from config.xml before anything else exists: the program name and the
// languages the combo may offer.
struct StartupConfig {
    std::string programName;  // caption of <software>; empty when the file or element is missing
    std::vector<int> lcids;   // <language.info>/<lan value>, in file order
    int defaultLcid = 0;      // <language.info default_lan>; 0 when missing
};

// The <software> block the main window reads for its labels and links.
struct SoftwareInfo {
    std::string caption;
    std::string version;      // shown as "%s: v%s"; compared by the update check
    std::string websiteUrl;   // <website url>
    std::string feedbackUrl;  // <feedback url>
    std::string qaUrl;        // <qa url>
    std::string upgradeUrl;   // <upgrade url>, base of the update server
};

// Reads moduleFolder + "config.xml". A missing file, root or element leaves the values empty
// (the load failure is logged by the reader).
StartupConfig ReadStartupConfig(const std::string& moduleFolder);

// Reads the <software> block of moduleFolder + "config.xml"; empty values when absent.
SoftwareInfo ReadSoftwareInfo(const std::string& moduleFolder);

}  // namespace kestrix
