// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/CommandFrame.h"
#include "device/DeviceFilterEntry.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"
#include "device/HidDeviceEntry.h"

namespace kestrix {

// One input report as read: its bytes (report ID removed) and how many arrived.
struct InputReport {
    ReportBuffer bytes{};
    size_t length = 0;
};

// How the selected model is attached.
enum class ConnectionKind : int { None = -1, Cable = 0, Receiver = 1 };

// Timing of the command exchange.
inline constexpr int kAnswerReadAttempts = 50;
inline constexpr int kAnswerReadTimeoutMs = 30;
inline constexpr int kIdentityRetryDelayMs = 500;
// Boot-loader collection of a mouse or receiver.
inline constexpr uint16_t kBootLoaderUsagePage = 0xFFEF;
// Configuration collection: usage page 1, usage 0.
inline constexpr uint16_t kConfigurationUsagePage = 0x0001;
inline constexpr uint16_t kConfigurationUsage = 0x0000;

// The owner of every opened HID interface of the supported mice and receivers: enumerates,
// filters by the catalogue, identifies each interface, and carries the command exchange.
// One mutex guards the entry list, the filter list, the selection and the cached command
// interface; I/O runs on the device worker only, outside that mutex, so the main thread can
// read the list while an exchange is in flight.
class HidDeviceManager {
  public:
    // Initialises the back end (hid_init); when that fails the list stays empty, with a log line.
    explicit HidDeviceManager(std::shared_ptr<HidBackend> backend);
    // Closes every entry and the boot-loader interface, then hid_exit.
    ~HidDeviceManager();
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    // The process-wide manager, created on first use with the back end set by
    // SetProcessBackend (hidapi when none was set).
    static HidDeviceManager& Instance();
    // Chooses the back end of the process-wide manager; false (nothing changed) when the
    // manager already exists.
    static bool SetProcessBackend(std::shared_ptr<HidBackend> backend);

    // False when the back end failed to initialise.
    bool IsInitialised() const { return m_initialised; }
    // The back end this manager talks to.
    HidBackend& Backend() { return *m_backend; }

    // Replaces the filter list.
    void SetFilter(std::vector<DeviceFilterEntry> filter);
    // A copy of the filter list.
    std::vector<DeviceFilterEntry> Filter() const;

    // Enumerates, opens and identifies the accepted configuration interfaces and appends them
    // to the list; returns the number of entries in the list.
    int EnumerateDevice();
    // Closes every entry's device and empties the list (clears the cached command interface).
    void CloseAll();
    // Clears the cached command interface, closes all entries, enumerates again, and marks the
    // manager opened. Returns the number of entries.
    int Rebuild();
    // Configuration interfaces of supported mice the last scan found but may not open (no
    // udev rule for them); empty when every one opened.
    std::vector<std::string> DeniedPaths() const;
    // True after the first rebuild; until then every exchange fails at once.
    bool IsOpened() const;

    // The selected model number (0 = none).
    int SelectedModel() const;
    // Sets the selected model number and clears the cached command interface.
    void SetSelectedModel(int modelNumber);
    // Forgets the cached command interface.
    void ClearCommandInterface();
    // The interface commands go to: a cabled entry of the selected model first, else its
    // receiver entry while its link is up; null when there is none. Cached until cleared.
    HidDevice* GetCommandInterface();
    // Cable when an entry of the selected model has mode 0, else Receiver when one has mode 1.
    ConnectionKind GetConnectionKind() const;

    // Entries of the selected model (all entries while it is 0); linkedOnly keeps those whose
    // link state is 1.
    std::vector<HidDeviceEntryView> ListEntries(bool linkedOnly = false) const;
    // Entries of every model, whatever the selection (another thread may list them while the
    // worker keeps its selection).
    std::vector<HidDeviceEntryView> ListAllEntries() const;
    // Number of entries.
    size_t EntryCount() const;
    // True when an entry of that model has an identity code and a link state above 0.
    bool IsIdentified(int modelNumber) const;
    // Sets the link state of every entry with that model number and mode.
    void SetLinkState(int modelNumber, int mode, int state);
    // Sets the link state of the entry at that list position only; false when there is none.
    bool SetLinkStateAt(size_t position, int state);
    // Release number of the first entry with that mode; false when there is none.
    bool ReleaseNumberOfMode(int mode, uint32_t& releaseNumber) const;
    // Vendor and product ID of the entry that owns the cached command interface.
    bool CommandInterfaceIdentity(uint16_t& vendorId, uint16_t& productId) const;

    // Enumerates again and opens the first interface with these IDs, usage page 0xFFEF and
    // usage 0 as the boot-loader interface (owned here); null when there is none.
    HidDevice* OpenBootLoaderInterface(uint16_t vendorId, uint16_t productId);
    // The open boot-loader interface or null.
    HidDevice* BootLoaderInterface();
    // Closes the boot-loader interface.
    void CloseBootLoaderInterface();

