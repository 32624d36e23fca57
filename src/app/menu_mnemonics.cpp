#include "app/menu_mnemonics.h"

#include <cctype>

namespace dlslab::app {
namespace {

bool is_key(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

char key_of(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int choose(std::string_view caption, std::vector<char>& taken) {
  auto free_at = [&](std::size_t i) {
    if (!is_key(caption[i])) return false;
    for (const char t : taken)
      if (t == key_of(caption[i])) return false;
    return true;
  };
  // Word starts first ("Play &game number"), then any letter or digit of the caption.
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < caption.size(); ++i) {
      const bool word_start = i == 0 || !is_key(caption[i - 1]);
      if ((pass == 1 || word_start) && free_at(i)) {
        taken.push_back(key_of(caption[i]));
        return static_cast<int>(i);
      }
    }
  return -1;
}

}  // namespace

std::vector<int> mnemonic_positions(std::span<const std::string_view> captions, std::size_t first) {
  std::vector<int> positions(captions.size(), -1);
  std::vector<char> taken;
  if (first < captions.size()) positions[first] = choose(captions[first], taken);
  for (std::size_t i = 0; i < captions.size(); ++i)
    if (i != first) positions[i] = choose(captions[i], taken);
  return positions;
}

}  // namespace dlslab::app
