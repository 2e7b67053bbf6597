// SPDX-License-Identifier: MIT
#include "device/FirmwareUpgrade.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "device/Crc16Modbus.h"
#include "device/SimTestBench.h"
#include "update/UpdateTestSupport.h"
#include "update/ZipExtractor.h"

namespace kestrix {
namespace {

using testing::TempDir;

std::vector<uint8_t> ParseHex(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (size_t at = 0; at + 1 < text.size(); at += 3)
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(at, 2), nullptr, 16)));
    return bytes;
}

std::string TestImage(size_t size) {
    std::string image(size, '\0');
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return image;
}

// A cabled Vireo on a simulated bus, and a firmware flow whose download step writes a package
// made by the test (the network side is the web client's own test). wrap may put a back end
// of the test's own in front of the simulated bus.
struct FlashBench {
    using Wrap = std::function<std::shared_ptr<HidBackend>(std::shared_ptr<SimBackend>)>;
    explicit FlashBench(const Wrap& wrap = nullptr) : sim(std::make_shared<SimBackend>()) {
        LoadSimScenario(*sim, "vireo");
        manager = std::make_unique<HidDeviceManager>(wrap ? wrap(sim) : sim);
        manager->SetFilter(BuildFilterList(testing::ShippedLines()));
        manager->Rebuild();
        manager->SetSelectedModel(101);
    }
    HidDeviceManager& Manager() { return *manager; }
    std::shared_ptr<SimDevice> Device() const { return sim->Find("vireo-cable"); }

    FirmwareUpgradeSteps Steps(const std::string& package) {
        FirmwareUpgradeSteps steps;
        steps.progress = [this](int textId, int percent) {
            progress.emplace_back(textId, percent);
        };
        steps.download = [this, package](const std::string& url, const std::string& path) {
            urls.push_back(url);
            if (!package.empty()) testing::WriteFile(path, package);
        };
        steps.extract = [](const std::string& zip, const std::string& into) {
            return ZipExtractor().Extract(zip, into).complete;
        };
        return steps;
    }
    // Flashes an image of these bytes, packaged as version 131 of the firmware.
    FirmwareUpgradeResult Flash(const std::string& image) {
        const std::string package =
            testing::ZipBytes(folder.Path(), {{FirmwareUpgrade::ImageName("131"), image}});
        return FirmwareUpgrade(Manager(), Steps(package))
            .UpgradeFirmware("131", "http://fw.example/kx", folder.Path() + "temp/");
    }
    // The reports written to the boot-loader interface.
    std::vector<std::vector<uint8_t>> BootWrites() const {
        const std::string prefix = "W " + Device()->PathOf(kSimBootLoaderInterface) + " ";
        std::vector<std::vector<uint8_t>> writes;
        for (const std::string& line : trace.Lines()) {
            if (line.rfind(prefix, 0) == 0) writes.push_back(ParseHex(line.substr(prefix.size())));
        }
        return writes;
    }
    SimBootLoaderState Loader() const { return Device()->BootLoaderState(); }

    std::shared_ptr<SimBackend> sim;
    std::unique_ptr<HidDeviceManager> manager;
    testing::TraceRecorder trace;
    TempDir folder;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> urls;
};

