// SPDX-License-Identifier: MIT
#include "device/HidDeviceManager.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/Log.h"
#include "device/HidapiBackend.h"

namespace kestrix {
namespace {

// Input polling of the idle worker.
constexpr int kCommandPollTimeoutMs = 100;
constexpr int kReceiverPollTimeoutMs = 10;

std::mutex& ProcessBackendMutex() {
    static std::mutex mutex;
    return mutex;
}

struct ProcessBackendState {
    std::shared_ptr<HidBackend> backend;
    bool managerCreated = false;
};

ProcessBackendState& ProcessBackend() {
    static ProcessBackendState state;
    return state;
}

std::shared_ptr<HidBackend> TakeProcessBackend() {
    std::lock_guard lock(ProcessBackendMutex());
    ProcessBackendState& state = ProcessBackend();
    state.managerCreated = true;
    if (!state.backend) {
        state.backend = std::make_shared<HidapiBackend>();
    }
    return state.backend;
}

// Identity code: answer bytes 4 to 7 as characters, up to the first NUL.
std::string IdentityCodeOf(const ReportBuffer& answer) {
    std::string code;
    for (size_t i = 4; i < 8 && answer[i] != 0; ++i) {
        code += static_cast<char>(answer[i]);
    }
    return code;
}

bool SameIds(const DeviceFilterEntry& filter, int vendorId, int productId) {
    return filter.vendorId == vendorId && filter.productId == productId;
}

}  // namespace

int ModelOfFilter(const std::vector<DeviceFilterEntry>& filter, int vendorId, int productId,
                  const std::string& identityCode) {
    for (const DeviceFilterEntry& entry : filter) {
        if (!SameIds(entry, vendorId, productId)) {
            continue;
        }
        if (entry.identityCode.size() < 4) {
            return kModelWithoutIdentity;
        }
        if (entry.identityCode == identityCode) {
            return entry.modelNumber;
        }
    }
    return 0;
}

bool IsCommandAnswer(const uint8_t* report, int read) {
    if (read < 2 || report[1] != kStatusAccepted) {
        return false;
    }
    return report[0] != kLinkReport && report[0] != kDpiChangeReport;
}

HidDeviceManager::HidDeviceManager(std::shared_ptr<HidBackend> backend)
    : m_backend(std::move(backend)) {
    m_initialised = m_backend && m_backend->Init();
    if (!m_initialised) {
        LogLine("HID layer unavailable: no device can be opened");
    }
}

HidDeviceManager::~HidDeviceManager() {
    CloseAll();
    m_bootLoader.reset();
    if (m_initialised) {
        m_backend->Exit();
    }
}

HidDeviceManager& HidDeviceManager::Instance() {
    static HidDeviceManager manager(TakeProcessBackend());
    return manager;
}

bool HidDeviceManager::SetProcessBackend(std::shared_ptr<HidBackend> backend) {
    std::lock_guard lock(ProcessBackendMutex());
    ProcessBackendState& state = ProcessBackend();
    if (state.managerCreated) {
        return false;
    }
    state.backend = std::move(backend);
    return true;
}

void HidDeviceManager::SetFilter(std::vector<DeviceFilterEntry> filter) {
    std::lock_guard lock(m_mutex);
    m_filter = std::move(filter);
}

std::vector<DeviceFilterEntry> HidDeviceManager::Filter() const {
    std::lock_guard lock(m_mutex);
    return m_filter;
}

bool HidDeviceManager::IdentifyWithRetry(HidDeviceEntry& entry,
                                         const std::vector<DeviceFilterEntry>& filter) {
    ReportBuffer answer{};
    bool identified = QueryIdentity(answer, entry.device.get());
    if (!identified) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kIdentityRetryDelayMs));
        identified = QueryIdentity(answer, entry.device.get());
    }
    if (!identified) {
        return false;
    }
    entry.identityAnswer = answer;
    entry.identityCode = IdentityCodeOf(answer);
    entry.modelNumber = ModelOfFilter(filter, entry.vendorId, entry.productId, entry.identityCode);
    return true;
}

