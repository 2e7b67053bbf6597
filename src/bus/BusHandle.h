// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <systemd/sd-bus.h>

namespace kestrix::bus {

// Owning handles of sd-bus objects (unref on destruction).
struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct SlotUnref {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using BusPtr = std::unique_ptr<sd_bus, BusUnref>;
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;
using SlotPtr = std::unique_ptr<sd_bus_slot, SlotUnref>;

// An sd_bus_error freed on destruction.
class BusError {
  public:
    BusError() = default;
    ~BusError() { sd_bus_error_free(&m_error); }
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;

    sd_bus_error* Get() { return &m_error; }
    // The error's message, or its name when it has none.
    const char* Text() const {
        return m_error.message != nullptr ? m_error.message
                                          : (m_error.name != nullptr ? m_error.name : "unknown");
    }

  private:
    sd_bus_error m_error = SD_BUS_ERROR_NULL;
};

}  // namespace kestrix::bus
