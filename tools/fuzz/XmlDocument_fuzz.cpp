// SPDX-License-Identifier: MIT
// libFuzzer target for XmlDocument: loads the input as a file (so the encoding detection runs
// too), then replays an edit script taken from the same bytes and checks after every edit that
// the document text still parses and the cursor reads back what was written.

#include "base/Log.h"
#include "base/Utf8.h"
#include "xml/XmlDocument.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 6> kNames = {"a", "b", "mouse", "key", "dpi_1", "x.y"};

int MemoryFile() {
    static const int fd = [] {
        const int created = memfd_create("xml-fuzz", 0);
        if (created < 0) std::abort();
        return created;
    }();
    return fd;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckStillParses(const kestrix::XmlDocument& doc) {
    kestrix::XmlDocument again;
    Check(again.SetDocText(doc.GetDocText()), "edited text no longer parses");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    kestrix::XmlDocument doc;
    const bool loaded = doc.LoadFile(path);
    if (!loaded) {
        Check(doc.GetDocText().empty(), "refused document not emptied");
        return 0;
    }
    Check(kestrix::utf8::IsValid(doc.GetDocText()), "decoded text is not UTF-8");

    // The same bytes, read as an edit script.
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    for (size_t i = 0; i + 1 < script.size() && i < 512; i += 2) {
        const auto op = static_cast<unsigned char>(script[i]) % 8;
        const std::string_view name =
            kNames[static_cast<unsigned char>(script[i + 1]) % kNames.size()];
        switch (op) {
            case 0:
                doc.FindElement(name);
                break;
            case 1:
                doc.IntoElement();
                break;
            case 2:
                doc.OutOfElement();
                break;
            case 3:
                (void)doc.GetAttribute(name);
                break;
            case 4:
                if (doc.AddElement(name)) {
                    Check(doc.GetTagName() == name, "added element is not current");
                    CheckStillParses(doc);
                }
                break;
            case 5: {
                std::string value(script.substr(i, std::min<size_t>(script.size() - i, 12)));
                for (char& c : value) {
                    if (c == '\0') c = ' ';
                }
                if (doc.SetAttribute(name, value)) {
                    Check(doc.GetAttribute(name) == kestrix::utf8::Sanitize(value),
                          "attribute does not read back");
                    CheckStillParses(doc);
                }
                break;
            }
            case 6:
                (void)doc.GetTagName();
                break;
            default: {
                kestrix::XmlDocument copy;
                copy.SetDocText(doc.GetDocText());
                break;
            }
        }
    }
    return 0;
}
