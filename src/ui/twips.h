#pragma once

namespace markwright::ui {

// The windows' sizes come from a design in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int Twips(int twips) {
  return twips / 15;
}

}  // namespace markwright::ui
