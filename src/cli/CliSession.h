// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliEvents.h"
#include "cli/CliOutput.h"
#include "cli/CommandStatus.h"
#include "cli/LogCapture.h"
#include "cli/SessionHost.h"
#include "device/Catalogue.h"
#include "device/DeviceWorker.h"
#include "device/HidBackend.h"
#include "device/HidDeviceManager.h"
#include "platform/AppRegistry.h"
#include "store/DataStore.h"

namespace kestrix {

// Where a session finds its data and its mice.
struct SessionSetup {
    std::string programFolder;  // config.xml and device/, ending in '/'
    std::string dataFolder;     // per-user data folder, ending in '/'
    Catalogue catalogue;
    std::shared_ptr<HidBackend> backend;
    int requestedModel = 0;       // --model N; 0 = the model the window program would select
    int storedModel = 0;          // the window program's remembered model (0 = none)
    CliOutput* output = nullptr;  // where the session says which mouse it chose; may be null
    // Prints a warning line that is not the command's result (a damaged database moved aside).
    std::function<void(const std::string& line)> warn;
    // The running window program whose manager, store and worker the session borrows; null =
    // the session opens its own (backend is then required).
    SessionHost* host = nullptr;
};

// What a command needs before it can run.
enum class SessionNeed {
    Devices,  // the device list only; no database is opened
    Store,    // the model's database (the mouse may be absent when --model names the model)
    Mouse,    // the database and a mouse that answers
};

// One command's connection to the mouse and the store, as the window program has it: a
// device manager over the chosen back end, the model's database with its profiles, and the
// device worker, whose tasks run one at a time on the calling thread. Device failures come
// back as statuses carrying the failed task's reason. With a host (the window program runs
// the command) the session uses the window's manager, store and worker instead: it takes the
// mouse the window selected and queues its tasks behind the window's own.
class CliSession {
  public:
    explicit CliSession(SessionSetup setup);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Rescans the attached mice (task 1 without reading the settings), selects the requested
    // model or the one the window program would (its remembered model when attached, else the
    // first attached mouse), opens its database and makes sure of its profiles and lighting
    // rows. Failure (exit 1) when what need asks for is missing, naming the mouse that does not
    // answer; never another mouse instead.
    CommandStatus Open(SessionNeed need);
    // The window program's remembered model (registry value DeviceType) of programName, read
    // without creating its key; 0 when there is none.
    static int StoredModel(const std::string& programName);
    // Runs one worker task now and waits for it; failure (exit 1) with the task's reason when
    // the task's result is not ok, or with the store's reason when the store refused any
    // statement during the task.
    CommandStatus RunTask(DeviceTask task);
    // Rescans with model selected and applies its identity (for the device list).
    CommandStatus Identify(int model);
    // The identity of an attached model (battery, on line) for the device list: a rescan that
    // selects it; with a host only the window's selected model has one.
    std::optional<DeviceState> IdentityOf(int model);
    // The firmware version text the mouse reported ("" when not read).
    std::string ReportedFirmware() const;

    DataStore& Store() { return *m_store; }
    DeviceWorker& Worker() { return *m_worker; }
    HidDeviceManager& Manager() { return *m_manager; }
    CliEvents& Events() { return m_events; }
    // The log lines of this session, for the reason of a failed file or network operation.
    const LogCapture& Log() const { return m_log; }
    // For an operation that returned a failure: the last line logged after mark (the exchange
    // files and the update service log why they refused as their last word), else fallback.
    std::string LoggedReason(size_t mark, const char* fallback) const;
    // For a store read that failed after mark: "the database ... cannot be read (reason)" when
    // the store logged a failure since mark, else failure with fallback.
    CommandStatus StoreFailure(size_t mark, std::string fallback) const;
    const Catalogue& GetCatalogue() const { return m_setup.catalogue; }
    // The model the session works on (0 before a successful Open).
    int ModelNumber() const { return m_model; }
    // Its catalogue entry; null before a successful Open.
    const CatalogueModel* Model() const;
    // Its description file (keys, lighting effects).
    const DeviceDefinition& Definition() const { return m_definition; }
    // True when the model's mouse is attached and answered its identity.
    bool MouseOnline() const { return m_mouseOnline; }
    // The current (active) profile of the model's database.
    ProfileId Profile() const { return m_store->CurrentProfile(); }
    // Creates the default lighting rows of profile when it has none (lighting models only).
    void EnsureLightRows(ProfileId profile);

  private:
    // The worker's remembered-model value: the model --model asks for, kept in memory so a
    // script never changes what the window program selects first.
    class RememberedModel final : public AppRegistry {
      public:
        int ReadAppRegistryInt(const std::string& valueName) override;
        bool WriteAppRegistryString(const std::string&, const std::string&) override {
            return true;
        }
        int model = 0;
    };

    CommandStatus OpenStoreOffline();
    // Open with a host: the window's selection instead of a rescan.
    CommandStatus OpenHosted(SessionNeed need);
    // Open's checks once the model is known; failures is the store's FailureCount before Open.
    CommandStatus CheckOpened(SessionNeed need, bool attached, const CommandStatus& identified,
                              unsigned failures);
    // Failure with the store's last reason when the store refused a statement after mark (a
    // FailureCount reading); success otherwise.
    CommandStatus StoreFailureSince(unsigned mark) const;
    // Prints the warning about a damaged database the store moved aside, once.
    void WarnAboutMovedStore();
    // With no --model: failure when the mouse the window program would select is attached but
    // does not answer; says which mouse was chosen when several are attached.
    CommandStatus CheckChosenMouse(int preferred);
    // "the mouse attached by cable" / "the receiver's mouse", with its product and path.
    static std::string DescribeEntry(const HidDeviceEntryView& entry);
    // Failure naming the model's database, the data folder it should be in and the store's
    // last logged reason.
    CommandStatus DatabaseFailure() const;

    SessionSetup m_setup;
    LogCapture m_log;
    CliEvents m_events;
    DataStore m_ownStore;
    DataStore* m_store = &m_ownStore;  // the host's store with a host
    std::unique_ptr<HidDeviceManager> m_ownManager;
    HidDeviceManager* m_manager = nullptr;  // m_ownManager or the host's
    RememberedModel m_remembered;
    DeviceDefinition m_definition;
    int m_model = 0;
    bool m_mouseOnline = false;
    std::unique_ptr<DeviceWorker> m_ownWorker;  // last of the owned: it uses the members above
    DeviceWorker* m_worker = nullptr;           // m_ownWorker or the host's
};

}  // namespace kestrix
