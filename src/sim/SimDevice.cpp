// SPDX-License-Identifier: MIT
#include "sim/SimDevice.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <thread>

#include "base/Log.h"
#include "base/UniqueFd.h"

#include "device/CommandFrame.h"

namespace kestrix {
namespace {

constexpr uint16_t kGenericDesktopPage = 0x0001;
constexpr uint16_t kKeyboardUsage = 0x0006;
constexpr uint16_t kConsumerPage = 0x000C;
constexpr uint16_t kConsumerControlUsage = 0x0001;
constexpr uint16_t kBootLoaderPage = 0xFFEF;

class SimHandle : public HidHandle {
  public:
    SimHandle(std::shared_ptr<SimDevice> device, size_t collection, unsigned generation)
        : m_device(std::move(device)),
          m_collection(collection),
          m_generation(generation),
          m_ready(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        // The device registers the descriptor (it opens handles under its lock).
        if (!m_ready.Valid()) {
            LogLine("simulated HID: no eventfd for a handle; its input is read in timed slices");
        }
    }
    ~SimHandle() override {
        if (m_ready.Valid()) m_device->RemoveWaiter(m_ready.Get());
    }
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;

    int Write(const uint8_t* data, size_t length) override {
        return m_device->Write(m_collection, m_generation, data, length);
    }
    int ReadTimeout(uint8_t* data, size_t length, int timeoutMs) override {
        return m_device->Read(m_collection, m_generation, data, length, timeoutMs);
    }
    bool ProductString(std::string& product) override {
        return m_device->Product(m_generation, product);
    }
    int WaitDescriptor() const override { return m_ready.Get(); }

  private:
    std::shared_ptr<SimDevice> m_device;
    size_t m_collection;
    unsigned m_generation;
    UniqueFd m_ready;
};

}  // namespace

std::shared_ptr<SimDevice> SimDevice::MakeCableMouse(const SimMouseModel& model,
                                                     const std::string& name) {
    auto mouse = std::make_shared<SimMouse>(model, model.cableDevId);
    auto device = std::make_shared<SimDevice>(name, model.vendorId, model.cablePid,
                                              model.releaseNumber, model.name, mouse, nullptr);
    device->ConnectSinks();
    return device;
}

std::shared_ptr<SimDevice> SimDevice::MakeReceiver(const SimMouseModel& model,
                                                   const std::string& name, bool mouseOn) {
    auto mouse = std::make_shared<SimMouse>(model, model.cableDevId);
    auto receiver = std::make_shared<SimReceiver>(mouse, model.receiverDevId, mouseOn);
    auto device =
        std::make_shared<SimDevice>(name, model.vendorId, model.receiverPid, model.releaseNumber,
                                    model.name + " Receiver", mouse, receiver);
    device->ConnectSinks();
    return device;
}

SimDevice::SimDevice(std::string name, uint16_t vendorId, uint16_t productId,
                     uint16_t releaseNumber, std::string product, std::shared_ptr<SimMouse> mouse,
                     std::shared_ptr<SimReceiver> receiver)
    : m_name(std::move(name)),
      m_vendorId(vendorId),
      m_productId(productId),
      m_releaseNumber(releaseNumber),
      m_product(std::move(product)),
      m_mouse(std::move(mouse)),
      m_receiver(std::move(receiver)),
      m_bootLoader(std::make_shared<SimBootLoader>()) {
    const std::string prefix = "sim/" + m_name + "/if";
    // Enumeration order puts the configuration collection between the others, so filtering
    // by usage is exercised on every scan.
    m_collections.push_back({SimCollectionKind::Keyboard,
                             kSimKeyboardInterface,
                             kGenericDesktopPage,
                             kKeyboardUsage,
                             2,
                             prefix + "0",
                             {}});
    m_collections.push_back({SimCollectionKind::Configuration,
                             kSimConfigurationInterface,
                             0x0001,
                             0x0000,
                             1 + kSimReportSize,
                             prefix + "2",
                             {}});
    m_collections.push_back({SimCollectionKind::Consumer,
                             kSimConsumerInterface,
                             kConsumerPage,
                             kConsumerControlUsage,
                             0,
                             prefix + "1",
                             {}});
    m_collections.push_back({SimCollectionKind::BootLoader,
                             kSimBootLoaderInterface,
                             kBootLoaderPage,
                             0x0000,
                             kBootReportSize,
                             prefix + "3",
                             {}});
}

void SimDevice::ConnectSinks() {
    std::weak_ptr<SimDevice> weak = weak_from_this();
    SimReportSink sink = [weak](const SimReport& report) {
        if (auto device = weak.lock()) {
            device->InjectReport(report);
        }
    };
    if (m_receiver) {
        m_receiver->SetUnsolicitedSink(sink);
    } else {
        m_mouse->SetUnsolicitedSink(sink);
    }
}

std::string SimDevice::PathOf(int interfaceNumber) const {
    for (const Collection& collection : m_collections) {
        if (collection.interfaceNumber == interfaceNumber) {
            return collection.path;
        }
    }
    return {};
}

std::vector<HidDeviceInfo> SimDevice::Collections() const {
    std::lock_guard lock(m_mutex);
    std::vector<HidDeviceInfo> infos;
    if (!m_plugged) {
        return infos;
    }
    for (const Collection& collection : m_collections) {
        HidDeviceInfo info;
        info.path = collection.path;
        info.vendorId = m_vendorId;
        info.productId = m_productId;
        info.usagePage = collection.usagePage;
        info.usage = collection.usage;
        info.releaseNumber = m_releaseNumber;
        info.interfaceNumber = collection.interfaceNumber;
        info.productString = m_product;
        infos.push_back(std::move(info));
    }
    return infos;
}

std::unique_ptr<HidHandle> SimDevice::Open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) {
        return nullptr;
    }
    for (size_t i = 0; i < m_collections.size(); ++i) {
        if (m_collections[i].path == path) {
            auto handle = std::make_unique<SimHandle>(shared_from_this(), i, m_generation);
            if (handle->WaitDescriptor() >= 0) {
                m_waiters.push_back({i, m_generation, handle->WaitDescriptor(), false});
                SyncWaitersLocked();
            }
            return handle;
        }
    }
    return nullptr;
}

