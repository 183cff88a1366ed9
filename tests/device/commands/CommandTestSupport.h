#pragma once
// A simulated keyboard behind a device manager on a virtual clock, a store in
// a temporary folder and a hand-made layout, for the command tests.

#include "device/CommandReports.h"
#include "device/SimulatedHidBackend.h"
#include "device/SimulatedKeyboard.h"
#include "store/KeyboardDatabase.h"

#include "../../store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kovrin::test {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

inline constexpr std::uint16_t kTestVendor = 0x3A5C;

// Leading bytes, zero-filled to the length.
inline Bytes Lead(std::initializer_list<int> leading, std::size_t length) {
    Bytes bytes(length, 0);
    std::size_t i = 0;
    for (int b : leading) {
        bytes[i++] = static_cast<std::uint8_t>(b);
    }
    return bytes;
}

template <std::size_t N> Bytes ToBytes(const std::array<std::uint8_t, N>& a) {
    return Bytes(a.begin(), a.end());
}

// A layout whose keys have the given (code, index) pairs; the light index is
// the key index.
inline std::shared_ptr<const KeyboardLayout>
MakeLayout(int device_type, std::initializer_list<std::pair<int, int>> keys) {
    auto layout = std::make_shared<KeyboardLayout>();
    layout->device_type = device_type;
    layout->model_name = "Test";
    for (const auto& [code, index] : keys) {
        KeyItem item;
        item.code = code;
        item.key_index = index;
        item.light_index = index;
        layout->keys.push_back(item);
        layout->key_index_map[code] = index;
        layout->light_index_map[code] = index;
    }
    return layout;
}

// Letters A..Z (usages 0x04..0x1D) with key indices 0..25.
inline std::shared_ptr<const KeyboardLayout> LetterLayout(int device_type) {
    auto layout = std::make_shared<KeyboardLayout>(*MakeLayout(device_type, {}));
    for (int code = 0x04; code <= 0x1D; ++code) {
        layout->key_index_map[code] = code - 0x04;
        layout->light_index_map[code] = code - 0x04;
        KeyItem item;
        item.code = code;
        item.key_index = code - 0x04;
        item.light_index = code - 0x04;
        layout->keys.push_back(item);
    }
    return layout;
}

// A light row with the given values.
inline LightRow LightRowOf(int mode, int brightness, int speed, int direction, int colorful,
                           int colorindex, int color_value, int config_func) {
    LightRow row;
    row.mode = mode;
    row.brightness = brightness;
    row.speed = speed;
    row.direction = direction;
    row.colorful = colorful;
    row.colorindex = colorindex;
    row.color_value = color_value;
    row.config_func = config_func;
    return row;
}

class CommandRig {
public:
    explicit CommandRig(int device_type, int connection_mode = 0) {
        SimulatedKeyboardDescription board;
        board.model_name = "Test";
        board.device_type = device_type;
        board.connection_mode = connection_mode;
        board.vendor_id = kTestVendor;
        board.product_id = 0x0200;
        board.firmware_version = 0x0105;
        Init(board);
    }
    explicit CommandRig(const SimulatedKeyboardDescription& board) { Init(board); }

    CommandContext Context() { return {manager, database, layout}; }

    std::vector<RecordedReport> Reports() const { return keyboard->Reports(); }
    // The bytes of every report sent (sets and writes), in order.
    std::vector<Bytes> Sent() const {
        std::vector<Bytes> sent;
        for (const RecordedReport& r : keyboard->Reports()) {
            if (r.kind != ReportKind::kGet) {
                sent.push_back(r.bytes);
            }
        }
        return sent;
    }
    // Milliseconds between each report and the one before (the first: since
    // the records were last cleared and the clock was at `start`).
    std::vector<double> Gaps(Clock::Duration start = {}) const {
        std::vector<double> gaps;
        Clock::Duration previous = start;
        for (const RecordedReport& r : keyboard->Reports()) {
            gaps.push_back(std::chrono::duration<double, std::milli>(r.at - previous).count());
            previous = r.at;
        }
        return gaps;
    }
    void ExpectNoViolations() const {
        for (const Violation& v : keyboard->Violations()) {
            ADD_FAILURE() << "protocol violation at report " << v.report_index << ": " << v.text;
        }
    }
    // Forgets the reports so far and returns the time now.
    Clock::Duration Mark() {
        keyboard->ClearRecords();
        return clock.Now();
    }

    int AddAssignment(int key_code, int type, int value, int profile = 1, int fn_layer = 0) {
        KeyAssignment a;
        a.profile = profile;
        a.fn_layer = fn_layer;
        a.key_code = key_code;
        a.macro_type = type;
        a.macro_value = value;
        return database.SaveKeyAssignment(a);
    }
    // A macro with the given (type, value, delay) records.
    int AddMacro(int play_times, const std::vector<std::tuple<int, int, int>>& steps) {
        MacroRow row;
        row.name = "m";
        row.play_times = play_times;
        row.delay_type = 1;
        const int id = database.InsertMacro(row);
        std::vector<MacroRecordRow> records;
        int index = 0;
        for (const auto& [type, value, delay] : steps) {
            MacroRecordRow r;
            r.macro_id = id;
            r.type = type;
            r.record_index = index++;
            r.value = value;
            r.delay_time = delay;
            records.push_back(r);
        }
        database.AddMacroRecords(records);
        return id;
    }
    int AddLight(int mode, int brightness, int speed, int direction, int colorful, int colorindex,
                 int color_value, int config_func, int profile = 1) {
        LightRow row = LightRowOf(mode, brightness, speed, direction, colorful, colorindex,
                                  color_value, config_func);
        row.profile = profile;
        return database.AddLight(row);
    }

    VirtualClock clock;
    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    DeviceManager manager{backend, clock};
    std::shared_ptr<SimulatedKeyboard> keyboard;
    TempDataFolder folder;
    KeyboardDatabase database;
    std::shared_ptr<const KeyboardLayout> layout;

private:
    void Init(const SimulatedKeyboardDescription& board) {
        keyboard = std::make_shared<SimulatedKeyboard>(board, clock);
        backend->Attach(keyboard);
        manager.AddSupported(board.vendor_id, board.product_id, "", board.device_type,
                             board.connection_mode, "");
        manager.EnumerateAndOpen();
        manager.SelectType(board.device_type);
        layout = LetterLayout(board.device_type);
        if (!database.Open(folder.path(), "Test")) {
            ADD_FAILURE() << "cannot open the store: " << database.LastError();
        }
        database.SetDeviceType(board.device_type);
    }
};

} // namespace kovrin::test
