#pragma once
// Key values inside macros: the one-byte key usage a keyboard plays for a
// recorded virtual-key code, the delay byte of family B macro steps, and the
// fixed key sequences of the built-in shortcuts.

#include <cstdint>
#include <span>

namespace kovrin {

// Virtual-key code as recorded in a macro (and the program's own code 666
// for the key left of Enter on ISO keyboards) to key usage; 0 for a code
// without one.
std::uint8_t KeyUsage(int virtual_key);

// Family B step delay: release (0 press, 1 release) and the delay after the
// step in milliseconds, capped at 31 s, as a range code and a count of its
// units. Never 0.
std::uint8_t DelayByte(int release, int delay_ms);

struct ShortcutStep {
    std::uint8_t usage = 0;
    bool release = false;
    bool operator==(const ShortcutStep&) const = default;
};

// Built-in shortcut 1 to 15: its keys pressed in order and released in
// reverse (four steps, six for 13 and 14). Empty for any other value.
std::span<const ShortcutStep> ShortcutSequence(int value);

} // namespace kovrin