bool SimDevice::TopCollection(const std::string& path, uint16_t& usagePage, uint16_t& usage) const {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) {
        return false;
    }
    for (const Collection& collection : m_collections) {
        if (collection.path == path) {
            usagePage = collection.usagePage;
            usage = collection.usage;
            return true;
        }
    }
    return false;
}

void SimDevice::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

SimFaults SimDevice::Faults() const {
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void SimDevice::SetReportDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(m_mutex);
    m_faults.reportDelay = delay;
}

void SimDevice::PushLocked(Collection& collection, SimReport report) {
    if (collection.queue.size() >= kSimQueueLimit) {
        collection.queue.pop_front();
    }
    collection.queue.push_back(std::move(report));
    SyncWaitersLocked();
}

std::optional<std::chrono::steady_clock::time_point> SimDevice::ReportSlotLocked() {
    const std::chrono::microseconds period = m_faults.reportDelay;
    if (period.count() <= 0) return std::nullopt;
    // Frames of one period from the first paced report on, like a USB interrupt endpoint
    // served once per frame: a report ends at the first frame boundary after it was issued,
    // and never in the frame of the report before it. Each wait aims at an absolute time, so
    // the oversleep of one does not delay the next.
    const auto now = std::chrono::steady_clock::now();
    if (!m_paceStarted || m_paceOrigin > now) {
        m_paceStarted = true;
        m_paceOrigin = now;
        m_lastSlot = now;
    }
    const auto boundary = m_paceOrigin + ((now - m_paceOrigin) / period + 1) * period;
    m_lastSlot = std::max(m_lastSlot + period, boundary);
    return m_lastSlot;
}

void SimDevice::SyncWaitersLocked() {
    for (Waiter& waiter : m_waiters) {
        const bool ready = !m_plugged || waiter.generation != m_generation ||
                           !m_collections[waiter.collection].queue.empty();
        if (ready == waiter.signalled) continue;
        uint64_t value = 1;
        // The eventfd counter only ever holds 0 or 1 here, so neither call can block or fail
        // for a full counter.
        const ssize_t done = ready ? ::write(waiter.eventFd, &value, sizeof value)
                                   : ::read(waiter.eventFd, &value, sizeof value);
        if (done == static_cast<ssize_t>(sizeof value)) waiter.signalled = ready;
    }
}

void SimDevice::RemoveWaiter(int eventFd) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_waiters, [eventFd](const Waiter& waiter) { return waiter.eventFd == eventFd; });
}

void SimDevice::InjectReport(const SimReport& report) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_plugged) {
            return;
        }
        for (Collection& collection : m_collections) {
            if (collection.kind == SimCollectionKind::Configuration) {
                PushLocked(collection, report);
            }
        }
    }
    m_arrived.notify_all();
}

void SimDevice::Unplug() {
    {
        std::lock_guard lock(m_mutex);
        m_plugged = false;
        for (Collection& collection : m_collections) {
            collection.queue.clear();
        }
        SyncWaitersLocked();
    }
    m_arrived.notify_all();
}

void SimDevice::Plug() {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) {
        m_plugged = true;
        ++m_generation;
        SyncWaitersLocked();
    }
}

