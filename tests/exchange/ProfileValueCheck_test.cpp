// SPDX-License-Identifier: MIT
#include "exchange/ProfileValueCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/Text.h"
#include "device/DeviceState.h"
#include "exchange/ProfileFile.h"
#include "rules/PerformanceDefaults.h"
#include "sim/SimMouseModel.h"
#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "store/DefaultSettings.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

std::string ExportedText(DataStore& store, const std::string& path) {
    EXPECT_TRUE(ExportProfile(store, 1, path, true, nullptr));
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every setting with a range at its low (or high) end; the stage count first, so the active
// stage's range follows it.
void SetEveryValueToAnEnd(DataStore& store, const SettingLimits& mouse, bool high) {
    SettingLimits limits = mouse;
    limits.dpiCount = high ? kMaxDpiStages : 1;
    store.SetSetting(1, "dpi_count", Format("%d", limits.dpiCount));
    for (const DefaultSetting& setting : DefaultSettings()) {
        const auto range = RangeOfSetting(setting.key, limits);
        if (!range || setting.key == "dpi_count") continue;
        int value = high ? range->high : range->low;
        if (range->kind == SettingRange::Kind::Choices)
            value = high ? range->choices.back() : range->choices.front();
        if (range->kind == SettingRange::Kind::Bits) {
            value = 0;
            for (int bit : range->choices) value |= high ? bit : 0;
        }
        store.SetSetting(1, std::string(setting.key), Format("%d", value));
    }
    std::vector<LightRow> rows;
    store.ListLightRows(1, rows);
    for (LightRow& row : rows) {
        row.brightness = row.speed = high ? 4 : 0;
        row.colorValues.fill(high ? kMaxStageColour : 0);
        store.UpdateLightRow(row.mode, row);
    }
}

TEST(ProfileValueCheck, EveryFileKestrixExportsImportsAgain) {
    for (const char* attr : {"vireo", "falco", "harrier_pro"}) {
        test::TempFolder folder;
        DataStore store;
        ASSERT_TRUE(store.OpenForModel(folder.path(), attr));
        store.InsertProfile({0, "Profile 1", 0, "", 0});
        InsertDefaultLightRows(store, 1, {true, true, true, true, true, true});
        ASSERT_TRUE(
            LoadPerformanceDefaults(std::string(KESTRIX_SOURCE_DATA) + "/", attr, store, 1, false))
            << attr;
        const SimMouseModel* model = FindSimModel(attr);
        ASSERT_NE(model, nullptr) << attr;
        SettingLimits limits;
        limits.sensorCode = model->sensorCode;
        limits.reportRateClass = ReportRateClassOf(model->rateCapability);

        EXPECT_EQ(CheckProfileValues(ExportedText(store, folder.path() + "d.xml"), limits, true),
                  "")
            << attr << " defaults";
        for (bool high : {false, true}) {
            SetEveryValueToAnEnd(store, limits, high);
            const std::string path = folder.path() + "ends.xml";
            EXPECT_EQ(CheckProfileValues(ExportedText(store, path), limits, true), "")
                << attr << (high ? " high" : " low");
            EXPECT_TRUE(ImportProfile(store, 1, path, true, limits, nullptr).imported) << attr;
        }
    }
}

TEST(ProfileValueCheck, TheFirstValueOutOfRangeIsNamedWithItsRange) {
    const std::string head = "<profile><profileinfo name=\"p\">";
    struct Case {
        std::string body;
        std::string refusal;
    };
    const Case cases[] = {
        {"<Mouse><report_rate value=\"255\"/><sleep_light value=\"-1\"/></Mouse>",
         "<report_rate value=\"255\">: report_rate must be one of the offered codes 8 (125 Hz), "
         "4 (250 Hz), 2 (500 Hz), 1 (1000 Hz)"},
        {"<Mouse_DPI dpi_flag=\"6\" dpi_count=\"3\" dpi_index=\"3\"/>",
         "<Mouse_DPI dpi_index=\"3\">: dpi_index must be an integer within 0..2"},
        {"<Mouse_DPI dpi_flag=\"6\" dpi_count=\"6\" dpi_index=\"0\"><DPI1 value=\"400\" "
         "color=\"255\"/><DPI2 value=\"12345678901234\" color=\"0\"/></Mouse_DPI>",
         "<DPI2 value=\"12345678901234\">: dpi_group1_value must be a DPI within 50..26000 for "
         "sensor 0"},
        // Inside the sensor's range but off its grid: kept as it is.
        {"<Mouse_DPI dpi_flag=\"6\" dpi_count=\"6\" dpi_index=\"0\"><DPI1 value=\"455\" "
         "color=\"0\"/></Mouse_DPI>",
         ""},
        {"<Lightitems lightmode=\"1\"><item light_mode=\"1\" brightness=\"9\"/></Lightitems>",
         "<item brightness=\"9\">: brightness must be an integer within 0..4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckProfileValues(head + c.body + "</profileinfo></profile>", {}, true),
                  c.refusal)
            << c.body;
    }
}

}  // namespace
}  // namespace kestrix
