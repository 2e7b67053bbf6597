// SPDX-License-Identifier: MIT
#pragma once

// Emulated USB HID hardware at the kernel interface (umockdev): the sysfs tree and /dev/hidraw
// nodes of simulated mice and receivers, so that hidapi, libudev and the hot-plug monitor run
// their real code. Writes to a node go to the device's simulated firmware; its answers and
// notifications come back as reads. Test programs only: this pulls in GLib through umockdev.
// The process must run with umockdev's preload library (see RunUnderUmockdev).

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/SimDevice.h"

namespace kestrix::testing {

// One hidraw node of an emulated device.
struct EmulatedNode {
    std::string devnode;  // "/dev/hidraw3"
    std::string devpath;  // sysfs path below /sys, kernel style
    int interfaceNumber = -1;
    std::vector<uint8_t> descriptor;  // its report descriptor
};

class HidTestbed {
  public:
    // Creates the empty testbed (sets UMOCKDEV_DIR). Create and destroy it while no other
    // thread of the test runs.
    HidTestbed();
    ~HidTestbed();
    HidTestbed(const HidTestbed&) = delete;
    HidTestbed& operator=(const HidTestbed&) = delete;

    // True when the process runs under umockdev's preload library.
    static bool InMockEnvironment();

    // Lays out device on a USB port of its own: usb_device, one usb_interface + hid + hidraw per
    // interface (pointer and keyboard on 0, consumer on 1, configuration on 2, boot loader on
    // 3), with report descriptors, ids, release number and strings; sends the "add" uevents.
    void Plug(const std::shared_ptr<SimDevice>& device);
    // Surprise removal: the firmware stops answering (open handles fail), "remove" uevents go
    // out for the hidraw nodes, the tree disappears.
    void Unplug(const std::string& name);
    // The hidraw nodes of a plugged device, in interface order.
    std::vector<EmulatedNode> Nodes(const std::string& name) const;
    // The node of one interface of a plugged device (empty when there is none).
    std::string NodeOf(const std::string& name, int interfaceNumber) const;
    // The length of every write that reached a node, in order (the report ID byte included).
    std::vector<size_t> WriteLengths(const std::string& devnode) const;
    // Sets the access mode of a node's file (the emulated /dev entry).
    bool SetNodeMode(const std::string& devnode, unsigned mode);
    // How long a read with nothing queued waits before answering "no data" (the preload
    // library cannot see the caller's time-out).
    void SetReadHold(std::chrono::milliseconds hold);

    struct Impl;

  private:
    std::unique_ptr<Impl> m_impl;
};

// Re-executes the program with umockdev's preload library in LD_PRELOAD unless it is there
// already (it must be loaded before the program starts). Returns only when no re-exec
// happened: true when the preload library is in place.
bool RunUnderUmockdev(int argc, char** argv);

// The report descriptor of one collection kind, as the emulated firmware declares it.
std::vector<uint8_t> EmulatedDescriptor(SimCollectionKind kind);

}  // namespace kestrix::testing