bool SimDevice::IsPlugged() const {
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

int SimDevice::ConfigurationWrites() const {
    std::lock_guard lock(m_mutex);
    return m_configurationWrites;
}

void SimDevice::SetStateSaver(std::function<void(const SimMouseState&)> saver) {
    std::lock_guard lock(m_mutex);
    m_stateSaver = std::move(saver);
}

bool SimDevice::Product(unsigned generation, std::string& product) const {
    std::lock_guard lock(m_mutex);
    if (!m_plugged || generation != m_generation) {
        return false;
    }
    product = m_product;
    return true;
}

SimReport SimDevice::DpiNotification() const {
    const SimMouseState state = m_mouse->State();
    SimReport report(kSimReportSize, 0);
    report[0] = kDpiChangeReport;
    report[1] = static_cast<uint8_t>((state.dpiIndex & 0x0F) << 4 | (state.dpiCount & 0x0F));
    return report;
}

int SimDevice::Write(size_t index, unsigned generation, const uint8_t* data, size_t length) {
    std::optional<std::chrono::steady_clock::time_point> slot;
    {
        std::lock_guard lock(m_mutex);
        if (!m_plugged || generation != m_generation) {
            return -1;
        }
        slot = ReportSlotLocked();
    }
    if (slot) std::this_thread::sleep_until(*slot);

    std::unique_lock lock(m_mutex);
    if (!m_plugged || generation != m_generation) {
        return -1;
    }
    Collection& collection = m_collections[index];
    if (length == 0 || length > collection.outputLength) {
        return -1;  // no such output report, or longer than the interface takes
    }
    // The HID layer zero-fills a short write to the output report length.
    std::vector<uint8_t> report(collection.outputLength, 0);
    std::copy_n(data, length, report.begin());

    if (collection.kind == SimCollectionKind::Keyboard ||
        collection.kind == SimCollectionKind::Consumer) {
        return static_cast<int>(length);
    }
    if (collection.kind == SimCollectionKind::BootLoader) {
        lock.unlock();
        std::vector<SimReport> answers;
        m_bootLoader->HandleOutput(report.data(), report.size(), answers);
        lock.lock();
        for (SimReport& answer : answers) {
            PushLocked(m_collections[index], std::move(answer));
        }
        lock.unlock();
        m_arrived.notify_all();
        return static_cast<int>(length);
    }

    ++m_configurationWrites;
    SimFaults& faults = m_faults;
    const uint8_t code = report[1];
    const bool applies = faults.onlyCommand < 0 || faults.onlyCommand == code;
    if (applies && faults.failingWrites > 0) {
        --faults.failingWrites;
        return -1;
    }
    const bool lastWrite = faults.unplugAfterWrites > 0 && --faults.unplugAfterWrites == 0;
    if (lastWrite || (applies && faults.removeOnNextRequest)) {
        if (!lastWrite) faults.removeOnNextRequest = false;
        lock.unlock();
        Unplug();
        return static_cast<int>(length);
    }
    bool silent = false;
    int errorReports = 0;
    if (applies && faults.silentRequests > 0) {
        --faults.silentRequests;
        silent = true;
    } else if (applies && faults.errorRequests > 0) {
        --faults.errorRequests;
        errorReports = std::max(1, faults.errorReportsPerRequest);
    }
    const int notifications = faults.notificationsBeforeAnswer;
    const uint8_t errorStatus = faults.errorStatus;
    const std::function<void(const SimMouseState&)> saver = m_stateSaver;
    lock.unlock();

    std::vector<SimReport> answers;
    if (errorReports > 0) {
        // The firmware rejects the request: nothing changes, only error answers come back.
        SimReport answer(kSimReportSize, 0);
        std::copy_n(report.begin() + 1, 4, answer.begin());
        answer[1] = errorStatus;
        answers.assign(static_cast<size_t>(errorReports), answer);
    } else {
        SimFirmware& firmware = m_receiver ? static_cast<SimFirmware&>(*m_receiver) : *m_mouse;
        firmware.HandleOutput(report.data(), report.size(), answers);
        if (saver) saver(m_mouse->State());
        if (silent) {
            answers.clear();  // taken and acted on, but the answer is lost
        }
    }
    std::vector<SimReport> queued;
    for (SimReport& answer : answers) {
        for (int i = 0; i < notifications; ++i) {
            queued.push_back(DpiNotification());
        }
        queued.push_back(std::move(answer));
    }

    lock.lock();
    if (m_plugged && generation == m_generation) {
        for (SimReport& answer : queued) {
            PushLocked(m_collections[index], std::move(answer));
        }
    }
    lock.unlock();
    m_arrived.notify_all();
    return static_cast<int>(length);
}

int SimDevice::Read(size_t index, unsigned generation, uint8_t* data, size_t length,
                    int timeoutMs) {
    std::unique_lock lock(m_mutex);
    auto ready = [&] {
        return !m_plugged || generation != m_generation || !m_collections[index].queue.empty();
    };
    if (timeoutMs < 0) {
        m_arrived.wait(lock, ready);
    } else if (timeoutMs > 0) {
        m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    if (!m_plugged || generation != m_generation) {
        return -1;
    }
    std::deque<SimReport>& queue = m_collections[index].queue;
    if (queue.empty()) {
        return 0;
    }
    SimReport report = std::move(queue.front());
    queue.pop_front();
    if (queue.empty()) SyncWaitersLocked();
    const std::optional<std::chrono::steady_clock::time_point> slot = ReportSlotLocked();
    lock.unlock();
    if (slot) std::this_thread::sleep_until(*slot);
    const size_t copied = std::min(length, report.size());
    std::copy_n(report.begin(), copied, data);
    return static_cast<int>(copied);
}

}  // namespace kestrix