    // Model number of an interface: the first filter entry with these IDs and either no
    // identity code (101) or an equal one; 0 when none matches.
    int ModelOf(int vendorId, int productId, const std::string& identityCode) const;
    // Mode of the first filter entry with these IDs; 0 when none.
    int ModeOf(int vendorId, int productId) const;
    // True when a filter entry has these IDs.
    bool IsAccepted(int vendorId, int productId) const;

    // One request/answer exchange on the command interface. buffer holds the request (report
    // ID, frame); the checksum is stored, length bytes (33 or 65) are written, and up to 50
    // reads of 30 ms look for the answer (IsCommandAnswer). On success buffer holds the answer.
    // False at once without an opened manager, a command interface, or when the write fails
    // (buffer unchanged); false after 50 reads without an answer.
    bool SendCommand(ReportBuffer& buffer, size_t length);
    // Asks device for its identity (command 0x10) into destination. Without a device, copies
    // the identity answer of the command interface's entry (false when there is none).
    bool QueryIdentity(ReportBuffer& destination, HidDevice* device);
    // Sends data as a multi-packet write of command (27 bytes per packet, at most 15 packets;
    // a longer payload is cut, with a log line). A failed packet is logged and the rest are
    // still sent. True when every packet was answered.
    bool SendMultiPacket(uint8_t commandCode, std::span<const uint8_t> data);

    // Reads one input report for the idle worker: 65 bytes with 100 ms from the command
    // interface; without one, 33 bytes with 10 ms from each receiver entry in turn, applying
    // a link report (link state, identity) to the entry it came from. modelNumber receives the
    // model the report belongs to. False when nothing was read.
    bool PollDeviceInput(ReportBuffer& report, int& modelNumber);
    // The same with the receivers read with receiverTimeoutMs each (0: only what already
    // waits), for a worker that has seen one of IdleInputInterfaces turn readable.
    bool PollDeviceInput(ReportBuffer& report, int& modelNumber, int receiverTimeoutMs);
    // The interfaces PollDeviceInput reads: the command interface, or without one every
    // receiver entry with an open device. Valid until the next rebuild (worker thread only).
    std::vector<HidDevice*> IdleInputInterfaces();

    // Reads every input report already waiting on device without waiting for more, so that a
    // report sent before a request is never taken for its answer. Link and DPI-change reports
    // among them are kept (TakeNotifications); anything else is dropped with a log line.
    // Every exchange calls it before its write. False when a read failed (device gone).
    bool DrainStaleInput(HidDevice& device);
    // The notifications DrainStaleInput set aside since the last call, oldest first.
    std::vector<InputReport> TakeNotifications();

  private:
    std::vector<std::unique_ptr<HidDeviceEntry>> EnumerateLocked(
        size_t firstPosition, const std::vector<DeviceFilterEntry>& filter,
        std::vector<std::string>& denied);
    HidDeviceEntry* CommandEntryLocked();
    std::vector<HidDeviceEntryView> ListLocked(int model, bool linkedOnly) const;
    bool IdentifyWithRetry(HidDeviceEntry& entry, const std::vector<DeviceFilterEntry>& filter);

    std::shared_ptr<HidBackend> m_backend;
    bool m_initialised = false;

    mutable std::mutex m_mutex;
    int m_opened = 0;
    int m_secondWord = 0;
    std::vector<std::unique_ptr<HidDeviceEntry>> m_entries;
    std::vector<DeviceFilterEntry> m_filter;
    std::vector<std::string> m_deniedPaths;
    int m_selectedModel = 0;
    HidDeviceEntry* m_commandEntry = nullptr;  // not owned; an element of m_entries
    std::unique_ptr<HidDevice> m_bootLoader;
    std::vector<InputReport> m_notifications;
};

// True when a report of read bytes (report ID removed) is the answer to a command: something
// arrived, its status byte is 0, and it is not one of the mouse's unsolicited reports. A
// link report of a mouse that went off (0xC0 with byte 1 = 0) and a DPI-change report
// carry status-like byte 1 = 0 too; taken for an answer they would leave the real answer
// queued for the next exchange and, in an identity query, wipe the receiver's identity.
bool IsCommandAnswer(const uint8_t* report, int read);

// What a user does when the configuration interfaces at deniedPaths cannot be opened: install
// the udev rule, reload udev, replug. One line, for the log, kestrixctl and the window.
std::string PermissionFixMessage(const std::vector<std::string>& deniedPaths);

// Model number of a catalogue line without an identity code.
inline constexpr int kModelWithoutIdentity = 101;

// ModelOf over a given filter list (pure).
int ModelOfFilter(const std::vector<DeviceFilterEntry>& filter, int vendorId, int productId,
                  const std::string& identityCode);

}  // namespace kestrix
