// SPDX-License-Identifier: MIT
#include "bus/BusService.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <nlohmann/json.hpp>

#include "base/Log.h"
#include "base/Text.h"
#include "bus/BusNames.h"

namespace kestrix::bus {
namespace {

using Json = nlohmann::json;

BusService& ServiceOf(void* userdata) { return *static_cast<BusService*>(userdata); }

const sd_bus_vtable kManagerVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD_WITH_NAMES("Run", "ass", SD_BUS_PARAM(arguments) SD_BUS_PARAM(working_directory),
                             "ssi", SD_BUS_PARAM(out) SD_BUS_PARAM(err) SD_BUS_PARAM(exit_code),
                             BusService::OnRun, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("ListMice", "", , "a(iosssiis)", SD_BUS_PARAM(mice),
                             BusService::OnListMice, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL_WITH_NAMES("MouseAdded", "oi", SD_BUS_PARAM(mouse) SD_BUS_PARAM(model), 0),
    SD_BUS_SIGNAL_WITH_NAMES("MouseRemoved", "oi", SD_BUS_PARAM(mouse) SD_BUS_PARAM(model), 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable kMouseVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Model", "i", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Name", "s", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Connection", "s", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Link", "s", BusService::OnProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("BatteryLevel", "i", BusService::OnProperty, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("BatteryCharge", "i", BusService::OnProperty, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("Firmware", "s", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Release", "u", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Selected", "b", BusService::OnProperty, 0, 0),
    SD_BUS_PROPERTY("Profile", "i", BusService::OnProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_METHOD_WITH_NAMES("GetSettings", "", , "a{ss}", SD_BUS_PARAM(settings),
                             BusService::OnGetSettings, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("GetSetting", "s", SD_BUS_PARAM(key), "s", SD_BUS_PARAM(value),
                             BusService::OnGetSetting, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("SetSetting", "ss", SD_BUS_PARAM(key) SD_BUS_PARAM(value), "", ,
                             BusService::OnSetSetting, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("ListProfiles", "", , "a(isb)", SD_BUS_PARAM(profiles),
                             BusService::OnListProfiles, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("UseProfile", "i", SD_BUS_PARAM(profile), "", ,
                             BusService::OnUseProfile, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("ListButtons", "", , "a(issiii)", SD_BUS_PARAM(buttons),
                             BusService::OnListButtons, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD_WITH_NAMES("SetButton", "iiii",
                             SD_BUS_PARAM(key_code) SD_BUS_PARAM(type) SD_BUS_PARAM(value)
                                 SD_BUS_PARAM(value2),
                             "", , BusService::OnSetButton, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL_WITH_NAMES("LinkChanged", "b", SD_BUS_PARAM(up), 0),
    SD_BUS_SIGNAL_WITH_NAMES("DpiStageChanged", "ii", SD_BUS_PARAM(index) SD_BUS_PARAM(dpi), 0),
    SD_BUS_SIGNAL_WITH_NAMES("BatteryLevel", "ii", SD_BUS_PARAM(level) SD_BUS_PARAM(charge), 0),
    SD_BUS_SIGNAL_WITH_NAMES("ProfileSwitched", "is", SD_BUS_PARAM(profile) SD_BUS_PARAM(name), 0),
    SD_BUS_VTABLE_END};

// The value of a stored setting as the bus gives it: numbers in decimal.
std::string SettingText(const Json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_null()) return {};
    return value.dump();
}

int IntOrNone(const Json& value) { return value.is_number_integer() ? value.get<int>() : -1; }

// Replies to call with an array of element values, append adding one item and returning
// sd-bus's result; the first failure is returned and nothing is sent.
template <typename Items, typename Append>
int ReplyWithArray(sd_bus_message* call, const char* element, const Items& items, Append append) {
    sd_bus_message* raw = nullptr;
    int result = sd_bus_message_new_method_return(call, &raw);
    MessagePtr reply(raw);
    if (result >= 0) result = sd_bus_message_open_container(reply.get(), 'a', element);
    for (const auto& item : items) {
        if (result < 0) break;
        result = append(reply.get(), item);
    }
    if (result >= 0) result = sd_bus_message_close_container(reply.get());
    if (result < 0) return result;
    return sd_bus_send(nullptr, reply.get(), nullptr);
}

}  // namespace

// The outcome of a command run for a mouse method.
struct BusService::JsonRun {
    bool ok = false;
    Json document;      // the command's --json document when ok
    int exitCode = 0;   // kestrixctl's exit code
    std::string error;  // its reason when not ok
};

// The wake-up exists from the start: the worker may post before the thread runs.
BusService::BusService(BusServiceHost host)
    : m_host(std::move(host)), m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

BusService::~BusService() { Stop(); }

bool BusService::Start() {
    sd_bus* raw = nullptr;
    int result = sd_bus_open_user(&raw);
    m_bus.reset(raw);
    if (result < 0) {
        LogLine("session bus: not reachable (%s); no D-Bus interface", std::strerror(-result));
        m_bus.reset();
        return false;
    }
    sd_bus_slot* slot = nullptr;
    result = sd_bus_add_object_vtable(m_bus.get(), &slot, kManagerPath, kManagerInterface,
                                      kManagerVtable, this);
    m_slots.emplace_back(slot);
    if (result >= 0) {
        result = sd_bus_add_fallback_vtable(m_bus.get(), &slot, kMousePrefix, kMouseInterface,
                                            kMouseVtable, OnFindMouse, this);
        m_slots.emplace_back(slot);
    }
    if (result >= 0) {
        result =
            sd_bus_add_node_enumerator(m_bus.get(), &slot, kMousePrefix, OnEnumerateMice, this);
        m_slots.emplace_back(slot);
    }
    if (result >= 0) {
        result = sd_bus_add_object_manager(m_bus.get(), &slot, kManagerPath);
        m_slots.emplace_back(slot);
    }
    if (result >= 0) result = sd_bus_request_name(m_bus.get(), kBusName, 0);
    if (result < 0) {
        LogLine("session bus: the interface %s could not be offered (%s)", kBusName,
                std::strerror(-result));
        m_slots.clear();
        m_bus.reset();
        return false;
    }
    if (!m_wake.Valid()) {
        LogLine("session bus: eventfd failed (%s)", std::strerror(errno));
        m_slots.clear();
        m_bus.reset();
        return false;
    }
    m_stopping = false;
    m_thread = std::thread([this] { ThreadMain(); });
    LogLine("session bus: %s offered", kBusName);
    return true;
}

void BusService::Stop() {
    if (!m_thread.joinable()) return;
    m_stopping = true;
    const uint64_t one = 1;
    if (write(m_wake.Get(), &one, sizeof one) < 0)
        LogLine("session bus: waking the bus thread failed (%s)", std::strerror(errno));
    m_thread.join();
    m_slots.clear();
    m_bus.reset();
}

void BusService::Post(std::function<void()> work) {
    {
        std::lock_guard lock(m_postedMutex);
        m_posted.push_back(std::move(work));
    }
    // Before Start the work waits for the thread, which runs it first.
    if (!m_wake.Valid()) return;
    const uint64_t one = 1;
    if (write(m_wake.Get(), &one, sizeof one) < 0)
        LogLine("session bus: waking the bus thread failed (%s)", std::strerror(errno));
}

void BusService::RunPosted() {
    std::deque<std::function<void()>> posted;
    {
        std::lock_guard lock(m_postedMutex);
        posted.swap(m_posted);
    }
    for (const auto& work : posted) work();
}

void BusService::ThreadMain() {
    CompareMice();
    while (!m_stopping.load()) {
        int processed = 0;
        while ((processed = sd_bus_process(m_bus.get(), nullptr)) > 0) {}
        if (processed < 0) {
            LogLine("session bus: connection lost (%s); the interface ends",
                    std::strerror(-processed));
            return;
        }
        RunPosted();
        if (m_stopping.load()) break;
        // Flush what the posted work queued (signals) before waiting.
        sd_bus_flush(m_bus.get());
        uint64_t deadline = UINT64_MAX;
        sd_bus_get_timeout(m_bus.get(), &deadline);
        int timeoutMs = -1;
        if (deadline != UINT64_MAX) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const uint64_t nowUsec = static_cast<uint64_t>(now.tv_sec) * 1000000u +
                                     static_cast<uint64_t>(now.tv_nsec) / 1000u;
            timeoutMs =
                deadline <= nowUsec ? 0 : static_cast<int>((deadline - nowUsec + 999) / 1000);
        }
        pollfd fds[2] = {
            {sd_bus_get_fd(m_bus.get()), static_cast<short>(sd_bus_get_events(m_bus.get())), 0},
            {m_wake.Get(), POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR) {
            LogLine("session bus: poll failed (%s); the interface ends", std::strerror(errno));
            return;
        }
        uint64_t count = 0;
        if (read(m_wake.Get(), &count, sizeof count) < 0 && errno != EAGAIN)
            LogLine("session bus: reading the wake-up failed (%s)", std::strerror(errno));
    }
}

// ---- Notifications from the worker's observer ----

void BusService::DevicesChanged() {
    Post([this] { CompareMice(); });
}

void BusService::BatteryReported(int level, int charge) {
    Post([this, level, charge] {
        for (auto& [model, mouse] : m_known) {
            // Identity reports of a cabled mouse carry no battery: its level stays unknown.
            if (!mouse.selected || mouse.connection != "receiver") continue;
            mouse.batteryLevel = level;
            mouse.batteryCharge = charge;
            EmitForMouse(model, "BatteryLevel", "ii", level, charge);
            const std::string path = PathOfModel(model);
            sd_bus_emit_properties_changed(m_bus.get(), path.c_str(), kMouseInterface,
                                           "BatteryLevel", "BatteryCharge", nullptr);
            const int threshold = m_host.lowBatteryPercent ? m_host.lowBatteryPercent() : 0;
            if (m_alarm.OnLevel(level, charge == 1, threshold) && m_host.lowBatteryText) {
                const auto [summary, body] = m_host.lowBatteryText(mouse.name, level);
                Notify(summary, body);
            }
        }
    });
}

void BusService::CompareMice() {
    std::map<int, BusMouse> previous = std::move(m_known);
    m_known.clear();
    for (BusMouse& mouse : m_host.listMice()) {
        // A battery level the listing does not know yet is kept from the last report.
        const auto known = previous.find(mouse.model);
        if (known != previous.end() && mouse.batteryLevel < 0) {
            mouse.batteryLevel = known->second.batteryLevel;
            mouse.batteryCharge = known->second.batteryCharge;
        }
        m_known[mouse.model] = std::move(mouse);
    }
    for (const auto& [model, mouse] : previous) {
        if (m_known.count(model) != 0) continue;
        const std::string path = PathOfModel(model);
        sd_bus_emit_signal(m_bus.get(), kManagerPath, kManagerInterface, "MouseRemoved", "oi",
                           path.c_str(), model);
        sd_bus_emit_interfaces_removed(m_bus.get(), path.c_str(), kMouseInterface, nullptr);
    }
    // Properties-changed signals read the new values from m_known.
    for (const auto& [model, mouse] : m_known) {
        const std::string path = PathOfModel(model);
        const auto known = previous.find(model);
        if (known == previous.end()) {
            sd_bus_emit_interfaces_added(m_bus.get(), path.c_str(), kMouseInterface, nullptr);
            sd_bus_emit_signal(m_bus.get(), kManagerPath, kManagerInterface, "MouseAdded", "oi",
                               path.c_str(), model);
            continue;
        }
        const BusMouse& before = known->second;
        if (before.link != mouse.link && (mouse.link == "up" || before.link == "up")) {
            EmitForMouse(model, "LinkChanged", "b", mouse.link == "up" ? 1 : 0);
            sd_bus_emit_properties_changed(m_bus.get(), path.c_str(), kMouseInterface, "Link",
                                           nullptr);
        }
        if (!mouse.selected || !before.selected) continue;
        if (before.profile != mouse.profile && mouse.profile != 0) {
            EmitForMouse(model, "ProfileSwitched", "is", mouse.profile, mouse.profileName.c_str());
            sd_bus_emit_properties_changed(m_bus.get(), path.c_str(), kMouseInterface, "Profile",
                                           nullptr);
        }
        if ((before.dpiIndex != mouse.dpiIndex || before.dpi != mouse.dpi) && mouse.dpi > 0)
            EmitForMouse(model, "DpiStageChanged", "ii", mouse.dpiIndex, mouse.dpi);
    }
}

void BusService::EmitForMouse(int model, const char* member, const char* types, ...) {
    const std::string path = PathOfModel(model);
    va_list arguments;
    va_start(arguments, types);
    const int result =
        sd_bus_emit_signalv(m_bus.get(), path.c_str(), kMouseInterface, member, types, arguments);
    va_end(arguments);
    if (result < 0)
        LogLine("session bus: signal %s of %s failed (%s)", member, path.c_str(),
                std::strerror(-result));
}

void BusService::Notify(const std::string& summary, const std::string& body) {
    const int result = sd_bus_call_method_async(
        m_bus.get(), nullptr, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        "org.freedesktop.Notifications", "Notify",
        [](sd_bus_message* reply, void*, sd_bus_error*) {
            if (sd_bus_message_is_method_error(reply, nullptr)) {
                const sd_bus_error* error = sd_bus_message_get_error(reply);
                LogLine("low-battery notification refused: %s",
                        error != nullptr && error->message != nullptr ? error->message : "?");
            }
            return 0;
        },
        nullptr, "susssasa{sv}i", "Kestrix", 0u, "battery-low", summary.c_str(), body.c_str(), 0, 0,
        -1);
    if (result < 0)
        LogLine("low-battery notification could not be sent (%s)", std::strerror(-result));
    else
        LogLine("low-battery notification: %s", body.c_str());
}

// ---- Objects ----

int BusService::ModelOfPath(const char* path) {
    const size_t prefix = std::strlen(kMousePrefix);
    if (std::strncmp(path, kMousePrefix, prefix) != 0 || path[prefix] != '/') return 0;
    const char* digits = path + prefix + 1;
    const char* end = digits + std::strlen(digits);
    int model = 0;
    const auto [stop, error] = std::from_chars(digits, end, model);
    return error == std::errc() && stop == end && model > 0 ? model : 0;
}

std::string BusService::PathOfModel(int model) {
    return std::string(kMousePrefix) + "/" + std::to_string(model);
}

int BusService::OnFindMouse(sd_bus*, const char* path, const char*, void* userdata, void** found,
                            sd_bus_error*) {
    BusService& service = ServiceOf(userdata);
    const int model = ModelOfPath(path);
    if (model == 0 || service.m_known.count(model) == 0) return 0;
    *found = userdata;
    return 1;
}

int BusService::OnEnumerateMice(sd_bus*, const char*, void* userdata, char*** nodes,
                                sd_bus_error*) {
    BusService& service = ServiceOf(userdata);
    char** list = static_cast<char**>(calloc(service.m_known.size() + 1, sizeof(char*)));
    if (list == nullptr) return -ENOMEM;
    size_t at = 0;
    for (const auto& [model, mouse] : service.m_known)
        list[at++] = strdup(PathOfModel(model).c_str());
    *nodes = list;
    return 0;
}

int BusService::OnProperty(sd_bus*, const char* path, const char*, const char* property,
                           sd_bus_message* reply, void* userdata, sd_bus_error* error) {
    BusService& service = ServiceOf(userdata);
    const auto known = service.m_known.find(ModelOfPath(path));
    if (known == service.m_known.end())
        return sd_bus_error_set(error, SD_BUS_ERROR_UNKNOWN_OBJECT, "no such mouse");
    const BusMouse& mouse = known->second;
    const std::string_view name = property;
    if (name == "Model") return sd_bus_message_append(reply, "i", mouse.model);
    if (name == "Name") return sd_bus_message_append(reply, "s", mouse.name.c_str());
    if (name == "Connection") return sd_bus_message_append(reply, "s", mouse.connection.c_str());
    if (name == "Link") return sd_bus_message_append(reply, "s", mouse.link.c_str());
    if (name == "BatteryLevel") return sd_bus_message_append(reply, "i", mouse.batteryLevel);
    if (name == "BatteryCharge") return sd_bus_message_append(reply, "i", mouse.batteryCharge);
    if (name == "Firmware") return sd_bus_message_append(reply, "s", mouse.firmware.c_str());
    if (name == "Release") return sd_bus_message_append(reply, "u", mouse.release);
    if (name == "Selected") return sd_bus_message_append(reply, "b", mouse.selected ? 1 : 0);
    if (name == "Profile") return sd_bus_message_append(reply, "i", mouse.profile);
    return sd_bus_error_set(error, SD_BUS_ERROR_UNKNOWN_PROPERTY, property);
}

// ---- Methods ----

int BusService::OnRun(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    BusService& service = ServiceOf(userdata);
    char** words = nullptr;
    int result = sd_bus_message_read_strv(call, &words);
    if (result < 0) return result;
    std::vector<std::string> arguments;
    for (char** word = words; word != nullptr && *word != nullptr; ++word) {
        arguments.emplace_back(*word);
        free(*word);
    }
    free(words);
    const char* workingDirectory = nullptr;
    result = sd_bus_message_read(call, "s", &workingDirectory);
    if (result < 0) return result;
    if (workingDirectory[0] != '\0' && workingDirectory[0] != '/')
        return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS,
                                "the working directory must be an absolute path");
    const ForwardedRun run = service.m_host.runCommand(arguments, workingDirectory, true);
    // What the command changed shows in the listing (profile, battery) before the answer.
    service.CompareMice();
    return sd_bus_reply_method_return(call, "ssi", run.out.c_str(), run.err.c_str(), run.exitCode);
}

int BusService::OnListMice(sd_bus_message* call, void* userdata, sd_bus_error*) {
    BusService& service = ServiceOf(userdata);
    service.CompareMice();
    return ReplyWithArray(
        call, "(iosssiis)", service.m_known, [](sd_bus_message* reply, const auto& known) {
            const auto& [model, mouse] = known;
            const std::string path = PathOfModel(model);
            return sd_bus_message_append(reply, "(iosssiis)", model, path.c_str(),
                                         mouse.name.c_str(), mouse.connection.c_str(),
                                         mouse.link.c_str(), mouse.batteryLevel,
                                         mouse.batteryCharge, mouse.firmware.c_str());
        });
}

BusService::JsonRun BusService::RunForMouse(sd_bus_message* call,
                                            const std::vector<std::string>& words) {
    const int model = ModelOfPath(sd_bus_message_get_path(call));
    std::vector<std::string> arguments{"--json", "--model", std::to_string(model)};
    arguments.insert(arguments.end(), words.begin(), words.end());
    const ForwardedRun run = m_host.runCommand(arguments, "", false);
    CompareMice();
    JsonRun outcome;
    outcome.exitCode = run.exitCode;
    const Json document = Json::parse(run.out, nullptr, false);
    if (run.exitCode == 0 && !document.is_discarded()) {
        outcome.ok = true;
        outcome.document = document;
        return outcome;
    }
    outcome.error =
        document.is_object() && document.contains("error") && document["error"].is_string()
            ? document["error"].get<std::string>()
            : Format("the command ended with exit code %d", run.exitCode);
    return outcome;
}

namespace {

// Replies with the D-Bus error of a failed mouse method.
int ReplyFailure(sd_bus_error* error, int exitCode, const std::string& reason) {
    const char* name = exitCode == 2   ? kErrorBadValue
                       : exitCode == 3 ? kErrorNotServed
                                       : kErrorFailed;
    return sd_bus_error_set(error, name, reason.c_str());
}

}  // namespace

int BusService::OnGetSettings(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, {"get"});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return ReplyWithArray(call, "{ss}", run.document["settings"].items(),
                          [](sd_bus_message* reply, const auto& setting) {
                              return sd_bus_message_append(reply, "{ss}", setting.key().c_str(),
                                                           SettingText(setting.value()).c_str());
                          });
}

int BusService::OnGetSetting(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const char* key = nullptr;
    const int result = sd_bus_message_read(call, "s", &key);
    if (result < 0) return result;
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, {"get", key});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return sd_bus_reply_method_return(call, "s", SettingText(run.document[key]).c_str());
}

int BusService::OnSetSetting(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const char* key = nullptr;
    const char* value = nullptr;
    const int result = sd_bus_message_read(call, "ss", &key, &value);
    if (result < 0) return result;
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, {"set", key, value});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return sd_bus_reply_method_return(call, "");
}

int BusService::OnListProfiles(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, {"profile", "list"});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return ReplyWithArray(
        call, "(isb)", run.document["profiles"], [](sd_bus_message* reply, const Json& profile) {
            return sd_bus_message_append(reply, "(isb)", profile["id"].get<int>(),
                                         profile["name"].get<std::string>().c_str(),
                                         profile["active"].get<bool>() ? 1 : 0);
        });
}

int BusService::OnUseProfile(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    int profile = 0;
    const int result = sd_bus_message_read(call, "i", &profile);
    if (result < 0) return result;
    const JsonRun run =
        ServiceOf(userdata).RunForMouse(call, {"profile", "use", std::to_string(profile)});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return sd_bus_reply_method_return(call, "");
}

int BusService::OnListButtons(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, {"button", "list"});
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return ReplyWithArray(
        call, "(issiii)", run.document["buttons"], [](sd_bus_message* reply, const Json& button) {
            return sd_bus_message_append(reply, "(issiii)", button["key_code"].get<int>(),
                                         button["name"].get<std::string>().c_str(),
                                         button["function"].get<std::string>().c_str(),
                                         IntOrNone(button["type"]), IntOrNone(button["value"]),
                                         IntOrNone(button["value2"]));
        });
}

int BusService::OnSetButton(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    int keyCode = 0;
    int type = 0;
    int value = 0;
    int value2 = -1;
    const int result = sd_bus_message_read(call, "iiii", &keyCode, &type, &value, &value2);
    if (result < 0) return result;
    std::vector<std::string> words{"button", "set", std::to_string(keyCode), std::to_string(type),
                                   std::to_string(value)};
    if (value2 >= 0) words.push_back(std::to_string(value2));
    const JsonRun run = ServiceOf(userdata).RunForMouse(call, words);
    if (!run.ok) return ReplyFailure(error, run.exitCode, run.error);
    return sd_bus_reply_method_return(call, "");
}

}  // namespace kestrix::bus
