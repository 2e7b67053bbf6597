// SPDX-License-Identifier: MIT
#include "app/StartupConfig.h"

#include "base/Log.h"
#include "base/Text.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

std::string ConfigPath(const std::string& moduleFolder) {
    if (moduleFolder.empty() || moduleFolder.back() == '/') return moduleFolder + "config.xml";
    return moduleFolder + "/config.xml";
}

// Loads config.xml and steps into <config>; false when either fails.
bool OpenConfig(XmlDocument& doc, const std::string& moduleFolder) {
    const std::string path = ConfigPath(moduleFolder);
    if (!doc.LoadFile(path)) {
        LogLine("config file %s could not be read", path.c_str());
        return false;
    }
    if (!doc.FindElement("config")) {
        LogLine("config file %s has no <config> root", path.c_str());
        return false;
    }
    return doc.IntoElement();
}

// The url attribute of child element name of the current parent, searched from the start.
std::string ChildUrl(XmlDocument& doc, const char* name) {
    // Children are found by forward search, so each lookup starts again from the parent.
    doc.OutOfElement();
    doc.IntoElement();
    if (!doc.FindElement(name)) return {};
    return doc.GetAttribute("url");
}

}  // namespace

StartupConfig ReadStartupConfig(const std::string& moduleFolder) {
    StartupConfig config;
    XmlDocument doc;
    if (!OpenConfig(doc, moduleFolder)) return config;
    // Forward search in document order: the language list precedes <software>.
    if (doc.FindElement("language.info")) {
        config.defaultLcid = ParseDecimal(doc.GetAttribute("default_lan"));
        doc.IntoElement();
        while (doc.FindElement("lan"))
            config.lcids.push_back(ParseDecimal(doc.GetAttribute("value")));
        doc.OutOfElement();
    }
    if (doc.FindElement("software")) config.programName = doc.GetAttribute("caption");
    return config;
}

SoftwareInfo ReadSoftwareInfo(const std::string& moduleFolder) {
    SoftwareInfo info;
    XmlDocument doc;
    if (!OpenConfig(doc, moduleFolder)) return info;
    if (!doc.FindElement("software")) return info;
    info.caption = doc.GetAttribute("caption");
    info.version = doc.GetAttribute("version");
    doc.IntoElement();
    info.websiteUrl = ChildUrl(doc, "website");
    info.feedbackUrl = ChildUrl(doc, "feedback");
    info.qaUrl = ChildUrl(doc, "qa");
    info.upgradeUrl = ChildUrl(doc, "upgrade");
    return info;
}

}  // namespace kestrix
