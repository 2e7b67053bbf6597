// SPDX-License-Identifier: MIT
#include "bus/WindowClient.h"

#include <cstring>

#include "base/Log.h"
#include "base/Text.h"
#include "bus/BusHandle.h"
#include "bus/BusNames.h"

namespace kestrix::bus {
namespace {

// A forwarded command may read the whole mouse or ask a web server; the window answers when
// the command ends.
constexpr uint64_t kRunTimeoutUsec = 300ull * 1000 * 1000;

}  // namespace

std::optional<ForwardedRun> ForwardToWindow(const std::vector<std::string>& arguments,
                                            const std::string& workingDirectory,
                                            std::string& failure) {
    sd_bus* raw = nullptr;
    int result = sd_bus_open_user(&raw);
    BusPtr bus(raw);
    if (result < 0) {
        failure = Format("no session bus (%s)", std::strerror(-result));
        return std::nullopt;
    }
    sd_bus_message* rawCall = nullptr;
    result = sd_bus_message_new_method_call(bus.get(), &rawCall, kBusName, kManagerPath,
                                            kManagerInterface, "Run");
    MessagePtr call(rawCall);
    std::vector<char*> words;
    for (const std::string& argument : arguments)
        words.push_back(const_cast<char*>(argument.c_str()));
    words.push_back(nullptr);
    if (result >= 0) result = sd_bus_message_append_strv(call.get(), words.data());
    if (result >= 0) result = sd_bus_message_append(call.get(), "s", workingDirectory.c_str());
    if (result < 0) {
        failure = Format("the call could not be built (%s)", std::strerror(-result));
        return std::nullopt;
    }
    BusError error;
    sd_bus_message* rawReply = nullptr;
    result = sd_bus_call(bus.get(), call.get(), kRunTimeoutUsec, error.Get(), &rawReply);
    MessagePtr reply(rawReply);
    if (result < 0) {
        failure = error.Text();
        LogLine("forwarding to the window program failed: %s", failure.c_str());
        return std::nullopt;
    }
    const char* out = nullptr;
    const char* err = nullptr;
    ForwardedRun run;
    result = sd_bus_message_read(reply.get(), "ssi", &out, &err, &run.exitCode);
    if (result < 0) {
        failure =
            Format("the window program's answer could not be read (%s)", std::strerror(-result));
        return std::nullopt;
    }
    run.out = out;
    run.err = err;
    return run;
}

}  // namespace kestrix::bus
