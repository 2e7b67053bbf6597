// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "sim/SimBootLoader.h"
#include "sim/SimFaults.h"
#include "sim/SimFirmware.h"
#include "sim/SimMouse.h"
#include "sim/SimMouseModel.h"
#include "sim/SimReceiver.h"

namespace kestrix {

// The kinds of collection a simulated USB device exposes.
enum class SimCollectionKind { Keyboard, Consumer, Configuration, BootLoader };

// Interface numbers of a simulated device.
inline constexpr int kSimKeyboardInterface = 0;
inline constexpr int kSimConsumerInterface = 1;
inline constexpr int kSimConfigurationInterface = 2;
inline constexpr int kSimBootLoaderInterface = 3;
// Most input reports a collection buffers before dropping the oldest (as hidraw does).
inline constexpr size_t kSimQueueLimit = 64;

// A simulated USB mouse or receiver: a keyboard collection (interface 0), a consumer
// collection (1), the configuration collection usage page 1 / usage 0 (2) and the boot loader
// usage page 0xFFEF (3), each with its own path "sim/<name>/if<N>". Writes to the
// configuration collection go to the firmware (the mouse, or the receiver in front of it), its
// answers and unsolicited reports queue up for reads. Faults apply to that collection;
// the report delay to every collection. Thread-safe.
class SimDevice : public std::enable_shared_from_this<SimDevice> {
  public:
    // A mouse of model attached by cable, answering its cable identity code.
    static std::shared_ptr<SimDevice> MakeCableMouse(const SimMouseModel& model,
                                                     const std::string& name);
    // The receiver of model with its paired mouse, on or off.
    static std::shared_ptr<SimDevice> MakeReceiver(const SimMouseModel& model,
                                                   const std::string& name, bool mouseOn);

    SimDevice(std::string name, uint16_t vendorId, uint16_t productId, uint16_t releaseNumber,
              std::string product, std::shared_ptr<SimMouse> mouse,
              std::shared_ptr<SimReceiver> receiver);

    // Name (unique on a bus), USB identity.
    const std::string& Name() const { return m_name; }
    uint16_t VendorId() const { return m_vendorId; }
    uint16_t ProductId() const { return m_productId; }
    // The mouse behind this device (cabled, or paired with the receiver).
    const std::shared_ptr<SimMouse>& Mouse() const { return m_mouse; }
    // The receiver, or null for a cabled mouse.
    const std::shared_ptr<SimReceiver>& Receiver() const { return m_receiver; }
    // What the boot-loader collection received.
    SimBootLoaderState BootLoaderState() const { return m_bootLoader->State(); }
    // Path of the collection with that interface number.
    std::string PathOf(int interfaceNumber) const;

    // Enumeration records of the collections (empty while unplugged).
    std::vector<HidDeviceInfo> Collections() const;
    // Opens a collection by path; null while unplugged or for an unknown path.
    std::unique_ptr<HidHandle> Open(const std::string& path);
    // First top-level collection of a path; false for an unknown path or while unplugged.
    bool TopCollection(const std::string& path, uint16_t& usagePage, uint16_t& usage) const;

    // Replaces the faults of the configuration collection.
    void SetFaults(const SimFaults& faults);
    // The faults as they stand (counted ones used up as requests came in).
    SimFaults Faults() const;
    // Sets only the per-report delay.
    void SetReportDelay(std::chrono::microseconds delay);
    // Queues an input report on the configuration collection, as if the device sent it.
    void InjectReport(const SimReport& report);
    // Unplugs: open handles fail from now on and the device leaves the enumeration.
    void Unplug();
    // Plugs back in; handles opened before stay dead.
    void Plug();
    // True while plugged in.
    bool IsPlugged() const;
    // Writes that reached the configuration collection.
    int ConfigurationWrites() const;
    // Called with the mouse's state after every request its firmware acted on (keeps the
    // state between runs); an empty function removes it.
    void SetStateSaver(std::function<void(const SimMouseState&)> saver);

    // Handle operations (used by the handles of this device).
    int Write(size_t collection, unsigned generation, const uint8_t* data, size_t length);
    int Read(size_t collection, unsigned generation, uint8_t* data, size_t length, int timeoutMs);
    bool Product(unsigned generation, std::string& product) const;
    // Forgets the eventfd of a handle that is closing. Open registers each handle's eventfd
    // and keeps it readable while a read of the handle would not wait (a report is queued, or
    // the handle is dead), as a hidraw node is for poll().
    void RemoveWaiter(int eventFd);

  private:
    struct Collection {
        SimCollectionKind kind;
        int interfaceNumber;
        uint16_t usagePage;
        uint16_t usage;
        size_t outputLength;  // report ID byte included; 0 = no output report
        std::string path;
        std::deque<SimReport> queue;
    };

    struct Waiter {
        size_t collection;
        unsigned generation;
        int eventFd;
        bool signalled;
    };

    void PushLocked(Collection& collection, SimReport report);
    // Brings every waiter's readiness in line with its collection's queue and the plug state.
    void SyncWaitersLocked();
    // When the report now being written or read is done with the report delay in force (the
    // device takes one report per delay); nothing without a delay.
    std::optional<std::chrono::steady_clock::time_point> ReportSlotLocked();
    void ConnectSinks();
    SimReport DpiNotification() const;

    const std::string m_name;
    const uint16_t m_vendorId;
    const uint16_t m_productId;
    const uint16_t m_releaseNumber;
    const std::string m_product;
    std::shared_ptr<SimMouse> m_mouse;
    std::shared_ptr<SimReceiver> m_receiver;
    std::shared_ptr<SimBootLoader> m_bootLoader;

    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Collection> m_collections;
    std::vector<Waiter> m_waiters;
    SimFaults m_faults;
    bool m_paceStarted = false;
    std::chrono::steady_clock::time_point m_paceOrigin;
    std::chrono::steady_clock::time_point m_lastSlot;
    bool m_plugged = true;
    unsigned m_generation = 0;
    int m_configurationWrites = 0;
    std::function<void(const SimMouseState&)> m_stateSaver;
};

}  // namespace kestrix
