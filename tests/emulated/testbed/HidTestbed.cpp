// SPDX-License-Identifier: MIT
#include "testbed/HidTestbed.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string_view>
#include <thread>

namespace kestrix::testing {
namespace {

constexpr const char* kPreloadLibrary = "libumockdev-preload.so.0";
constexpr const char* kUsbHost = "/devices/pci0000:00/0000:00:14.0/usb1";
constexpr int kHidrawMajor = 241;

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

void Append(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

}  // namespace

std::vector<uint8_t> EmulatedDescriptor(SimCollectionKind kind) {
    std::vector<uint8_t> d;
    switch (kind) {
        case SimCollectionKind::Keyboard:
            // A pointer (report 1) and a keyboard with its LED output report (report 2): two
            // top-level collections on one interface, as gaming mice have.
            Append(d, {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1,
                       0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01,
                       0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81,
                       0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81,
                       0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0});
            Append(d, {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x19, 0xE0,
                       0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
                       0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x19, 0x00, 0x29, 0x65,
                       0x81, 0x00, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x95, 0x05, 0x75, 0x01,
                       0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0xC0});
            break;
        case SimCollectionKind::Consumer:
            Append(d, {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19,
                       0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0});
            break;
        case SimCollectionKind::Configuration:
            // Usage page 1, usage 0; 64-byte input and output reports without a report ID.
            Append(d,
                   {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                    0x95, 0x40, 0x09, 0x00, 0x81, 0x02, 0x95, 0x40, 0x09, 0x00, 0x91, 0x02, 0xC0});
            break;
        case SimCollectionKind::BootLoader:
            // Usage page 0xFFEF; report 5 with 63 bytes each way.
            Append(d, {0x06, 0xEF, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x05, 0x15,
                       0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01,
                       0x81, 0x02, 0x95, 0x3F, 0x09, 0x01, 0x91, 0x02, 0xC0});
            break;
    }
    return d;
}

// One emulated hidraw node: its firmware handle and the thread that answers its reads (the
// umockdev worker thread must never wait for the firmware, or every node would stall).
struct NodeState {
    EmulatedNode node;
    std::string deviceName;
    std::string hidPath;  // sysfs path of the hid parent (below /sys)
    std::string interfacePath;
    std::shared_ptr<HidHandle> handle;  // null once unplugged
    SimCollectionKind kind = SimCollectionKind::Keyboard;
    std::string product;
    uint16_t vendorId = 0;
    uint16_t productId = 0;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<UMockdevIoctlClient*> pending;
    std::vector<size_t> writeLengths;
    bool stop = false;
    std::thread reader;
};

struct HidTestbed::Impl {
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<NodeState>> nodes;  // by devnode; never reused
    std::map<std::string, std::string> usbDevices;            // device name -> usb_device path
    std::map<std::string, std::shared_ptr<SimDevice>> devices;
    int nextPort = 1;
    int nextHidraw = 0;
    unsigned nextHidInstance = 1;
    std::chrono::milliseconds hold{20};

    std::shared_ptr<NodeState> Node(const char* devnode) {
        std::lock_guard lock(mutex);
        auto it = nodes.find(devnode != nullptr ? devnode : "");
        return it == nodes.end() ? nullptr : it->second;
    }

    void ReaderLoop(const std::shared_ptr<NodeState>& state) {
        for (;;) {
            UMockdevIoctlClient* client = nullptr;
            {
                std::unique_lock lock(state->mutex);
                state->wake.wait(lock, [&] { return state->stop || !state->pending.empty(); });
                if (state->pending.empty()) return;
                client = state->pending.front();
                state->pending.pop_front();
            }
            UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
            int result = -1;
            {
                std::unique_lock lock(state->mutex);
                const std::shared_ptr<HidHandle> handle = state->handle;
                const bool stopping = state->stop;
                lock.unlock();
                if (handle && !stopping) {
                    std::vector<uint8_t> buffer(static_cast<size_t>(std::max(arg->data_len, 0)));
                    result = handle->ReadTimeout(buffer.data(), buffer.size(),
                                                 static_cast<int>(hold.count()));
                    if (result > 0) std::copy_n(buffer.begin(), result, arg->data);
                }
            }
            if (result > 0) {
                umockdev_ioctl_client_complete(client, result, 0);
            } else if (result == 0) {
                umockdev_ioctl_client_complete(client, -1, EAGAIN);
            } else {
                umockdev_ioctl_client_complete(client, -1, EIO);
            }
            g_object_unref(client);
        }
    }