std::vector<std::unique_ptr<HidDeviceEntry>> HidDeviceManager::EnumerateLocked(
    size_t firstPosition, const std::vector<DeviceFilterEntry>& filter,
    std::vector<std::string>& denied) {
    std::vector<std::unique_ptr<HidDeviceEntry>> created;
    if (!m_initialised) {
        return created;
    }
    auto accepted = [&filter](int vendorId, int productId) {
        return std::any_of(filter.begin(), filter.end(), [&](const DeviceFilterEntry& entry) {
            return SameIds(entry, vendorId, productId);
        });
    };
    auto modeOf = [&filter](int vendorId, int productId) {
        for (const DeviceFilterEntry& entry : filter) {
            if (SameIds(entry, vendorId, productId)) {
                return entry.mode;
            }
        }
        return 0;
    };

    for (const HidDeviceInfo& info : m_backend->Enumerate()) {
        if (!accepted(info.vendorId, info.productId)) {
            continue;
        }
        std::unique_ptr<HidDevice> device = OpenHidDevice(*m_backend, info.path);
        if (!device) {
            if (m_backend->LastOpenDenied() && info.usagePage == kConfigurationUsagePage &&
                info.usage == kConfigurationUsage) {
                denied.push_back(info.path);
            }
            continue;
        }
        LogLine("EnumerateDevice UsagePage: %X, Usage: %X", info.usagePage, info.usage);
        if (info.usagePage != kConfigurationUsagePage || info.usage != kConfigurationUsage) {
            continue;  // the other collections of the same mouse are not used; closed here
        }
        LogLine("Open hid Device Suc!");
        auto entry = std::make_unique<HidDeviceEntry>();
        entry->position = static_cast<int>(firstPosition + created.size());
        entry->vendorId = info.vendorId;
        entry->productId = info.productId;
        entry->productString = device->ProductString();
        entry->device = std::move(device);
        entry->releaseNumber = info.releaseNumber;
        entry->modelNumber = 0;
        entry->mode = modeOf(info.vendorId, info.productId);
        entry->linkState = kLinkUp;
        if (IdentifyWithRetry(*entry, filter)) {
            LogLine("EnumerateDevice!, GetDeviceId: %s, GetDeviceType: %d",
                    entry->identityCode.c_str(), entry->modelNumber);
        } else {
            LogLine("EnumerateDevice: no identity answer from %s", info.path.c_str());
        }
        entry->path = info.path;
        LogLine("EnumerateDevice vendor_id: %X, product_id: %X, dev_type: %x, dev_mode: %x",
                entry->vendorId, entry->productId, static_cast<unsigned>(entry->modelNumber),
                static_cast<unsigned>(entry->mode));
        created.push_back(std::move(entry));
    }
    return created;
}

int HidDeviceManager::EnumerateDevice() {
    LogLine("EnumerateDevice!");
    std::vector<DeviceFilterEntry> filter;
    size_t firstPosition = 0;
    {
        std::lock_guard lock(m_mutex);
        filter = m_filter;
        firstPosition = m_entries.size();
    }
    // Opening and identifying take up to seconds per interface; they run without the lock
    // and the new entries become visible together.
    std::vector<std::string> denied;
    std::vector<std::unique_ptr<HidDeviceEntry>> created =
        EnumerateLocked(firstPosition, filter, denied);
    if (!denied.empty()) {
        LogLine("%s", PermissionFixMessage(denied).c_str());
    }
    std::lock_guard lock(m_mutex);
    m_deniedPaths = std::move(denied);
    for (auto& entry : created) {
        entry->position = static_cast<int>(m_entries.size());
        m_entries.push_back(std::move(entry));
    }
    return static_cast<int>(m_entries.size());
}

