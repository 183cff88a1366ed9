#pragma once
// Drawing helpers for the skin images: one dark theme with red accents.

#include <cairo.h>

#include <cstdint>

namespace kovrin::skin {

// Theme colours, 0xRRGGBB.
inline constexpr std::uint32_t kBase = 0x121419;      // window background
inline constexpr std::uint32_t kBaseLow = 0x0B0C10;   // background, far corner
inline constexpr std::uint32_t kPanel = 0x1D2027;     // raised surfaces
inline constexpr std::uint32_t kPanelHigh = 0x2A2E38; // hovered surfaces
inline constexpr std::uint32_t kEdge = 0x363B47;      // outlines
inline constexpr std::uint32_t kRed = 0xE0202F;       // accent
inline constexpr std::uint32_t kRedDark = 0x9E1320;   // pressed accent
inline constexpr std::uint32_t kText = 0xE8E9ED;
inline constexpr std::uint32_t kMuted = 0x6B7080;

// Button-like state cells: normal, hover, pressed, disabled.
enum class State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

void SetRgb(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A vertical gradient between two colours over the rectangle.
void FillGradient(cairo_t* cr, double x, double y, double w, double h, std::uint32_t top,
                  std::uint32_t bottom, double alpha = 1.0);
// A rounded button face of one state in the cell at (x, 0).
void ButtonFace(cairo_t* cr, double x, double w, double h, double radius, State s);

} // namespace kovrin::skin