    static gboolean OnRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        auto state = static_cast<Impl*>(self)->Node(umockdev_ioctl_client_get_devnode(client));
        if (!state) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        g_object_ref(client);
        {
            std::lock_guard lock(state->mutex);
            state->pending.push_back(client);
        }
        state->wake.notify_one();
        return TRUE;
    }

    static gboolean OnWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        auto state = static_cast<Impl*>(self)->Node(umockdev_ioctl_client_get_devnode(client));
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        int result = -1;
        if (state) {
            std::lock_guard lock(state->mutex);
            state->writeLengths.push_back(static_cast<size_t>(arg->data_len));
            if (state->handle) {
                result = state->handle->Write(arg->data, static_cast<size_t>(arg->data_len));
            }
        }
        // hidraw answers a write to a device that went away with ENODEV, a refused one with EIO.
        umockdev_ioctl_client_complete(client, result, result < 0 ? (state ? EIO : ENODEV) : 0);
        return TRUE;
    }

    static void CopyString(UMockdevIoctlData* arg, size_t size, const std::string& text) {
        GError* error = nullptr;
        UMockdevIoctlData* out = umockdev_ioctl_data_resolve(arg, 0, size, &error);
        if (out == nullptr) {
            g_clear_error(&error);
            return;
        }
        const size_t n = std::min(size - 1, text.size());
        std::memcpy(out->data, text.data(), n);
        out->data[n] = 0;
    }

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        auto state = static_cast<Impl*>(self)->Node(umockdev_ioctl_client_get_devnode(client));
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        if (!state || _IOC_TYPE(request) != 'H') {
            umockdev_ioctl_client_complete(client, -1, state ? ENOTTY : ENODEV);
            return TRUE;
        }
        GError* error = nullptr;
        const std::vector<uint8_t>& descriptor = state->node.descriptor;
        const unsigned number = _IOC_NR(request);
        const size_t size = _IOC_SIZE(request);
        long result = 0;
        if (request == HIDIOCGRDESCSIZE) {
            UMockdevIoctlData* out = umockdev_ioctl_data_resolve(arg, 0, sizeof(int), &error);
            if (out != nullptr) *reinterpret_cast<int*>(out->data) = int(descriptor.size());
        } else if (request == HIDIOCGRDESC) {
            UMockdevIoctlData* out =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(hidraw_report_descriptor), &error);
            if (out != nullptr) {
                auto* raw = reinterpret_cast<hidraw_report_descriptor*>(out->data);
                raw->size = std::min<uint32_t>(raw->size, uint32_t(descriptor.size()));
                std::copy_n(descriptor.begin(), raw->size, raw->value);
            }
        } else if (request == HIDIOCGRAWINFO) {
            UMockdevIoctlData* out =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(hidraw_devinfo), &error);
            if (out != nullptr) {
                auto* info = reinterpret_cast<hidraw_devinfo*>(out->data);
                info->bustype = 0x03;
                info->vendor = static_cast<__s16>(state->vendorId);
                info->product = static_cast<__s16>(state->productId);
            }
        } else if (number == 0x04 && size > 0) {  // HIDIOCGRAWNAME(len)
            CopyString(arg, size, state->product);
            result = long(std::min(size - 1, state->product.size()) + 1);
        } else if ((number == 0x05 || number == 0x08) && size > 0) {  // PHYS, UNIQ
            CopyString(arg, size, "");
            result = 1;
        } else {
            umockdev_ioctl_client_complete(client, -1, EINVAL);
            return TRUE;
        }
        if (error != nullptr) {
            g_clear_error(&error);
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return TRUE;
        }
        umockdev_ioctl_client_complete(client, result, 0);
        return TRUE;
    }

    void StopReader(NodeState& state) {
        {
            std::lock_guard lock(state.mutex);
            state.stop = true;
        }
        state.wake.notify_all();
        if (state.reader.joinable()) state.reader.join();
        for (UMockdevIoctlClient* client : state.pending) {
            umockdev_ioctl_client_complete(client, -1, EIO);
            g_object_unref(client);
        }
        state.pending.clear();
    }
};

