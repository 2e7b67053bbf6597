// SPDX-License-Identifier: MIT
#include "platform/PointerSystem.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <thread>

#include "base/Log.h"

namespace kestrix {
namespace {

constexpr char kMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr char kDaemonMouseSchema[] = "org.gnome.settings-daemon.peripherals.mouse";
constexpr char kSpeedKey[] = "speed";
constexpr char kAccelProfileKey[] = "accel-profile";
constexpr char kDoubleClickKey[] = "double-click";
constexpr int kDefaultSpeed = 10;
constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 20;

}  // namespace

double GnomePointerSystem::SpeedToGsettings(int speed) {
    speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
    if (speed <= kDefaultSpeed)
        return static_cast<double>(speed - kDefaultSpeed) / (kDefaultSpeed - kMinSpeed);
    return static_cast<double>(speed - kDefaultSpeed) / (kMaxSpeed - kDefaultSpeed);
}

int GnomePointerSystem::SpeedFromGsettings(double value) {
    value = std::clamp(value, -1.0, 1.0);
    const double span = value <= 0 ? kDefaultSpeed - kMinSpeed : kMaxSpeed - kDefaultSpeed;
    return std::clamp(static_cast<int>(std::lround(kDefaultSpeed + value * span)), kMinSpeed,
                      kMaxSpeed);
}

struct GnomePointerSystem::Impl {
    GMainContext* context = nullptr;
    GMainLoop* loop = nullptr;
    std::thread thread;
    std::string schemaDirectory;

    // Settings thread only.
    GSettings* mouse = nullptr;
    GSettings* doubleClick = nullptr;  // the mouse object or the daemon's; null when none

    std::mutex mutex;
    std::condition_variable readWake;
    bool read = false;
    bool available = false;
    std::optional<int> speed;
    std::optional<bool> precision;
    std::optional<int> doubleClickMs;
    std::function<void()> listener;

    void Run() {
        g_main_context_push_thread_default(context);
        Detect();
        ReadAll();
        {
            std::lock_guard lock(mutex);
            read = true;
        }
        readWake.notify_all();
        Notify();
        g_main_loop_run(loop);
        if (doubleClick != nullptr && doubleClick != mouse) g_object_unref(doubleClick);
        if (mouse != nullptr) g_object_unref(mouse);
        g_main_context_pop_thread_default(context);
    }

    GSettingsSchema* Lookup(GSettingsSchemaSource* source, const char* id) {
        return source != nullptr ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
    }

    void Detect() {
        GSettingsSchemaSource* source = nullptr;
        if (!schemaDirectory.empty()) {
            GError* error = nullptr;
            source = g_settings_schema_source_new_from_directory(schemaDirectory.c_str(), nullptr,
                                                                 TRUE, &error);
            g_clear_error(&error);
        } else {
            source = g_settings_schema_source_get_default();
            if (source != nullptr) g_settings_schema_source_ref(source);
        }
        GSettingsSchema* schema = Lookup(source, kMouseSchema);
        if (schema == nullptr) {
            LogLine(
                "pointer settings: the desktop offers no such setting (no GSettings schema %s); "
                "values are only stored",
                kMouseSchema);
        } else if (!g_settings_schema_has_key(schema, kSpeedKey) ||
                   !g_settings_schema_has_key(schema, kAccelProfileKey)) {
            LogLine(
                "pointer settings: the desktop offers no such setting (%s lacks speed or "
                "accel-profile); values are only stored",
                kMouseSchema);
        } else {
            mouse = g_settings_new_full(schema, nullptr, nullptr);
            Watch(mouse);
            if (g_settings_schema_has_key(schema, kDoubleClickKey)) {
                doubleClick = mouse;
            } else if (GSettingsSchema* daemon = Lookup(source, kDaemonMouseSchema)) {
                if (g_settings_schema_has_key(daemon, kDoubleClickKey)) {
                    doubleClick = g_settings_new_full(daemon, nullptr, nullptr);
                    Watch(doubleClick);
                }
                g_settings_schema_unref(daemon);
            }
            if (doubleClick == nullptr) {
                LogLine(
                    "pointer settings: the desktop offers no double-click setting; the time is "
                    "only stored");
            }
        }
        if (schema != nullptr) g_settings_schema_unref(schema);
        if (source != nullptr) g_settings_schema_source_unref(source);
        std::lock_guard lock(mutex);
        available = mouse != nullptr;
    }

    void Watch(GSettings* settings) {
        g_signal_connect(settings, "changed", G_CALLBACK(&Impl::OnChanged), this);
    }

    static void OnChanged(GSettings*, const char*, gpointer self) {
        auto* impl = static_cast<Impl*>(self);
        if (impl->ReadAll()) impl->Notify();
    }

