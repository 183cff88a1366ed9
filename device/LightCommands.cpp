#include "device/LightCommands.h"

#include "device/DeviceTask.h"
#include "device/LightModes.h"

#include <cmath>

namespace kovrin {

namespace {

constexpr int kColourMode = 4;
constexpr int kRawSpeedMode = 9;
constexpr std::array<std::uint8_t, 4> kMusicMarker = {CMD_MUSIC_LEVEL, 0x45, 0x67, 0x89};

// Speed and brightness go to family B one lower, except 0.
std::uint8_t LessOne(int value) {
    return LowByte(value == 0 ? 0 : value - 1);
}

std::uint32_t Colour(const LightRow& row) {
    return static_cast<std::uint32_t>(row.color_value);
}

bool ReadRow(const CommandContext& context, const LightSelection& selection, LightRow& row) {
    return context.database.GetLight(selection.profile, selection.mode, row);
}

} // namespace

std::uint8_t PresetByte(const LightRow& row, int preset) {
    return (static_cast<LightFunctions>(row.config_func) & LF_PER_KEY) != 0 ? LowByte(preset) : 0;
}

OutputReport LightModeReport(const LightRow& row) {
    OutputReport r{};
    r[1] = CMD_LIGHT_MODE;
    r[3] = LowByte(row.mode);
    return r;
}

OutputReport LightParamsReport(const LightRow& row) {
    OutputReport r{};
    r[1] = CMD_LIGHT_PARAMS;
    r[3] = LowByte((row.direction & 3) * 16 + (row.colorful != 0 ? 0x40 : 0) + (row.speed & 0x0F));
    r[4] = ByteOf(Colour(row), 0);
    r[5] = ByteOf(Colour(row), 1);
    r[6] = ByteOf(Colour(row), 2);
    r[7] = LowByte(row.brightness);
    return r;
}

FeatureReport LightPresetReport(const LightRow& row, int preset) {
    FeatureReport r{};
    r[0] = kFeatureReportId;
    r[1] = CMD_LIGHT_PRESET;
    r[2] = 0xFF;
    r[3] = LowByte(row.mode - 1);
    r[4] = LowByte(row.brightness);
    r[5] = LowByte(row.speed);
    r[7] = PresetByte(row, preset);
    return r;
}

FeatureReport LightSetReport(const LightRow& row, int preset) {
    FeatureReport r{};
    r[0] = kFeatureReportId;
    r[1] = CMD_LIGHT_SET;
    r[2] = LowByte(row.mode - 1);
    r[3] = LowByte(row.colorindex);
    r[4] = LowByte(row.direction);
    r[5] = LessOne(row.speed);
    r[6] = LessOne(row.brightness);
    r[7] = PresetByte(row, preset);
    if (row.mode == kColourMode) {
        r[4] = ByteOf(Colour(row), 0);
        r[5] = ByteOf(Colour(row), 1);
        r[7] = ByteOf(Colour(row), 2);
    } else if (row.mode == kRawSpeedMode) {
        r[5] = LowByte(row.speed);
    }
    return r;
}

DataReport LightSetLongReport(const LightRow& row, int preset) {
    DataReport d{};
    std::copy(kData64Marker.begin(), kData64Marker.end(), d.begin());
    d[4] = 0xAA;
    d[5] = LowByte(row.mode - 1);
    d[6] = LowByte(row.colorindex);
    d[7] = LowByte(row.direction);
    d[8] = LessOne(row.speed);
    d[9] = LessOne(row.brightness);
    d[10] = PresetByte(row, preset);
    if (row.mode == kColourMode) {
        d[7] = ByteOf(Colour(row), 0);
        d[8] = ByteOf(Colour(row), 1);
        d[10] = ByteOf(Colour(row), 2);
    }
    return d;
}

LightSent SendLight(const CommandContext& context, const LightSelection& selection, int device_type,
                    int connection_mode, bool send_mode) {
    const DeviceFamily family = FamilyOf(device_type);
    LightRow row;
    if (family == DeviceFamily::kNone || !ReadRow(context, selection, row)) {
        return LightSent::kNothing;
    }
    if (family == DeviceFamily::kA) {
        context.manager.WriteReport(send_mode ? LightModeReport(row) : LightParamsReport(row));
        return send_mode ? LightSent::kMode : LightSent::kParams;
    }
    if (LongForms(connection_mode)) {
        context.manager.WriteData64(LightSetLongReport(row, selection.preset));
        return LightSent::kSetLong;
    }
    context.manager.SendFeature(LightSetReport(row, selection.preset));
    return LightSent::kSet;
}

bool SendLightPreset(const CommandContext& context, const LightSelection& selection,
                     int device_type) {
    LightRow row;
    if (device_type >= 200 || !ReadRow(context, selection, row)) {
        return false;
    }
    context.manager.SendFeature(LightPresetReport(row, selection.preset));
    return true;
}

std::uint8_t MusicLevelByte(int level, float gain) {
    const float product = static_cast<float>(level) * gain;
    // Anything an int cannot hold reads as 0, as does a negative product.
    if (!(product >= 0.0f) || product >= 2147483648.0f) {
        return 0;
    }
    return static_cast<std::uint8_t>(std::min(std::trunc(product), 255.0f));
}

FeatureReport MusicLevelFeatureReport(const MusicLevelSettings& settings, int level) {
    FeatureReport r{};
    r[0] = kFeatureReportId;
    std::copy(kMusicMarker.begin(), kMusicMarker.end(), r.begin() + 1);
    r[5] = LowByte(settings.effect);
    r[6] = LowByte(settings.colour);
    r[7] = MusicLevelByte(level, settings.gain);
    return r;
}

MusicLevelSent SendMusicLevel(DeviceManager& manager, const MusicLevelSettings& settings,
                              int level) {
    const std::optional<bool> sent =
        manager.TrySendFeatureChecked(MusicLevelFeatureReport(settings, level));
    if (!sent) {
        return MusicLevelSent::kBusy;
    }
    return *sent ? MusicLevelSent::kSent : MusicLevelSent::kFailed;
}

} // namespace kovrin