bool HidTestbed::InMockEnvironment() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

HidTestbed::HidTestbed() : m_impl(std::make_unique<Impl>()) {
    m_impl->testbed = umockdev_testbed_new();
    m_impl->handler = umockdev_ioctl_base_new();
    g_signal_connect(m_impl->handler, "handle-ioctl", G_CALLBACK(Impl::OnIoctl), m_impl.get());
    g_signal_connect(m_impl->handler, "handle-read", G_CALLBACK(Impl::OnRead), m_impl.get());
    g_signal_connect(m_impl->handler, "handle-write", G_CALLBACK(Impl::OnWrite), m_impl.get());
}

HidTestbed::~HidTestbed() {
    std::vector<std::shared_ptr<NodeState>> nodes;
    {
        std::lock_guard lock(m_impl->mutex);
        for (auto& [name, state] : m_impl->nodes) nodes.push_back(state);
    }
    for (auto& state : nodes) {
        {
            std::lock_guard lock(state->mutex);
            state->handle.reset();
        }
        m_impl->StopReader(*state);
    }
    for (auto& [name, device] : m_impl->devices) device->Unplug();
    g_object_unref(m_impl->testbed);
    g_object_unref(m_impl->handler);
}

void HidTestbed::SetReadHold(std::chrono::milliseconds hold) { m_impl->hold = hold; }

