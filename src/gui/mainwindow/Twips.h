#pragma once

namespace lockvale {

// The window's positions are kept in twips (1/1440 inch), its layout unit; at the
// reference 96 dots per inch that is 15 twips a pixel, and Qt's high-DPI scaling
// takes it from there.
constexpr int Px(int twips) {
  return (twips + 7) / 15;
}

}  // namespace lockvale