std::vector<uint8_t> Control(uint8_t kind, uint8_t data) {
    std::vector<uint8_t> report(64, 0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = kind;
    report[3] = 0x00;
    report[4] = data;
    return report;
}

TEST(FirmwareUpgrade, NamesThePackageTheImageAndTheAddress) {
    EXPECT_EQ(FirmwareUpgrade::PackageName("131"), "firmware-131.zip");
    EXPECT_EQ(FirmwareUpgrade::PackageUrl("http://h/fw", "131"),
              "http://h/fw//mouse//firmware-131.zip");
    EXPECT_EQ(FirmwareUpgrade::ImageName("131"), "firmware     -131.bin");
    for (const char* bad : {"", ".", "..", "1/2", "..\\x", "1\n"})
        EXPECT_FALSE(FirmwareUpgrade::IsPlainVersion(bad)) << bad;
    for (const char* good : {"131", "1.0.4", "1..2"})
        EXPECT_TRUE(FirmwareUpgrade::IsPlainVersion(good)) << good;
}

TEST(FirmwareUpgrade, RecordCheckValueIsModbusCrcOfNumberAndData) {
    const BootReport report = FirmwareUpgrade::DataReport(nullptr, 0, 0, 1);
    std::vector<uint8_t> expected(64, 0xFF);
    expected[0] = 0x05;
    expected[1] = 0x02;
    expected[2] = 0x14;
    expected[3] = 0x00;
    expected[4] = 0x00;
    expected[5] = 0x00;
    expected[22] = 0x31;  // CRC-16/MODBUS of 00 00 and sixteen FF is 0x9431
    expected[23] = 0x94;
    EXPECT_EQ(std::vector<uint8_t>(report.begin(), report.end()), expected);
    EXPECT_EQ(Crc16Modbus(report.data() + 4, 18), 0x9431);
}

TEST(FirmwareUpgrade, ReportsForEmptyFullAndPartialImages) {
    const std::string image50 = TestImage(50);
    std::vector<uint8_t> tail(64, 0xFF);  // record 3: image bytes 48 and 49, fourteen FF
    tail[0] = 0x05;
    tail[1] = 0x02;
    tail[2] = 0x14;
    tail[3] = 0x00;
    tail[4] = 0x03;
    tail[5] = 0x00;
    tail[6] = static_cast<uint8_t>(image50[48]);
    tail[7] = static_cast<uint8_t>(image50[49]);
    const uint16_t tailCrc = Crc16Modbus(tail.data() + 4, 18);
    tail[22] = tailCrc & 0xFF;
    tail[23] = tailCrc >> 8;

    struct Case {
        size_t size;
        size_t dataReports;
        std::vector<uint8_t> lastData;  // empty: not checked
        int records;
    };
    const std::vector<Case> cases = {
        {0, 0, {}, 0},     // nothing at all, not even the enter report
        {48, 1, {}, 3},    // one full report, no partial one
        {50, 2, tail, 4},  // a full report, then one record of 2 bytes
    };
    for (const Case& c : cases) {
        FlashBench flash;
        const std::string image = c.size == 50 ? image50 : TestImage(c.size);
        const FirmwareUpgradeResult result = flash.Flash(image);
        EXPECT_EQ(result.ok, c.size != 0) << c.size << " " << result.reason;
        const auto writes = flash.BootWrites();
        if (c.size == 0) {
            EXPECT_NE(result.reason.find("is empty"), std::string::npos) << result.reason;
            EXPECT_TRUE(writes.empty());
            EXPECT_FALSE(flash.Loader().entered);
        } else {
            ASSERT_EQ(writes.size(), c.dataReports + 2) << c.size;
            EXPECT_EQ(writes.front(), Control(0x02, 0x01));
            EXPECT_EQ(writes.back(), Control(0x06, 0x02));
            EXPECT_EQ(writes[1][2], 0x3C);
            if (!c.lastData.empty()) {
                EXPECT_EQ(writes[writes.size() - 2], c.lastData);
            }
            const SimBootLoaderState loader = flash.Loader();
            EXPECT_TRUE(loader.finished);
            EXPECT_EQ(loader.records, c.records);
            EXPECT_EQ(loader.crcErrors + loader.sequenceErrors + loader.badReports, 0);
            EXPECT_EQ(std::string(loader.image.begin(), loader.image.begin() + c.size), image);
        }
        // The package and the image do not outlive the task.
        EXPECT_TRUE(std::filesystem::is_empty(flash.folder.Path() + "temp/")) << c.size;
        EXPECT_EQ(flash.urls,
                  std::vector<std::string>{"http://fw.example/kx//mouse//firmware-131.zip"});
        EXPECT_EQ(flash.progress.back(), std::make_pair(593, 100));
    }
}

TEST(FirmwareUpgrade, Flashes64KiBIntoTheBootLoaderWithProgress) {
    FlashBench flash;
    const std::string image = TestImage(64 * 1024);
    EXPECT_TRUE(flash.Flash(image).ok);
    const SimBootLoaderState loader = flash.Loader();
    EXPECT_TRUE(loader.finished);
    EXPECT_EQ(loader.records, 4096);
    EXPECT_EQ(loader.crcErrors + loader.sequenceErrors + loader.badReports, 0);
    ASSERT_GE(loader.image.size(), image.size());
    EXPECT_EQ(std::string(loader.image.begin(), loader.image.begin() + image.size()), image);

    // 590 at 5, 591 at 7 and 10, one 592 per full report (1365) rising to 100, 593 at 100.
    const auto& p = flash.progress;
    ASSERT_EQ(p.size(), 4u + 1365u);
    EXPECT_EQ(p[0], std::make_pair(590, 5));
    EXPECT_EQ(p[1], std::make_pair(591, 7));
    EXPECT_EQ(p[2], std::make_pair(591, 10));
    EXPECT_EQ(p[3], std::make_pair(592, 10));        // 90 * 1 / 1365 + 10
    EXPECT_EQ(p[3 + 682], std::make_pair(592, 55));  // 90 * 683 / 1365 + 10
    EXPECT_EQ(p[p.size() - 2], std::make_pair(592, 100));
    EXPECT_EQ(p.back(), std::make_pair(593, 100));
}

TEST(FirmwareUpgrade, MissingPackageOrBootLoaderSkipsTheSteps) {
    // Nothing downloaded: the window still goes from 590 to 593 at 100.
    FlashBench none;
    FirmwareUpgradeResult result =
        FirmwareUpgrade(none.Manager(), none.Steps(""))
            .UpgradeFirmware("131", "http://h", none.folder.Path() + "temp/");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason,
              "firmware package firmware-131.zip was not downloaded from "
              "http://h//mouse//firmware-131.zip");
    EXPECT_EQ(none.progress, (std::vector<std::pair<int, int>>{{590, 5}, {593, 100}}));
    EXPECT_TRUE(none.BootWrites().empty());

    // A version text that could climb out of the folder is not used as a file name.
    FlashBench unsafe;
    result = FirmwareUpgrade(unsafe.Manager(), unsafe.Steps("x"))
                 .UpgradeFirmware("../x", "http://h", unsafe.folder.Path() + "temp/");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "firmware version \"../x\" cannot name a file; upgrade skipped");
    EXPECT_TRUE(unsafe.urls.empty());
    EXPECT_EQ(unsafe.progress.back(), std::make_pair(593, 100));

    // Without a command interface the enter report fails and nothing is transferred.
    FlashBench unplugged;
    unplugged.Device()->Unplug();
    unplugged.Manager().Rebuild();
    result = unplugged.Flash(TestImage(96));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "firmware upgrade: no command interface");
    EXPECT_FALSE(unplugged.Loader().entered);
}