void HidDeviceManager::CloseAll() {
    std::vector<std::unique_ptr<HidDeviceEntry>> closing;
    {
        std::lock_guard lock(m_mutex);
        m_commandEntry = nullptr;
        closing.swap(m_entries);
    }
    closing.clear();  // hid_close of every device
}

int HidDeviceManager::Rebuild() {
    ClearCommandInterface();
    CloseAll();
    const int count = EnumerateDevice();
    std::lock_guard lock(m_mutex);
    m_opened = 1;
    m_secondWord = 0;
    return count;
}

std::vector<std::string> HidDeviceManager::DeniedPaths() const {
    std::lock_guard lock(m_mutex);
    return m_deniedPaths;
}

std::string PermissionFixMessage(const std::vector<std::string>& deniedPaths) {
    std::string nodes;
    for (const std::string& path : deniedPaths) {
        nodes += (nodes.empty() ? "" : ", ") + path;
    }
    return "no permission to open the mouse (" + nodes +
           "): the udev rule 70-kestrix.rules is not installed. Install it (sudo cmake --install "
           "build --prefix /usr, or copy it to /etc/udev/rules.d/), then run: sudo udevadm "
           "control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";
}

bool HidDeviceManager::IsOpened() const {
    std::lock_guard lock(m_mutex);
    return m_opened != 0;
}

int HidDeviceManager::SelectedModel() const {
    std::lock_guard lock(m_mutex);
    return m_selectedModel;
}

void HidDeviceManager::SetSelectedModel(int modelNumber) {
    std::lock_guard lock(m_mutex);
    m_selectedModel = modelNumber;
    m_commandEntry = nullptr;
}

void HidDeviceManager::ClearCommandInterface() {
    std::lock_guard lock(m_mutex);
    m_commandEntry = nullptr;
}

HidDeviceEntry* HidDeviceManager::CommandEntryLocked() {
    if (m_commandEntry != nullptr) {
        return m_commandEntry;
    }
    for (auto& entry : m_entries) {
        if (entry->modelNumber == m_selectedModel && entry->mode == 0 && entry->device) {
            m_commandEntry = entry.get();
            return m_commandEntry;
        }
    }
    for (auto& entry : m_entries) {
        if (entry->modelNumber == m_selectedModel && entry->mode == 1 && entry->device) {
            // The first receiver decides: a receiver whose mouse is off ends the search.
            if (entry->linkState == kLinkUp) {
                m_commandEntry = entry.get();
            }
            return m_commandEntry;
        }
    }
    return nullptr;
}

HidDevice* HidDeviceManager::GetCommandInterface() {
    std::lock_guard lock(m_mutex);
    HidDeviceEntry* entry = CommandEntryLocked();
    return entry != nullptr ? entry->device.get() : nullptr;
}

ConnectionKind HidDeviceManager::GetConnectionKind() const {
    std::lock_guard lock(m_mutex);
    bool receiver = false;
    for (const auto& entry : m_entries) {
        if (entry->modelNumber != m_selectedModel) {
            continue;
        }
        if (entry->mode == 0) {
            return ConnectionKind::Cable;
        }
        if (entry->mode == 1) {
            receiver = true;
        }
    }
    return receiver ? ConnectionKind::Receiver : ConnectionKind::None;
}

std::vector<HidDeviceEntryView> HidDeviceManager::ListEntries(bool linkedOnly) const {
    std::lock_guard lock(m_mutex);
    return ListLocked(m_selectedModel, linkedOnly);
}

std::vector<HidDeviceEntryView> HidDeviceManager::ListAllEntries() const {
    std::lock_guard lock(m_mutex);
    return ListLocked(0, false);
}

