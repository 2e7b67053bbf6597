// SPDX-License-Identifier: MIT
#include "device/HidapiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/Log.h"
#include "base/UniqueFd.h"
#include "base/Utf8.h"
#include "device/ReportDescriptor.h"

namespace kestrix {
namespace {

struct HidCloser {
    void operator()(hid_device* device) const { hid_close(device); }
};

std::string ErrorText(hid_device* device) {
    const wchar_t* error = hid_error(device);
    return error != nullptr ? utf8::FromWide(error) : std::string("unknown error");
}

// The hidraw descriptor hidapi reads from, so the worker can sleep in poll() until a report
// arrives. hidapi offers no call for it; its Linux back end keeps it as the first member of
// the device structure in every release. It is taken only when fstat shows it is the node just
// opened; any other layout (or back end) gives -1, and the reader falls back to timed reads.
int HidrawDescriptorOf(hid_device* device, const std::string& path) {
    const int fd = *reinterpret_cast<const int*>(device);
    struct stat node {};
    struct stat opened {};
    if (fd < 0 || ::stat(path.c_str(), &node) != 0 || ::fstat(fd, &opened) != 0 ||
        node.st_dev != opened.st_dev || node.st_ino != opened.st_ino) {
        LogLine("no pollable descriptor for %s; its input is read in timed slices", path.c_str());
        return -1;
    }
    return fd;
}

class HidapiHandle : public HidHandle {
  public:
    HidapiHandle(hid_device* device, std::string path, size_t outputLength)
        : m_device(device),
          m_path(std::move(path)),
          m_outputLength(outputLength),
          m_waitDescriptor(HidrawDescriptorOf(device, m_path)) {}

    int Write(const uint8_t* data, size_t length) override {
        const uint8_t* out = data;
        size_t outLength = length;
        if (length < m_outputLength) {
            m_padded.assign(m_outputLength, 0);
            std::copy_n(data, length, m_padded.begin());
            out = m_padded.data();
            outLength = m_outputLength;
        }
        const int written = hid_write(m_device.get(), out, outLength);
        if (written < 0) {
            LogLine("hid_write %s failed: %s", m_path.c_str(), ErrorText(m_device.get()).c_str());
        }
        return written;
    }

    int ReadTimeout(uint8_t* data, size_t length, int timeoutMs) override {
        const int read = hid_read_timeout(m_device.get(), data, length, timeoutMs);
        if (read < 0) {
            LogLine("hid_read_timeout %s failed: %s", m_path.c_str(),
                    ErrorText(m_device.get()).c_str());
        }
        return read;
    }

    bool ProductString(std::string& product) override {
        wchar_t buffer[512] = {};
        if (hid_get_product_string(m_device.get(), buffer, 512) != 0) {
            LogLine("hid_get_product_string %s failed: %s", m_path.c_str(),
                    ErrorText(m_device.get()).c_str());
            return false;
        }
        buffer[511] = 0;
        product = utf8::FromWide(buffer);
        return true;
    }

    int WaitDescriptor() const override { return m_waitDescriptor; }

  private:
    std::unique_ptr<hid_device, HidCloser> m_device;
    std::string m_path;
    size_t m_outputLength;
    int m_waitDescriptor;  // owned by hidapi's device
    std::vector<uint8_t> m_padded;
};

}  // namespace

HidapiBackend::~HidapiBackend() { Exit(); }

bool HidapiBackend::Init() {
    if (m_initialised) {
        return true;
    }
    if (hid_init() != 0) {
        LogLine("hid_init failed: %s", ErrorText(nullptr).c_str());
        return false;
    }
    m_initialised = true;
    return true;
}

void HidapiBackend::Exit() {
    if (m_initialised) {
        hid_exit();
        m_initialised = false;
    }
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate() {
    std::vector<HidDeviceInfo> result;
    if (!m_initialised) {
        return result;
    }
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        HidDeviceInfo record;
        record.path = info->path != nullptr ? info->path : "";
        record.vendorId = info->vendor_id;
        record.productId = info->product_id;
        record.usagePage = info->usage_page;
        record.usage = info->usage;
        record.releaseNumber = info->release_number;
        record.interfaceNumber = info->interface_number;
        record.productString = utf8::FromWide(info->product_string);
        result.push_back(std::move(record));
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidHandle> HidapiBackend::Open(const std::string& path) {
    if (!m_initialised) {
        return nullptr;
    }
    m_lastOpenDenied = false;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        // hidapi keeps no errno; asking the node again tells a missing udev rule apart.
        if (::access(path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
            m_lastOpenDenied = true;
            return nullptr;
        }
        LogLine("hid_open_path %s failed: %s", path.c_str(), ErrorText(nullptr).c_str());
        return nullptr;
    }
    size_t outputLength = 0;
    std::vector<uint8_t> descriptor;
    if (ReadReportDescriptor(path, descriptor)) {
        outputLength = ParseReportDescriptor(descriptor).outputReportLength;
    } else {
        LogLine("report descriptor of %s unreadable: writes are not padded", path.c_str());
    }
    return std::make_unique<HidapiHandle>(device, path, outputLength);
}

bool HidapiBackend::ReadTopCollection(const std::string& path, uint16_t& usagePage,
                                      uint16_t& usage) {
    std::vector<uint8_t> descriptor;
    if (!ReadReportDescriptor(path, descriptor)) {
        return false;
    }
    const ReportDescriptorSummary summary = ParseReportDescriptor(descriptor);
    if (!summary.hasCollection) {
        return false;
    }
    usagePage = summary.usagePage;
    usage = summary.usage;
    return true;
}

bool HidapiBackend::ReadReportDescriptor(const std::string& path,
                                         std::vector<uint8_t>& descriptor) {
    const size_t slash = path.find_last_of('/');
    const std::string node = slash == std::string::npos ? path : path.substr(slash + 1);
    if (node.rfind("hidraw", 0) == 0) {
        std::ifstream file("/sys/class/hidraw/" + node + "/device/report_descriptor",
                           std::ios::binary);
        if (file) {
            descriptor.assign(std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>());
            if (!descriptor.empty()) {
                return true;
            }
        }
    }
    const UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        LogLine("open %s for its report descriptor failed: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    int size = 0;
    if (::ioctl(fd.Get(), HIDIOCGRDESCSIZE, &size) < 0 || size <= 0) {
        LogLine("HIDIOCGRDESCSIZE on %s failed: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    hidraw_report_descriptor raw{};
    raw.size = static_cast<uint32_t>(std::min(size, HID_MAX_DESCRIPTOR_SIZE));
    if (::ioctl(fd.Get(), HIDIOCGRDESC, &raw) < 0) {
        LogLine("HIDIOCGRDESC on %s failed: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    descriptor.assign(raw.value, raw.value + raw.size);
    return true;
}

}  // namespace kestrix
