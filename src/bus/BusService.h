// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/UniqueFd.h"
#include "bus/BusHandle.h"
#include "bus/LowBatteryAlarm.h"
#include "bus/WindowClient.h"

namespace kestrix::bus {

// What the service shows of one attached mouse.
struct BusMouse {
    int model = 0;
    std::string name;
    std::string connection;  // "cable" or "receiver"
    std::string link;        // "up", "down" or "absent"
    int batteryLevel = -1;   // percent; -1 while unknown
    int batteryCharge = -1;  // value A (1 = charging); -1 while unknown
    std::string firmware;    // e.g. "105"; "" when not read
    unsigned release = 0;    // USB release number
    bool selected = false;   // the mouse the window works on
    int profile = 0;         // its current profile (selected mouse only, else 0)
    std::string profileName;
    int dpiIndex = -1;  // its current DPI stage from 0 (selected mouse only)
    int dpi = 0;        // that stage's DPI
};

// What the window program gives the service; every function is called on the bus thread.
struct BusServiceHost {
    // Runs kestrixctl's command line (no program name) inside the window program against its
    // worker, relative FILE arguments from workingDirectory, and returns what it printed.
    // forwarded: the line is kestrixctl's own, whose choice of mice (--simulate) must match the
    // window's; otherwise the service made it for the window's mice.
    std::function<ForwardedRun(const std::vector<std::string>& arguments,
                               const std::string& workingDirectory, bool forwarded)>
        runCommand;
    // The attached mice, each model once.
    std::function<std::vector<BusMouse>()> listMice;
    // The low-battery threshold in percent (0 = never warn).
    std::function<int()> lowBatteryPercent;
    // Summary and body of the low-battery notification for a model name and level.
    std::function<std::pair<std::string, std::string>(const std::string& name, int level)>
        lowBatteryText;
};

// The window program's session D-Bus interface (name kBusName): a manager object and one
// object per attached model, served by sd-bus on a thread of its own. Method calls run on that
// thread one at a time; the commands they run queue their device tasks on the window's worker
// and wait for them. The worker's observer reports what the signals announce through the
// thread-safe notifications below. The session bus admits only the session's own user.
class BusService {
  public:
    explicit BusService(BusServiceHost host);
    // Stops the thread.
    ~BusService();
    BusService(const BusService&) = delete;
    BusService& operator=(const BusService&) = delete;

    // Connects to the session bus, registers the objects, takes the bus name and starts the
    // thread. False with a log line (and nothing running) when there is no session bus or the
    // name is taken.
    bool Start();
    // Ends the thread after the call in progress; the name is released.
    void Stop();

    // Notifications, any thread (the worker's observer), in the order they happened.
    // The device list or the selected mouse's state changed (mice added or removed, links up
    // or down, the DPI stage the mouse switched to): the service lists the mice again and
    // announces the differences.
    void DevicesChanged();
    // The mouse behind the receiver reported its battery.
    void BatteryReported(int level, int charge);

    // sd-bus callbacks (userdata is the service).
    static int OnRun(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnListMice(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnGetSettings(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnGetSetting(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnSetSetting(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnListProfiles(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnUseProfile(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnListButtons(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnSetButton(sd_bus_message* call, void* userdata, sd_bus_error* error);
    static int OnProperty(sd_bus* bus, const char* path, const char* interface,
                          const char* property, sd_bus_message* reply, void* userdata,
                          sd_bus_error* error);
    static int OnFindMouse(sd_bus* bus, const char* path, const char* interface, void* userdata,
                           void** found, sd_bus_error* error);
    static int OnEnumerateMice(sd_bus* bus, const char* prefix, void* userdata, char*** nodes,
                               sd_bus_error* error);

  private:
    // The outcome of a command run for a mouse method: its JSON document or a D-Bus error.
    struct JsonRun;

    void ThreadMain();
    // Queues work for the bus thread and wakes it.
    void Post(std::function<void()> work);
    void RunPosted();
    // Runs kestrixctl's command words for the mouse at path with --json.
    JsonRun RunForMouse(sd_bus_message* call, const std::vector<std::string>& words);
    // Re-lists the mice and emits what changed since the last listing: mice added and removed,
    // links, and the selected mouse's profile and DPI stage.
    void CompareMice();
    void EmitForMouse(int model, const char* member, const char* types, ...);
    void Notify(const std::string& summary, const std::string& body);
    static int ModelOfPath(const char* path);
    static std::string PathOfModel(int model);

    BusServiceHost m_host;
    BusPtr m_bus;
    std::vector<SlotPtr> m_slots;
    UniqueFd m_wake;  // eventfd: posted work or stop
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;

    // Bus thread only.
    std::map<int, BusMouse> m_known;  // by model, as last listed
    LowBatteryAlarm m_alarm;
};

}  // namespace kestrix::bus