std::vector<HidDeviceEntryView> HidDeviceManager::ListLocked(int model, bool linkedOnly) const {
    std::vector<HidDeviceEntryView> views;
    for (const auto& entry : m_entries) {
        if (model != 0 && entry->modelNumber != model) {
            continue;
        }
        if (linkedOnly && entry->linkState != kLinkUp) {
            continue;
        }
        HidDeviceEntryView view;
        view.position = entry->position;
        view.vendorId = entry->vendorId;
        view.productId = entry->productId;
        view.path = entry->path;
        view.productString = entry->productString;
        view.releaseNumber = entry->releaseNumber;
        view.modelNumber = entry->modelNumber;
        view.mode = entry->mode;
        view.linkState = entry->linkState;
        view.identityCode = entry->identityCode;
        view.identityAnswer = entry->identityAnswer;
        views.push_back(std::move(view));
    }
    return views;
}

size_t HidDeviceManager::EntryCount() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

bool HidDeviceManager::IsIdentified(int modelNumber) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_entries.begin(), m_entries.end(), [modelNumber](const auto& entry) {
        return entry->modelNumber == modelNumber && !entry->identityCode.empty() &&
               entry->linkState > 0;
    });
}

void HidDeviceManager::SetLinkState(int modelNumber, int mode, int state) {
    std::lock_guard lock(m_mutex);
    for (auto& entry : m_entries) {
        if (entry->modelNumber == modelNumber && entry->mode == mode) {
            entry->linkState = state;
        }
    }
}

bool HidDeviceManager::SetLinkStateAt(size_t position, int state) {
    std::lock_guard lock(m_mutex);
    if (position >= m_entries.size()) {
        return false;
    }
    m_entries[position]->linkState = state;
    return true;
}

bool HidDeviceManager::ReleaseNumberOfMode(int mode, uint32_t& releaseNumber) const {
    std::lock_guard lock(m_mutex);
    for (const auto& entry : m_entries) {
        if (entry->mode == mode) {
            releaseNumber = entry->releaseNumber;
            return true;
        }
    }
    return false;
}

bool HidDeviceManager::CommandInterfaceIdentity(uint16_t& vendorId, uint16_t& productId) const {
    std::lock_guard lock(m_mutex);
    if (m_commandEntry == nullptr) {
        return false;
    }
    vendorId = m_commandEntry->vendorId;
    productId = m_commandEntry->productId;
    return true;
}

HidDevice* HidDeviceManager::OpenBootLoaderInterface(uint16_t vendorId, uint16_t productId) {
    m_bootLoader.reset();
    if (!m_initialised) {
        return nullptr;
    }
    for (const HidDeviceInfo& info : m_backend->Enumerate()) {
        if (info.vendorId == vendorId && info.productId == productId &&
            info.usagePage == kBootLoaderUsagePage && info.usage == 0) {
            m_bootLoader = OpenHidDevice(*m_backend, info.path);
            if (!m_bootLoader) {
                LogLine("boot-loader interface %s cannot be opened", info.path.c_str());
            }
            return m_bootLoader.get();
        }
    }
    LogLine("no boot-loader interface for %04X:%04X", vendorId, productId);
    return nullptr;
}

HidDevice* HidDeviceManager::BootLoaderInterface() { return m_bootLoader.get(); }

void HidDeviceManager::CloseBootLoaderInterface() { m_bootLoader.reset(); }

int HidDeviceManager::ModelOf(int vendorId, int productId, const std::string& identityCode) const {
    std::lock_guard lock(m_mutex);
    return ModelOfFilter(m_filter, vendorId, productId, identityCode);
}

int HidDeviceManager::ModeOf(int vendorId, int productId) const {
    std::lock_guard lock(m_mutex);
    for (const DeviceFilterEntry& entry : m_filter) {
        if (SameIds(entry, vendorId, productId)) {
            return entry.mode;
        }
    }
    return 0;
}

bool HidDeviceManager::IsAccepted(int vendorId, int productId) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_filter.begin(), m_filter.end(), [&](const DeviceFilterEntry& entry) {
        return SameIds(entry, vendorId, productId);
    });
}

