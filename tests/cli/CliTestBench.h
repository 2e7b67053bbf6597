// SPDX-License-Identifier: MIT
#pragma once

// Runs kestrixctl commands in-process against simulated mice, with the per-user folders in a
// temporary folder, and opens the database the commands wrote to.

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/KestrixCtl.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"
#include "store/DataStore.h"

namespace kestrix::testing {

// What one run printed and returned.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;

    nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

// A fresh folder below the system's temporary folder, removed with the object; XDG_DATA_HOME,
// XDG_CONFIG_HOME and XDG_RUNTIME_DIR point into it while it lives.
class CliFolders {
  public:
    CliFolders() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-cli-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        for (const char* name : {"data", "config", "runtime"})
            std::filesystem::create_directories(m_path + "/" + name);
        setenv("XDG_DATA_HOME", (m_path + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_path + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (m_path + "/runtime").c_str(), 1);
        unsetenv("KESTRIX_SIMULATE");
    }
    ~CliFolders() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    CliFolders(const CliFolders&) = delete;
    CliFolders& operator=(const CliFolders&) = delete;

    // The temporary folder, without a trailing '/'.
    const std::string& Path() const { return m_path; }
    // The program's data folder inside it.
    std::string DataFolder() const { return m_path + "/data/Kestrix Files/"; }

  private:
    std::string m_path;
};

// A simulated bus that outlives single runs, as the mice outlive the program.
struct CliBench {
    explicit CliBench(const std::string& scenario = "default")
        : backend(std::make_shared<SimBackend>()) {
        LoadSimScenario(*backend, scenario);
    }

    CliRun Run(std::initializer_list<std::string> arguments) {
        return Run(std::vector<std::string>(arguments));
    }
    CliRun Run(const std::vector<std::string>& arguments) {
        std::vector<const char*> argv{"kestrixctl"};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        std::ostringstream out;
        std::ostringstream err;
        CliEnvironment environment;
        environment.backend = backend;
        environment.programFolder = programFolder;
        environment.out = &out;
        environment.err = &err;
        CliRun run;
        run.exitCode = RunKestrixCtl(static_cast<int>(argv.size()), argv.data(), environment);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The simulated mouse behind a device of the scenario ("vireo-cable", "harrier_pro-receiver").
    std::shared_ptr<SimMouse> Mouse(const std::string& device) const {
        return backend->Find(device)->Mouse();
    }

    // Opens the database of a model (device_attr) the way the commands do; the caller closes it
    // (the destructor does) before the next run.
    std::unique_ptr<DataStore> OpenStore(const std::string& deviceAttr) const {
        auto store = std::make_unique<DataStore>();
        store->OpenForModel(folders.DataFolder(), deviceAttr);
        return store;
    }
    std::string Setting(const std::string& deviceAttr, const std::string& key,
                        ProfileId profile = 0) const {
        auto store = OpenStore(deviceAttr);
        std::string value;
        store->GetSetting(profile != 0 ? profile : store->GetActiveProfile(), key, value);
        return value;
    }

    CliFolders folders;
    std::shared_ptr<SimBackend> backend;
    std::string programFolder = std::string(KESTRIX_SOURCE_DATA) + "/";  // ending in '/'
};

}  // namespace kestrix::testing