    // Reads every key into the kept values; true when one of them changed.
    bool ReadAll() {
        std::optional<int> newSpeed;
        std::optional<bool> newPrecision;
        std::optional<int> newDoubleClick;
        if (mouse != nullptr) {
            newSpeed = SpeedFromGsettings(g_settings_get_double(mouse, kSpeedKey));
            gchar* profile = g_settings_get_string(mouse, kAccelProfileKey);
            // "default" leaves the choice to the input driver, whose default is adaptive.
            newPrecision = std::string(profile) != "flat";
            g_free(profile);
        }
        if (doubleClick != nullptr) {
            const int milliseconds = g_settings_get_int(doubleClick, kDoubleClickKey);
            if (milliseconds > 0) newDoubleClick = milliseconds;
        }
        std::lock_guard lock(mutex);
        const bool changed =
            newSpeed != speed || newPrecision != precision || newDoubleClick != doubleClickMs;
        speed = newSpeed;
        precision = newPrecision;
        doubleClickMs = newDoubleClick;
        return changed;
    }

    void Notify() {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex);
            call = listener;
        }
        if (call) call();
    }

    bool WaitUntilRead(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return readWake.wait_for(lock, timeout, [this] { return read; });
    }

    // Runs write on the settings thread and waits for its result.
    bool OnSettingsThread(const std::function<bool()>& write) {
        if (!WaitUntilRead(std::chrono::seconds(5))) {
            LogLine("pointer settings: the desktop's settings were not read in time");
            return false;
        }
        struct Call {
            const std::function<bool()>* write = nullptr;
            std::mutex mutex;
            std::condition_variable done;
            bool finished = false;
            bool result = false;
        } call;
        call.write = &write;
        g_main_context_invoke(
            context,
            [](gpointer data) -> gboolean {
                auto* c = static_cast<Call*>(data);
                const bool result = (*c->write)();
                {
                    std::lock_guard lock(c->mutex);
                    c->result = result;
                    c->finished = true;
                }
                c->done.notify_all();
                return G_SOURCE_REMOVE;
            },
            &call);
        std::unique_lock lock(call.mutex);
        call.done.wait(lock, [&] { return call.finished; });
        return call.result;
    }

    static bool Written(gboolean written, const char* key) {
        if (!written) LogLine("pointer settings: the desktop refused the value of %s", key);
        return written != FALSE;
    }
};

GnomePointerSystem::GnomePointerSystem(const std::string& schemaDirectory)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->schemaDirectory = schemaDirectory;
    m_impl->context = g_main_context_new();
    m_impl->loop = g_main_loop_new(m_impl->context, FALSE);
    m_impl->thread = std::thread([impl = m_impl.get()] { impl->Run(); });
}

GnomePointerSystem::~GnomePointerSystem() {
    // An idle source quits the loop once it runs, even when the thread has not reached it yet.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit,
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        m_impl->loop, nullptr);
    g_source_attach(quit, m_impl->context);
    g_source_unref(quit);
    m_impl->thread.join();
    g_main_loop_unref(m_impl->loop);
    g_main_context_unref(m_impl->context);
}

bool GnomePointerSystem::WaitUntilRead(std::chrono::milliseconds timeout) {
    return m_impl->WaitUntilRead(timeout);
}

void GnomePointerSystem::SetChangeListener(std::function<void()> listener) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->listener = std::move(listener);
}

bool GnomePointerSystem::Available() {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->available;
}

bool GnomePointerSystem::SetPointerSpeed(int speed) {
    Impl& impl = *m_impl;
    return impl.OnSettingsThread([&impl, speed] {
        if (impl.mouse == nullptr) return false;
        if (!Impl::Written(g_settings_set_double(impl.mouse, kSpeedKey, SpeedToGsettings(speed)),
                           kSpeedKey))
            return false;
        std::lock_guard lock(impl.mutex);
        impl.speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
        return true;
    });
}

bool GnomePointerSystem::SetEnhancedPrecision(bool enabled) {
    Impl& impl = *m_impl;
    return impl.OnSettingsThread([&impl, enabled] {
        if (impl.mouse == nullptr) return false;
        if (!Impl::Written(
                g_settings_set_string(impl.mouse, kAccelProfileKey, enabled ? "adaptive" : "flat"),
                kAccelProfileKey))
            return false;
        std::lock_guard lock(impl.mutex);
        impl.precision = enabled;
        return true;
    });
}

bool GnomePointerSystem::SetWheelScrollLines(int /*lines*/) {
    std::lock_guard guard(m_wheelMutex);
    if (!m_wheelNoted) {
        m_wheelNoted = true;
        LogLine(
            "pointer settings: the desktop offers no wheel-lines setting; the value is only "
            "stored");
    }
    return false;
}

bool GnomePointerSystem::SetDoubleClickTime(int milliseconds) {
    Impl& impl = *m_impl;
    return impl.OnSettingsThread([&impl, milliseconds] {
        if (impl.doubleClick == nullptr) return false;
        if (milliseconds <= 0) {
            LogLine("pointer settings: double-click time %d ms not applied", milliseconds);
            return false;
        }
        if (!Impl::Written(g_settings_set_int(impl.doubleClick, kDoubleClickKey, milliseconds),
                           kDoubleClickKey))
            return false;
        std::lock_guard lock(impl.mutex);
        impl.doubleClickMs = milliseconds;
        return true;
    });
}

std::optional<int> GnomePointerSystem::PointerSpeed() {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->speed;
}

std::optional<bool> GnomePointerSystem::EnhancedPrecision() {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->precision;
}

std::optional<int> GnomePointerSystem::DoubleClickTime() {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->doubleClickMs;
}

}  // namespace kestrix