bool HidDeviceManager::SendCommand(ReportBuffer& buffer, size_t length) {
    const unsigned code = buffer[1];
    if (length == 0 || length > buffer.size()) {
        LogLine("SendCommand 0x%02X: bad length %zu", code, length);
        return false;
    }
    if (!IsOpened()) {
        LogLine("SendCommand 0x%02X: device list not opened yet", code);
        return false;
    }
    HidDevice* device = GetCommandInterface();
    if (device == nullptr) {
        LogLine("SendCommand 0x%02X: no command interface", code);
        return false;
    }
    // The checksum goes into the copy first, so a failed write leaves the caller's buffer as it
    // was.
    if (!DrainStaleInput(*device)) {
        LogLine("SendCommand 0x%02X: reading from %s failed", code, device->Path().c_str());
        return false;
    }
    ReportBuffer request = buffer;
    StoreChecksum(request);
    std::vector<uint8_t> scratch(request.begin(),
                                 request.begin() + static_cast<std::ptrdiff_t>(length));
    if (device->Write(scratch.data(), length) <= 0) {
        LogLine("SendCommand 0x%02X: write to %s failed", code, device->Path().c_str());
        return false;
    }
    std::copy_n(request.begin(), length, scratch.begin());
    bool answered = false;
    for (int attempt = 0; attempt < kAnswerReadAttempts && !answered; ++attempt) {
        const int read = device->ReadTimeout(scratch.data(), length, kAnswerReadTimeoutMs);
        // Anything else (a DPI-change or link report, an error answer) is dropped.
        answered = IsCommandAnswer(scratch.data(), read);
    }
    std::copy(scratch.begin(), scratch.end(), buffer.begin());
    if (!answered) {
        LogLine("SendCommand 0x%02X: no answer after %d reads", code, kAnswerReadAttempts);
    }
    return answered;
}

bool HidDeviceManager::DrainStaleInput(HidDevice& device) {
    // A bound keeps a device that never stops sending from holding the exchange forever; the
    // kernel queue holds far fewer reports than this.
    constexpr int kMostStaleReports = 256;
    int dropped = 0;
    for (int count = 0; count < kMostStaleReports; ++count) {
        InputReport report;
        const int read = device.ReadTimeout(report.bytes.data(), kLongWrite, 0);
        if (read < 0) return false;
        if (read == 0) break;
        report.length = static_cast<size_t>(read);
        if (report.bytes[0] == kLinkReport || report.bytes[0] == kDpiChangeReport) {
            std::lock_guard lock(m_mutex);
            m_notifications.push_back(report);
        } else {
            ++dropped;
        }
    }
    if (dropped > 0) {
        LogLine("%d stale input reports on %s dropped before a request", dropped,
                device.Path().c_str());
    }
    return true;
}

std::vector<InputReport> HidDeviceManager::TakeNotifications() {
    std::lock_guard lock(m_mutex);
    std::vector<InputReport> taken;
    taken.swap(m_notifications);
    return taken;
}

bool HidDeviceManager::QueryIdentity(ReportBuffer& destination, HidDevice* device) {
    if (device == nullptr) {
        std::lock_guard lock(m_mutex);
        if (m_commandEntry == nullptr) {
            return false;
        }
        destination = m_commandEntry->identityAnswer;
        return true;
    }
    if (!DrainStaleInput(*device)) {
        LogLine("QueryIdentity: reading from %s failed", device->Path().c_str());
        return false;
    }
    destination.fill(0);
    destination[0] = 0x00;
    destination[1] = command::kIdentity;
    if (device->Write(destination.data(), kShortWrite) <= 0) {
        LogLine("QueryIdentity: write to %s failed", device->Path().c_str());
        return false;
    }
    for (int attempt = 0; attempt < kAnswerReadAttempts; ++attempt) {
        const int read = device->ReadTimeout(destination.data(), kShortWrite, kAnswerReadTimeoutMs);
        if (IsCommandAnswer(destination.data(), read)) {
            return true;
        }
    }
    LogLine("QueryIdentity: no answer from %s", device->Path().c_str());
    return false;
}