// Boot-loader handles of a simulated bus whose writes number `failing` fail and stay
// unanswered; every other call goes to the simulated device.
class FaultyBootBackend : public HidBackend {
  public:
    FaultyBootBackend(std::shared_ptr<SimBackend> inner, std::set<int> failing)
        : m_inner(std::move(inner)), m_failing(std::move(failing)) {}
    bool Init() override { return m_inner->Init(); }
    void Exit() override { m_inner->Exit(); }
    std::vector<HidDeviceInfo> Enumerate() override { return m_inner->Enumerate(); }
    bool ReadTopCollection(const std::string& path, uint16_t& page, uint16_t& usage) override {
        return m_inner->ReadTopCollection(path, page, usage);
    }
    std::unique_ptr<HidHandle> Open(const std::string& path) override {
        std::unique_ptr<HidHandle> handle = m_inner->Open(path);
        if (!handle || path.find("/if3") == std::string::npos) return handle;
        return std::make_unique<Handle>(std::move(handle), m_failing);
    }

  private:
    class Handle : public HidHandle {
      public:
        Handle(std::unique_ptr<HidHandle> inner, std::set<int> failing)
            : m_inner(std::move(inner)), m_failing(std::move(failing)) {}
        int Write(const uint8_t* data, size_t length) override {
            m_silent = m_failing.count(++m_writes) != 0;
            return m_silent ? -1 : m_inner->Write(data, length);
        }
        int ReadTimeout(uint8_t* data, size_t length, int timeoutMs) override {
            return m_silent ? 0 : m_inner->ReadTimeout(data, length, timeoutMs);
        }
        bool ProductString(std::string& product) override {
            return m_inner->ProductString(product);
        }

      private:
        std::unique_ptr<HidHandle> m_inner;
        std::set<int> m_failing;
        int m_writes = 0;
        bool m_silent = false;
    };

    std::shared_ptr<SimBackend> m_inner;
    std::set<int> m_failing;
};

TEST(FirmwareUpgrade, RetryRuleDecidesWhetherAReportWasSent) {
    struct Case {
        const char* what;
        std::set<int> failing;  // boot writes that fail: 1 enter, 2.. data, then retries shift them
        bool entered;
        int records;
        bool finished;
        const char* reason;  // of the result; "" = ok
    };
    const std::vector<Case> cases = {
        {"second data report taken on the retry", {3}, true, 12, true, ""},
        {"second data report lost: transfer ends, finish still sent",
         {3, 4},
         true,
         3,
         true,
         "firmware transfer of 192 bytes incomplete"},
        {"enter report lost: nothing sent",
         {1, 2},
         false,
         0,
         false,
         "boot loader not entered; nothing transferred"},
    };
    for (const Case& c : cases) {
        FlashBench flash([&c](std::shared_ptr<SimBackend> sim) {
            return std::make_shared<FaultyBootBackend>(std::move(sim), c.failing);
        });
        const FirmwareUpgradeResult result = flash.Flash(TestImage(4 * 48));
        EXPECT_EQ(result.ok, std::string(c.reason).empty()) << c.what;
        EXPECT_EQ(result.reason, c.reason) << c.what;
        const SimBootLoaderState loader = flash.Loader();
        EXPECT_EQ(loader.entered, c.entered) << c.what;
        EXPECT_EQ(loader.records, c.records) << c.what;
        EXPECT_EQ(loader.finished, c.finished) << c.what;
        EXPECT_EQ(loader.crcErrors + loader.sequenceErrors, 0) << c.what;
    }
}

}  // namespace
}  // namespace kestrix