void HidTestbed::Plug(const std::shared_ptr<SimDevice>& device) {
    const std::vector<HidDeviceInfo> collections = device->Collections();
    if (collections.empty()) return;
    const HidDeviceInfo& first = collections.front();
    const int port = m_impl->nextPort++;
    const std::string usbPath = std::string(kUsbHost) + "/1-" + std::to_string(port);

    std::string record;
    record += "P: " + usbPath + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
    record += Format("A: idVendor=%04x\nA: idProduct=%04x\nA: bcdDevice=%04x\n", first.vendorId,
                     first.productId, first.releaseNumber);
    record += "A: manufacturer=Kestrix Test Devices\nA: product=" + first.productString +
              "\nA: serial=\nA: busnum=1\nA: devnum=" + std::to_string(port + 1) + "\n\n";

    std::vector<std::shared_ptr<NodeState>> created;
    std::vector<HidDeviceInfo> ordered = collections;
    std::sort(ordered.begin(), ordered.end(), [](const HidDeviceInfo& a, const HidDeviceInfo& b) {
        return a.interfaceNumber < b.interfaceNumber;
    });
    for (const HidDeviceInfo& info : ordered) {
        auto state = std::make_shared<NodeState>();
        state->deviceName = device->Name();
        state->vendorId = info.vendorId;
        state->productId = info.productId;
        state->product = info.productString;
        state->handle = device->Open(info.path);
        state->kind = info.usagePage == 0xFFEF   ? SimCollectionKind::BootLoader
                      : info.usagePage == 0x000C ? SimCollectionKind::Consumer
                      : info.usage == 0x0000     ? SimCollectionKind::Configuration
                                                 : SimCollectionKind::Keyboard;
        const int minor = m_impl->nextHidraw++;
        const unsigned instance = m_impl->nextHidInstance++;
        const std::string hidName =
            Format("0003:%04X:%04X", info.vendorId, info.productId) + Format(".%04X", instance);
        state->interfacePath =
            usbPath + "/1-" + std::to_string(port) + ":1." + std::to_string(info.interfaceNumber);
        state->hidPath = state->interfacePath + "/" + hidName;
        state->node.interfaceNumber = info.interfaceNumber;
        state->node.descriptor = EmulatedDescriptor(state->kind);
        state->node.devnode = "/dev/hidraw" + std::to_string(minor);
        state->node.devpath = state->hidPath + "/hidraw/hidraw" + std::to_string(minor);

        record += "P: " + state->interfacePath + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n";
        record += Format("A: bInterfaceNumber=%02x\nA: bInterfaceClass=03\n\n",
                         unsigned(info.interfaceNumber));
        record += "P: " + state->hidPath + "\nE: SUBSYSTEM=hid\nE: DRIVER=hid-generic\n";
        record += Format("E: HID_ID=0003:%08X:%08X\n", info.vendorId, info.productId);
        record += "E: HID_NAME=" + info.productString + "\n";
        record += Format("E: HID_PHYS=usb-0000:00:14.0-%u/input%u\n", unsigned(port),
                         unsigned(info.interfaceNumber));
        record += "E: HID_UNIQ=\nE: MODALIAS=hid:b0003g0001v" +
                  Format("%08Xp%08X\n", info.vendorId, info.productId);
        record += "H: report_descriptor=" + Hex(state->node.descriptor) + "\n\n";
        record += "P: " + state->node.devpath + "\nN: hidraw" + std::to_string(minor) + "=00\n";
        record += "E: SUBSYSTEM=hidraw\nE: DEVNAME=" + state->node.devnode + "\n";
        record += Format("E: MAJOR=%u\nE: MINOR=%u\nA: dev=%u:", kHidrawMajor, unsigned(minor),
                         kHidrawMajor) +
                  std::to_string(minor) + "\n";
        record += "L: device=../../../" + hidName + "\n\n";
        created.push_back(std::move(state));
    }

    {
        std::lock_guard lock(m_impl->mutex);
        for (auto& state : created) m_impl->nodes[state->node.devnode] = state;
        m_impl->usbDevices[device->Name()] = usbPath;
        m_impl->devices[device->Name()] = device;
    }
    for (auto& state : created) {
        state->reader = std::thread([impl = m_impl.get(), state] { impl->ReaderLoop(state); });
    }
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(m_impl->testbed, record.c_str(), &error)) {
        std::fprintf(stderr, "testbed: %s\n", error != nullptr ? error->message : "?");
        g_clear_error(&error);
        return;
    }
    for (auto& state : created) {
        if (!umockdev_testbed_attach_ioctl(m_impl->testbed, state->node.devnode.c_str(),
                                           m_impl->handler, &error)) {
            std::fprintf(stderr, "testbed: attach %s: %s\n", state->node.devnode.c_str(),
                         error != nullptr ? error->message : "?");
            g_clear_error(&error);
        }
    }
    // umockdev announced each node while its tree was still being laid out (before the
    // hidraw node's device link and /dev entry existed); a listener that looked at once could
    // miss it. Announce the finished nodes once more, as a coldplug trigger would.
    for (auto& state : created) {
        umockdev_testbed_uevent(m_impl->testbed, ("/sys" + state->node.devpath).c_str(), "add");
    }
}