bool HidDeviceManager::SendMultiPacket(uint8_t commandCode, std::span<const uint8_t> data) {
    const PacketSplit split = SplitIntoPackets(commandCode, data);
    if (split.truncated) {
        LogLine("command 0x%02X: %zu data bytes need more than %zu packets; cut to %zu bytes",
                commandCode, data.size(), kMaxPackets, kMaxPackets * kFrameDataSize);
    }
    bool allSent = true;
    const size_t length = WriteLengthOf(commandCode);
    for (size_t index = 0; index < split.packets.size(); ++index) {
        ReportBuffer packet = split.packets[index];
        if (!SendCommand(packet, length)) {
            LogLine("command 0x%02X: packet %zu of %zu failed", commandCode, index + 1,
                    split.packets.size());
            allSent = false;
        }
    }
    return allSent;
}

bool HidDeviceManager::PollDeviceInput(ReportBuffer& report, int& modelNumber) {
    return PollDeviceInput(report, modelNumber, kReceiverPollTimeoutMs);
}

std::vector<HidDevice*> HidDeviceManager::IdleInputInterfaces() {
    if (HidDevice* device = GetCommandInterface()) return {device};
    std::vector<HidDevice*> receivers;
    std::lock_guard lock(m_mutex);
    for (auto& entry : m_entries) {
        if (entry->mode == 1 && entry->device) receivers.push_back(entry->device.get());
    }
    return receivers;
}

bool HidDeviceManager::PollDeviceInput(ReportBuffer& report, int& modelNumber,
                                       int receiverTimeoutMs) {
    report.fill(0);
    modelNumber = SelectedModel();
    if (HidDevice* device = GetCommandInterface()) {
        return device->ReadTimeout(report.data(), kLongWrite, kCommandPollTimeoutMs) > 0;
    }
    std::vector<HidDeviceEntry*> receivers;
    std::vector<DeviceFilterEntry> filter;
    {
        std::lock_guard lock(m_mutex);
        for (auto& entry : m_entries) {
            if (entry->mode == 1 && entry->device) {
                receivers.push_back(entry.get());
            }
        }
        filter = m_filter;
    }
    // Entries are replaced only by a rebuild, which runs on this same worker thread, so the
    // pointers stay valid while the lock is not held.
    for (HidDeviceEntry* entry : receivers) {
        if (entry->device->ReadTimeout(report.data(), kShortWrite, receiverTimeoutMs) <= 0) {
            continue;
        }
        if (report[0] == kLinkReport) {
            const int linkState = report[1] == 1 ? kLinkUp : kLinkDown;
            ReportBuffer answer{};
            bool haveIdentity = false;
            if (linkState == kLinkUp) {
                {
                    std::lock_guard lock(m_mutex);
                    entry->linkState = kLinkUp;
                }
                haveIdentity = QueryIdentity(answer, entry->device.get());
                if (!haveIdentity) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(kIdentityRetryDelayMs));
                    haveIdentity = QueryIdentity(answer, entry->device.get());
                }
            }
            std::lock_guard lock(m_mutex);
            if (haveIdentity) {
                entry->identityAnswer = answer;
                entry->identityCode = IdentityCodeOf(answer);
                entry->modelNumber =
                    ModelOfFilter(filter, entry->vendorId, entry->productId, entry->identityCode);
            }
            entry->linkState = linkState;
            for (auto& other : m_entries) {
                if (other->modelNumber == entry->modelNumber && other->mode == entry->mode) {
                    other->linkState = linkState;
                }
            }
        }
        // The model after a connection report's identity, so the handler sees the mouse that
        // just came up rather than the unidentified receiver.
        modelNumber = entry->modelNumber;
        return true;
    }
    return false;
}

}  // namespace kestrix
