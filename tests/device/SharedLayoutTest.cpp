#include "device/LayoutLoader.h"

#include "tests/device/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace kovrin;
using kovrin::test::kXmlHeader;
using kovrin::test::TempProgramFolder;

namespace {

std::string LayoutWithKeys(int count) {
    std::string keys;
    for (int i = 0; i < count; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "%X", 0x10 + i);
        keys += "<key code=\"" + std::string(code) + "\" key_index=\"" + std::to_string(i) +
                "\" row_col=\"0_" + std::to_string(i) + "\" rect=\"0#0#1#1\"/>\r\n";
    }
    return std::string(kXmlHeader) + "<device.info>\r\n<Keyboard row_count=\"1\" col_count=\"" +
           std::to_string(count) + "\"><KeyItems>\r\n" + keys +
           "</KeyItems></Keyboard>\r\n</device.info>\r\n";
}

} // namespace

// Readers on other threads always see one whole layout: the model's key
// count, map and matrix agree with each other whatever reload runs meanwhile.
TEST(SharedLayout, ReadersNeverSeeAHalfReplacedLayout) {
    TempProgramFolder folder;
    folder.WriteLayout("small", LayoutWithKeys(3));
    folder.WriteLayout("large", LayoutWithKeys(20));
    std::vector<ModelRecord> models(2);
    models[0].name = "Small";
    models[0].device_type = 201;
    models[0].layout_name = "small";
    models[1].name = "Large";
    models[1].device_type = 202;
    models[1].layout_name = "large";

    SharedLayout shared;
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::atomic<long> reads{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const auto layout = shared.Get();
                const std::size_t expected = layout->model_name == "Small"   ? 3
                                             : layout->model_name == "Large" ? 20
                                                                             : 0;
                const int last = static_cast<int>(expected) - 1;
                const bool whole = layout->keys.size() == expected &&
                                   layout->key_index_map.size() == expected &&
                                   layout->col_count == static_cast<int>(expected) &&
                                   (expected == 0 || layout->matrix.At(0, last) == 0x10 + last);
                if (!whole) {
                    mismatches.fetch_add(1);
                }
                reads.fetch_add(1);
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        const LayoutLoad load = shared.Reload(i % 2 == 0 ? 201 : 202, models);
        ASSERT_TRUE(load.loaded) << load.error;
        EXPECT_EQ(shared.Get(), load.layout);
    }
    while (reads.load() < 1000) {
        std::this_thread::yield();
    }
    stop = true;
    for (auto& r : readers) {
        r.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(shared.Get()->model_name, "Large");
}

TEST(SharedLayout, FailedReloadKeepsThePublishedLayout) {
    TempProgramFolder folder;
    folder.WriteLayout("small", LayoutWithKeys(3));
    std::vector<ModelRecord> models(2);
    models[0].name = "Small";
    models[0].device_type = 201;
    models[0].layout_name = "small";
    models[1].name = "Gone";
    models[1].device_type = 202;
    models[1].layout_name = "gone";

    SharedLayout shared;
    ASSERT_TRUE(shared.Reload(201, models).loaded);
    const auto before = shared.Get();
    const LayoutLoad failed = shared.Reload(202, models);
    EXPECT_FALSE(failed.loaded);
    EXPECT_EQ(shared.Get(), before);
    shared.Set(nullptr);
    EXPECT_EQ(shared.Get(), before);
}