void HidTestbed::Unplug(const std::string& name) {
    std::vector<std::shared_ptr<NodeState>> states;
    std::string usbPath;
    std::shared_ptr<SimDevice> device;
    {
        std::lock_guard lock(m_impl->mutex);
        for (auto& [devnode, state] : m_impl->nodes) {
            if (state->deviceName == name && state->handle) states.push_back(state);
        }
        auto usb = m_impl->usbDevices.find(name);
        if (usb != m_impl->usbDevices.end()) {
            usbPath = usb->second;
            m_impl->usbDevices.erase(usb);
        }
        auto found = m_impl->devices.find(name);
        if (found != m_impl->devices.end()) {
            device = found->second;
            m_impl->devices.erase(found);
        }
    }
    if (device) device->Unplug();  // the firmware is gone first, as on a real cable pull
    for (auto& state : states) {
        std::lock_guard lock(state->mutex);
        state->handle.reset();
    }
    // The uevent sender looks the device up in sysfs, so the "remove" events go out while the
    // tree still exists; children go before their parents.
    for (auto& state : states) {
        umockdev_testbed_uevent(m_impl->testbed, ("/sys" + state->node.devpath).c_str(), "remove");
    }
    GError* error = nullptr;
    for (auto& state : states) {
        umockdev_testbed_detach_ioctl(m_impl->testbed, state->node.devnode.c_str(), &error);
        g_clear_error(&error);
        umockdev_testbed_remove_device(m_impl->testbed, ("/sys" + state->node.devpath).c_str());
        umockdev_testbed_remove_device(m_impl->testbed, ("/sys" + state->hidPath).c_str());
        umockdev_testbed_remove_device(m_impl->testbed, ("/sys" + state->interfacePath).c_str());
        const char* root = std::getenv("UMOCKDEV_DIR");
        if (root != nullptr) ::unlink((std::string(root) + state->node.devnode).c_str());
    }
    if (!usbPath.empty())
        umockdev_testbed_remove_device(m_impl->testbed, ("/sys" + usbPath).c_str());
}

std::vector<EmulatedNode> HidTestbed::Nodes(const std::string& name) const {
    std::vector<EmulatedNode> out;
    std::lock_guard lock(m_impl->mutex);
    for (auto& [devnode, state] : m_impl->nodes) {
        if (state->deviceName == name && state->handle) out.push_back(state->node);
    }
    std::sort(out.begin(), out.end(), [](const EmulatedNode& a, const EmulatedNode& b) {
        return a.interfaceNumber < b.interfaceNumber;
    });
    return out;
}

std::string HidTestbed::NodeOf(const std::string& name, int interfaceNumber) const {
    for (const EmulatedNode& node : Nodes(name)) {
        if (node.interfaceNumber == interfaceNumber) return node.devnode;
    }
    return {};
}

std::vector<size_t> HidTestbed::WriteLengths(const std::string& devnode) const {
    std::shared_ptr<NodeState> state = m_impl->Node(devnode.c_str());
    if (!state) return {};
    std::lock_guard lock(state->mutex);
    return state->writeLengths;
}

bool HidTestbed::SetNodeMode(const std::string& devnode, unsigned mode) {
    const char* root = std::getenv("UMOCKDEV_DIR");
    return root != nullptr && ::chmod((std::string(root) + devnode).c_str(), mode) == 0;
}

bool RunUnderUmockdev(int argc, char** argv) {
    (void)argc;
    if (HidTestbed::InMockEnvironment()) return true;
    const char* old = std::getenv("LD_PRELOAD");
    std::string preload = kPreloadLibrary;
    if (old != nullptr && *old != 0) preload += std::string(":") + old;
    setenv("LD_PRELOAD", preload.c_str(), 1);
    // AddressSanitizer insists on coming first; the preload library does not disturb it.
    const char* asan = std::getenv("ASAN_OPTIONS");
    std::string asanOptions = "verify_asan_link_order=0";
    if (asan != nullptr && *asan != 0) asanOptions = std::string(asan) + ":" + asanOptions;
    setenv("ASAN_OPTIONS", asanOptions.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "re-exec under umockdev failed: %s\n", std::strerror(errno));
    return false;
}

}  // namespace kestrix::testing
