// The simulated keyboard's understanding of each command.

#include "device/SimulatedKeyboard.h"

#include <algorithm>

namespace kovrin {

namespace {

using std::chrono::milliseconds;

const char* TransferName(int kind) {
    static const char* const kNames[] = {"nothing",          "slot-table read",  "version read",
                                         "macro slot write", "key map transfer", "colour transfer",
                                         "stream frame",     "macro upload"};
    return kNames[kind];
}

int Offset(std::span<const std::uint8_t> r) {
    return r[3] | (r[4] << 8);
}

} // namespace

void SimulatedKeyboard::StartTransfer(Transfer kind, int total, int required) {
    transfer_ = {};
    transfer_.kind = kind;
    transfer_.total = total;
    transfer_.required = required;
}

void SimulatedKeyboard::SequenceCheck(bool continues, const char* what) {
    if (transfer_.kind == Transfer::kNone || continues) {
        return;
    }
    if (!transfer_.lenient && transfer_.done < transfer_.required) {
        AddViolation(ViolationKind::kInterleaved,
                     std::string(what) + " inside an unfinished " +
                         TransferName(static_cast<int>(transfer_.kind)));
    }
    transfer_ = {};
}

void SimulatedKeyboard::CheckFamily(bool family_a_command, const char* what) {
    if (family_a_command != FamilyA()) {
        AddViolation(ViolationKind::kWrongFamily, std::string(what) + " is a family " +
                                                      (family_a_command ? "A" : "B") + " command");
    }
}

void SimulatedKeyboard::CheckForm(bool long_form, const char* what) {
    const bool wireless = board_.connection_mode == 1 || board_.connection_mode == 2;
    if (long_form != wireless) {
        AddViolation(ViolationKind::kWrongForm,
                     std::string(what) + (wireless ? " as a feature report over a wireless link"
                                                   : " as a data report over the cable"));
    }
}

void SimulatedKeyboard::ResetFamilyA() {
    key_map_ = {};
    macros_.clear();
    key_colours_ = {};
    light_a_ = {};
    preset_a_.reset();
}

void SimulatedKeyboard::ResetFamilyB() {
    function_slots_ = {};
    macro_slots_ = {};
    light_b_.reset();
}

void SimulatedKeyboard::HandleSet(int interface_number, std::span<const std::uint8_t> r) {
    if (RoleOf(interface_number) != Role::kCommand) {
        AddViolation(ViolationKind::kWrongInterface, "feature report on a non-command interface");
    }
    const std::uint8_t command = r[1];
    const bool music = command == 0x23 && r[2] == 0x45 && r[3] == 0x67 && r[4] == 0x89;
    // The slot-table query and the music level come without a pause.
    if (command != 0xFB && !music) {
        CheckPause(milliseconds(16), "feature report");
    }

    if (command == 0x00) {
        if (transfer_.kind != Transfer::kMacroSlotWrite) {
            SequenceCheck(false, "macro slot data");
            AddViolation(ViolationKind::kOutOfSequence, "macro slot data without its start");
            return;
        }
        const auto at = static_cast<std::size_t>(6 * transfer_.done);
        std::copy_n(r.begin() + 2, 6, macro_block_.begin() + static_cast<long>(at));
        if (++transfer_.done == transfer_.total) {
            FinishMacroSlotWrite();
        }
        return;
    }

    if (command == 0xFB) {
        CheckFamily(false, "slot-table query");
        SequenceCheck(false, "slot-table query");
        if (r[2] != 0x01) {
            AddViolation(ViolationKind::kUnknownCommand, "slot-table query without 01");
            return;
        }
        StartTransfer(Transfer::kSlotRead, 4, 4);
    } else if (command == 0xFD) {
        SequenceCheck(false, "version query");
        StartTransfer(Transfer::kVersionRead, 2, 1);
    } else if (command == 0xFA) {
        CheckFamily(false, "key slot");
        SequenceCheck(false, "key slot");
        if (r[2] != 0x01 || r[5] != 0x01 || r[7] != 0x01) {
            AddViolation(ViolationKind::kUnknownCommand, "key slot with wrong marker bytes");
            return;
        }
        const int slot = r[3];
        if (slot < 1 || slot > 10) {
            AddViolation(ViolationKind::kSlotRange, "function slot " + std::to_string(slot));
            return;
        }
        FunctionSlot& s = function_slots_[static_cast<std::size_t>(slot - 1)];
        s.key_code = r[4];
        s.function = r[4] == 0 ? 0 : r[6];
    } else if (command == 0xF1) {
        CheckFamily(false, "macro slot");
        SequenceCheck(false, "macro slot");
        macro_block_ = {};
        std::copy_n(r.begin() + 2, 6, macro_block_.begin());
        StartTransfer(Transfer::kMacroSlotWrite, 28, 28);
        transfer_.done = 1;
    } else if (command == 0xF7) {
        CheckFamily(false, "light setting");
        CheckForm(false, "light setting");
        SequenceCheck(false, "light setting");
        light_b_ = FamilyBLight{false, r[2], r[3], r[4], r[5], r[6], r[7]};
    } else if (command == 0xF0 && r[2] == 0xAA) {
        CheckFamily(false, "reset");
        CheckForm(false, "reset");
        SequenceCheck(false, "reset");
        ResetFamilyB();
        ++resets_;
    } else if (command == 0xFF && r[2] == 0xFF) {
        CheckFamily(true, "light preset");
        SequenceCheck(false, "light preset");
        preset_a_ = FamilyAPreset{r[3], r[4], r[5], r[7]};
    } else if (music) {
        SequenceCheck(false, "music level");
        music_levels_.push_back({r[5], r[6], r[7]});
    } else {
        SequenceCheck(false, "feature report");
        AddViolation(ViolationKind::kUnknownCommand,
                     "unknown feature command " + std::to_string(command));
    }
}

void SimulatedKeyboard::FinishMacroSlotWrite() {
    const bool broken = transfer_.broken;
    transfer_ = {};
    if (broken) {
        return;
    }
    if (macro_block_[0] != 0x01) {
        AddViolation(ViolationKind::kUnknownCommand, "macro slot block without its 01 marker");
        return;
    }
    const int slot = macro_block_[1];
    if (slot < 1 || slot > 13) {
        AddViolation(ViolationKind::kSlotRange, "macro slot " + std::to_string(slot));
        return;
    }
    MacroSlot& s = macro_slots_[static_cast<std::size_t>(slot - 1)];
    s.key_code = macro_block_[2];
    s.play_count = macro_block_[3];
    std::copy_n(macro_block_.begin() + 4, s.steps.size(), s.steps.begin());
}

void SimulatedKeyboard::HandleWrite(int interface_number, std::span<const std::uint8_t> r) {
    const std::uint8_t command = r[1];
    const Role role = RoleOf(interface_number);
    const bool stream_frame = command == 0xF1;
    if (stream_frame ? role != Role::kAux : role != Role::kCommand) {
        AddViolation(ViolationKind::kWrongInterface,
                     stream_frame ? "stream frame off the stream interface"
                                  : "output report off the command interface");
    }
    const bool data64 = command == 0xBB && r[2] == 0xAA && r[3] == 0x99 && r[4] == 0x88;
    if (retry_) {
        CheckPause(milliseconds(data64 ? 32 : 10), "retried output report");
    } else if (command == 0x8D) {
        CheckPause(milliseconds(10), "key map report");
    } else if (command == 0x8E) {
        CheckPause(milliseconds(Offset(r) == 0 ? 10 : 100), "macro report");
    } else if (command == 0x8B || stream_frame) {
        CheckPause(milliseconds(1), "colour report");
    }

    switch (command) {
    case 0x8D:
        CheckFamily(true, "key map");
        HandleChunk(Transfer::kKeyMap, r, 60, key_map_, 4);
        return;
    case 0x8E:
        CheckFamily(true, "macro upload");
        HandleMacroUpload(r);
        return;
    case 0x8B:
        HandleChunk(Transfer::kKeyColours, r, 60, key_colours_, 8);
        return;
    case 0xF1:
        CheckFamily(true, "stream frame");
        if (HandleChunk(Transfer::kStreamFrame, r, 60, stream_frame_, 6)) {
            ++stream_frames_;
        }
        return;
    default:
        break;
    }
    SequenceCheck(false, "output report");
    if (command == 0x88) {
        CheckFamily(true, "light mode");
        light_a_.mode = r[3];
    } else if (command == 0x89) {
        CheckFamily(true, "light parameters");
        light_a_.has_params = true;
        light_a_.direction = (r[3] >> 4) & 0x03;
        light_a_.colorful = (r[3] & 0x40) != 0;
        light_a_.speed = r[3] & 0x0F;
        light_a_.colour = static_cast<std::uint32_t>(r[4] | (r[5] << 8) | (r[6] << 16));
        light_a_.brightness = r[7];
    } else if (command == 0xFF && r[2] == 0xFE && r[3] == 0xAA && r[4] == 0xFF) {
        CheckFamily(true, "factory reset");
        ResetFamilyA();
        ++factory_resets_;
    } else if (command == 0xF0 && r[2] == 0xF4 && r[3] == 0x01) {
        CheckFamily(true, "stream enable");
        stream_enabled_ = true;
    } else if (data64) {
        CheckFamily(false, "data report");
        HandleData64(r);
    } else {
        AddViolation(ViolationKind::kUnknownCommand,
                     "unknown output command " + std::to_string(command));
    }
}

bool SimulatedKeyboard::HandleChunk(Transfer kind, std::span<const std::uint8_t> r,
                                    std::size_t step, std::span<std::uint8_t> table, int chunks) {
    const auto length = static_cast<std::size_t>(r[2]);
    const auto offset = static_cast<std::size_t>(Offset(r));
    const int index = static_cast<int>(offset / step);
    const char* what = TransferName(static_cast<int>(kind));
    if (offset == 0) {
        SequenceCheck(false, what);
        StartTransfer(kind, chunks, chunks);
    } else {
        const bool continues = transfer_.kind == kind && index >= transfer_.done &&
                               (index == transfer_.done || transfer_.lenient);
        SequenceCheck(continues, what);
        if (!continues) {
            AddViolation(ViolationKind::kOutOfSequence, std::string(what) + " chunk at offset " +
                                                            std::to_string(offset) +
                                                            " without its start");
        }
    }
    if (offset % step != 0 || length > step || offset + length > table.size()) {
        AddViolation(ViolationKind::kOffsetRange, std::string(what) + " chunk of " +
                                                      std::to_string(length) + " bytes at " +
                                                      std::to_string(offset));
    }
    if (offset < table.size()) {
        const std::size_t n = std::min({length, step, table.size() - offset});
        std::copy_n(r.begin() + 5, n, table.begin() + static_cast<long>(offset));
    }
    const bool last = index == chunks - 1;
    if (transfer_.kind == kind) {
        transfer_.done = index + 1;
        if (transfer_.done >= transfer_.total) {
            transfer_ = {};
        }
    }
    return last;
}

void SimulatedKeyboard::HandleMacroUpload(std::span<const std::uint8_t> r) {
    constexpr std::size_t kPayload = 59;
    const int length = r[2];
    const auto offset = static_cast<std::size_t>(Offset(r));
    const int number = r[5];
    const int index = static_cast<int>(offset / kPayload);
    if (offset == 0) {
        SequenceCheck(false, "macro upload");
        macros_[number] = FamilyAMacro{};
        // Chunk 0 carries the step count: 3 bytes per step plus a 3-byte head.
        const int total = 3 * (r[7] + 1);
        const int chunks = total / static_cast<int>(kPayload) + 1;
        if (chunks > 1) {
            StartTransfer(Transfer::kMacroUpload, chunks, chunks);
            transfer_.macro_number = number;
            transfer_.done = 1;
        }
    } else {
        const bool continues = transfer_.kind == Transfer::kMacroUpload &&
                               transfer_.macro_number == number && index >= transfer_.done &&
                               (index == transfer_.done || transfer_.lenient);
        SequenceCheck(continues, "macro upload");
        if (!continues) {
            AddViolation(ViolationKind::kOutOfSequence,
                         "macro chunk at offset " + std::to_string(offset) + " without its start");
        }
        if (transfer_.kind == Transfer::kMacroUpload) {
            transfer_.done = index + 1;
            if (transfer_.done >= transfer_.total) {
                transfer_ = {};
            }
        }
    }
    if (offset % kPayload != 0 || length > static_cast<int>(kPayload)) {
        AddViolation(ViolationKind::kOffsetRange, "macro chunk of " + std::to_string(length) +
                                                      " bytes at " + std::to_string(offset));
    }
    FamilyAMacro& macro = macros_[number];
    if (macro.data.size() < offset + kPayload) {
        macro.data.resize(offset + kPayload);
    }
    std::copy_n(r.begin() + 6, kPayload, macro.data.begin() + static_cast<long>(offset));
    macro.declared_length += length;
    ++macro.chunks;
}

void SimulatedKeyboard::HandleData64(std::span<const std::uint8_t> r) {
    const std::span<const std::uint8_t> data = r.subspan(1);
    CheckForm(true, data[4] == 0xAA ? "light setting or reset" : "reset confirmation");
    if (data[4] == 0xAA) {
        if (std::all_of(data.begin() + 5, data.begin() + 10,
                        [](std::uint8_t b) { return b == 0xAA; })) {
            long_reset_requested_ = now_;
            return;
        }
        light_b_ = FamilyBLight{true, data[5], data[6], data[7], data[8], data[9], data[10]};
        return;
    }
    if (std::all_of(data.begin() + 4, data.end(), [](std::uint8_t b) { return b == 0; })) {
        if (!long_reset_requested_) {
            AddViolation(ViolationKind::kOutOfSequence, "reset confirmation without a request");
            return;
        }
        if (now_ - *long_reset_requested_ < milliseconds(1600)) {
            AddViolation(ViolationKind::kPause,
                         "reset confirmed less than 1600 ms after the request");
        }
        long_reset_requested_.reset();
        ResetFamilyB();
        ++resets_;
        return;
    }
    AddViolation(ViolationKind::kUnknownCommand, "unknown data report");
}

} // namespace kovrin
